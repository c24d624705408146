#include "settings/settings_disk.h"

#include "settings/settings_merge.h"

#include <wx/convauto.h>
#include <wx/fileconf.h>
#include <wx/mstream.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <ctime>
#include <functional>
#include <string_view>

namespace {

// A change this close to "now" may share its timestamp with a later one:
// file systems stamp times from a clock that ticks in milliseconds (and
// some in seconds), and another machine's clock may run ahead.
constexpr std::int64_t kRecentNs = 3'000'000'000;

std::int64_t Nanoseconds(const timespec& t)
{
    return static_cast<std::int64_t>(t.tv_sec) * 1'000'000'000 + t.tv_nsec;
}

FileStamp FromStat(const struct stat& st)
{
    FileStamp stamp;
    stamp.state = FileStamp::State::Present;
    stamp.device = st.st_dev;
    stamp.inode = st.st_ino;
    stamp.size = st.st_size;
    stamp.modifiedNs = Nanoseconds(st.st_mtim);
    stamp.changedNs = Nanoseconds(st.st_ctim);
    return stamp;
}

bool IsRecent(const FileStamp& stamp)
{
    if (stamp.state != FileStamp::State::Present) return false;
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    std::int64_t latest = std::max(stamp.modifiedNs, stamp.changedNs);
    return Nanoseconds(now) - latest < kRecentNs;
}

// UTF-8 line by line: a stray byte (another editor, a cut-off write) makes
// only its own line fall back to Latin-1. Decoding the whole file as Latin-1
// instead would turn every Chinese path and password into other text, and
// the next save would write that back for good.
wxString DecodeUtf8Lines(const std::string& bytes)
{
    wxString whole = wxString::FromUTF8(bytes.data(), bytes.size());
    if (!whole.empty() || bytes.empty()) return whole;
    wxString text;
    for (size_t start = 0; start < bytes.size();) {
        size_t newline = bytes.find('\n', start);
        size_t end = newline == std::string::npos ? bytes.size() : newline + 1;
        wxString line = wxString::FromUTF8(bytes.data() + start, end - start);
        if (line.empty()) line = wxString(bytes.data() + start, wxConvISO8859_1, end - start);
        text += line;
        start = end;
    }
    return text;
}

bool WriteAll(int fd, const std::string& bytes)
{
    size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        done += static_cast<size_t>(n);
    }
    return true;
}

bool ReadAll(int fd, std::string& bytes)
{
    char buffer[65536];
    for (;;) {
        ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (n == 0) return true;
        bytes.append(buffer, static_cast<size_t>(n));
    }
}

// UTF-16 with a broken surrogate pair decodes to a code point that UTF-8
// cannot hold: converting it for the reader would fail the toolkit's
// assertion and give an empty document, which the next save would write
// over the whole file.
wxString WithValidCodePoints(wxString text)
{
    for (size_t i = 0; i < text.length(); ++i) {
        const wxUint32 c = text[i].GetValue();
        if ((c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF) text[i] = wxUniChar(0xFFFD);
    }
    return text;
}

}  // namespace

FileStamp FileStamp::Of(const wxString& path)
{
    struct stat st {};
    if (::stat(path.utf8_str(), &st) == 0) return FromStat(st);
    FileStamp stamp;
    if (errno == ENOENT || errno == ENOTDIR) stamp.state = State::Missing;
    return stamp;
}

FileStamp FileStamp::OfDescriptor(int fd)
{
    struct stat st {};
    if (::fstat(fd, &st) == 0) return FromStat(st);
    return FileStamp();
}

bool FileStamp::operator==(const FileStamp& other) const
{
    // An unknown state equals nothing: such a file is always read again.
    if (state == State::Unknown || state != other.state) return false;
    if (state == State::Missing) return true;
    return device == other.device && inode == other.inode && size == other.size &&
           modifiedNs == other.modifiedNs && changedNs == other.changedNs;
}

bool SettingsFileVersion::StillOnDisk(const wxString& path)
{
    if (FileStamp::Of(path) != stamp) return false;
    if (!recent) return true;
    std::string bytes;
    SettingsFileVersion now;
    if (!ReadSettingsBytes(path, bytes, now) || now.stamp != stamp || now.hash != hash) return false;
    recent = now.recent;
    return true;
}

bool ReadSettingsBytes(const wxString& path, std::string& bytes, SettingsFileVersion& version)
{
    bytes.clear();
    version = SettingsFileVersion();
    int fd = ::open(path.utf8_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        if (errno != ENOENT && errno != ENOTDIR) return false;
        version.stamp.state = FileStamp::State::Missing;
        version.hash = HashSettingsBytes(bytes);
        return true;
    }
    // The stamp is taken before the read: a change made while reading gives
    // the file a newer stamp, so the next look reads it again.
    version.stamp = FileStamp::OfDescriptor(fd);
    bool ok = version.stamp.state == FileStamp::State::Present && ReadAll(fd, bytes);
    ::close(fd);
    if (!ok) {
        bytes.clear();
        version = SettingsFileVersion();
        return false;
    }
    version.hash = HashSettingsBytes(bytes);
    version.recent = IsRecent(version.stamp);
    return true;
}

std::uint64_t HashSettingsBytes(const std::string& bytes)
{
    return std::hash<std::string_view>()(std::string_view(bytes));
}

std::unique_ptr<wxFileConfig> ParseSettings(const std::string& bytes)
{
    // Decode the whole file at once (UTF-8, or UTF-16/32 with a byte-order
    // mark): the stream reader converts piecewise and fails on UTF-16.
    wxString text;
    wxBOM bom = wxConvAuto::DetectBOM(bytes.data(), bytes.size());
    if (bom == wxBOM_UTF8) {
        text = DecodeUtf8Lines(bytes.substr(3));
    } else if (bom != wxBOM_None && bom != wxBOM_Unknown) {
        text = WithValidCodePoints(wxString(bytes.data(), wxConvAuto(), bytes.size()));
    }
    if (text.empty()) text = DecodeUtf8Lines(bytes);
    std::string utf8 = MergeRepeatedSettings(text).utf8_string();
    wxMemoryInputStream in(utf8.data(), utf8.size());
    auto config = std::make_unique<wxFileConfig>(in, wxConvUTF8);
    // Stored texts are data, not templates: a password such as "a$HOME"
    // must come back exactly as it was typed.
    config->SetExpandEnvVars(false);
    return config;
}

std::string SerializeSettings(wxFileConfig& config)
{
    wxMemoryOutputStream out;
    config.Save(out, wxConvUTF8);
    std::string bytes(out.GetLength(), '\0');
    if (!bytes.empty()) out.CopyTo(bytes.data(), bytes.size());
    return bytes;
}

bool ReplaceFileAtomically(const wxString& path, const std::string& bytes)
{
    SettingsFileVersion ignored;
    return ReplaceFileAtomically(path, bytes, ignored);
}

bool ReplaceFileAtomically(const wxString& path, const std::string& bytes, SettingsFileVersion& version)
{
    std::string target = path.utf8_string();
    std::string temp = target + ".XXXXXX";
    int fd = ::mkstemp(temp.data());  // creates the file with mode 0600
    if (fd < 0) return false;
    bool written = ::fchmod(fd, S_IRUSR | S_IWUSR) == 0 && WriteAll(fd, bytes) && ::fsync(fd) == 0;
    bool renamed = written && std::rename(temp.c_str(), target.c_str()) == 0;
    // Stamped after the rename, which changes the file's status time.
    if (renamed) version.stamp = FileStamp::OfDescriptor(fd);
    bool closed = ::close(fd) == 0;
    if (!renamed) ::unlink(temp.c_str());
    if (!renamed || !closed) return false;
    version.hash = HashSettingsBytes(bytes);
    version.recent = true;
    return true;
}
