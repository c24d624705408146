// Sending one local file to the forum server as multipart/form-data.
// The whole file is read into the request body (files above 64 MiB are
// refused before anything is sent), and the server answers with the
// number and address of the stored file.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include <wx/string.h>

// Chooses the endpoint: 1 "/api/file/image", 2 "/api/file/video", anything
// else "/api/file".
enum class UploadKind : int {
    File = 0,
    Image = 1,
    Video = 2,
};

struct UploadResult {
    bool ok = false;      // stored, and the server named a non-zero number
    int32_t fileId = 0;   // "data.id", 0 when none
    wxString url;         // "data.url", may be empty
    wxString message;     // the failure, when !ok
    wxString debugInfo;   // "接口：…\n文件：…\n返回：…" of the last refused attempt
};

// The largest file accepted: exactly 64 MiB goes, one byte more does not.
constexpr uint64_t kMaxUploadBytes = 64ull * 1024 * 1024;

// Bytes of the request body sent so far, of `total`; called on the thread
// that uploads, as the transfer moves.
using UploadProgress = std::function<void(uint64_t sent, uint64_t total)>;

const wchar_t* UploadPath(UploadKind kind);

// "----QuilleryBoundary" followed by the millisecond tick count.
std::string MakeUploadBoundary();

// The whole multipart body for `localPath` with one part named "file".
// On failure returns empty and sets `error` to the local file's problem;
// `fileName` is the last component of the path.
std::string BuildMultipartBody(const std::string& boundary, const wxString& localPath,
                               wxString& fileName, wxString& error);
