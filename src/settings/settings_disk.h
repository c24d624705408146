// settings.ini on disk: which file version is there, its bytes, the
// document they parse to, and the atomic replacement of the whole file.
#pragma once

#include <wx/string.h>

#include <cstdint>
#include <memory>
#include <string>

class wxFileConfig;

// What one stat() tells about the file at a path. Two equal stamps of an
// existing file name the same version of it unless it was rewritten in
// place, to the same size, within the file system's timestamp tick; see
// SettingsFileVersion for how that case is caught.
struct FileStamp {
    enum class State { Unknown, Missing, Present };
    State state = State::Unknown;  // Unknown: stat() failed other than "no such file"
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::int64_t size = 0;
    std::int64_t modifiedNs = 0;
    std::int64_t changedNs = 0;

    static FileStamp Of(const wxString& path);
    static FileStamp OfDescriptor(int fd);
    bool operator==(const FileStamp& other) const;
    bool operator!=(const FileStamp& other) const { return !(*this == other); }
};

// A version of the file as this process last read or wrote it.
struct SettingsFileVersion {
    FileStamp stamp;
    std::uint64_t hash = 0;  // of the bytes
    // The file was read or written so soon after its last change that an
    // in-place rewrite could keep the same stamp: until that is past, a
    // matching stamp is confirmed by the file's bytes.
    bool recent = false;

    // Whether the file at path still holds this version. A recent version
    // is compared byte for byte (through their hash) and stops being recent
    // once its stamp is old enough.
    bool StillOnDisk(const wxString& path);
};

// Reads the file at path. False when it exists but cannot be read; a
// missing file gives true with no bytes and a Missing stamp.
bool ReadSettingsBytes(const wxString& path, std::string& bytes, SettingsFileVersion& version);

std::uint64_t HashSettingsBytes(const std::string& bytes);

// The document the bytes hold (UTF-8, or UTF-16/32 with a byte-order mark),
// each repeated group and key merged as the toolkit reads it.
std::unique_ptr<wxFileConfig> ParseSettings(const std::string& bytes);

// The document's text as it is written (UTF-8).
std::string SerializeSettings(wxFileConfig& config);

// Replaces path with bytes through a temporary file in the same folder
// (mode 0600, flushed to disk before the rename). False when any step fails;
// the previous file is then untouched and no temporary file is left.
bool ReplaceFileAtomically(const wxString& path, const std::string& bytes);
// The same, telling the new file's version.
bool ReplaceFileAtomically(const wxString& path, const std::string& bytes, SettingsFileVersion& version);
