#include "api/upload.h"

#include <chrono>

#include <wx/filename.h>

#include "api/body_encoding.h"
#include "platform/input_file.h"

namespace {

// A file name that holds `"`, CR or LF (Linux allows all three) would end
// the filename parameter or the header line early and let the name forge
// headers of the part; browsers write those three as %-escapes, and so do
// we. Every other byte goes as it is.
std::string FilenameParameter(const std::string& name)
{
    std::string out;
    out.reserve(name.size());
    for (char c : name) {
        if (c == '"') {
            out += "%22";
        } else if (c == '\r') {
            out += "%0D";
        } else if (c == '\n') {
            out += "%0A";
        } else {
            out += c;
        }
    }
    return out;
}

}  // namespace

const wchar_t* UploadPath(UploadKind kind)
{
    switch (kind) {
    case UploadKind::Image: return L"/api/file/image";
    case UploadKind::Video: return L"/api/file/video";
    case UploadKind::File: break;
    }
    return L"/api/file";
}

std::string MakeUploadBoundary()
{
    // The monotonic millisecond count (time since boot), as the tick count
    // of other systems.
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now().time_since_epoch());
    return "----QuilleryBoundary" + std::to_string(static_cast<unsigned long long>(ms.count()));
}

std::string BuildMultipartBody(const std::string& boundary, const wxString& localPath,
                               wxString& fileName, wxString& error)
{
    error.clear();
    fileName = wxFileName(localPath).GetFullName();
    platform::InputFile file{std::string(localPath.fn_str())};
    if (!file.IsOpen()) {
        error = wxS("打开文件失败。");
        return {};
    }
    const int64_t length = file.Length();
    if (length < 0) {
        error = wxS("读取文件长度失败。");
        return {};
    }
    if (static_cast<uint64_t>(length) > kMaxUploadBytes) {
        error = wxS("当前版本暂不支持上传超过 64MB 的单个文件。");
        return {};
    }
    const std::string head = "--" + boundary + "\r\n" +
                             "Content-Disposition: form-data; name=\"file\"; filename=\"" +
                             FilenameParameter(ToUtf8(fileName)) + "\"\r\n" +
                             "Content-Type: application/octet-stream\r\n\r\n";
    const std::string tail = "\r\n--" + boundary + "--\r\n";
    const size_t size = static_cast<size_t>(length);

    // The file is read straight into its place in the body: one copy of it
    // in memory, never two.
    std::string body;
    body.reserve(head.size() + size + tail.size());
    body.append(head);
    body.resize(head.size() + size);
    if (file.ReadFully(body.data() + head.size(), size) != size) {
        error = wxS("读取文件内容失败。");
        return {};
    }
    body.append(tail);
    return body;
}
