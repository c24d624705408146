#include "account/settings_file.h"

#include <wx/fileconf.h>
#include <wx/mstream.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace fs = std::filesystem;

namespace {

std::unique_ptr<wxFileConfig> ConfigFromBytes(const std::string& bytes)
{
    // Decode the whole file at once (UTF-8, or UTF-16/32 with a byte-order
    // mark): the stream reader converts piecewise and fails on UTF-16.
    wxString text(bytes.data(), wxConvAuto(), bytes.size());
    if (text.empty() && !bytes.empty()) text = wxString(bytes.data(), wxConvISO8859_1, bytes.size());
    std::string utf8 = text.utf8_string();
    wxMemoryInputStream in(utf8.data(), utf8.size());
    auto config = std::make_unique<wxFileConfig>(in, wxConvUTF8);
    // Stored texts are data, not templates: a password such as "a$HOME"
    // must come back exactly as it was typed.
    config->SetExpandEnvVars(false);
    return config;
}

bool ReadWholeFile(const fs::path& path, std::string& bytes)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
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

}  // namespace

SettingsFile::SettingsFile(wxString path, std::unique_ptr<wxFileConfig> config, bool writable)
    : path_(std::move(path)), config_(std::move(config)), writable_(writable)
{
}

SettingsFile::SettingsFile(SettingsFile&&) noexcept = default;
SettingsFile& SettingsFile::operator=(SettingsFile&&) noexcept = default;
SettingsFile::~SettingsFile() = default;

SettingsFile SettingsFile::Open(const wxString& path)
{
    fs::path p = fs::u8path(path.utf8_string());
    std::error_code ec;
    bool exists = fs::exists(p, ec);
    std::string bytes;
    bool writable = true;
    if (exists && !ReadWholeFile(p, bytes)) {
        bytes.clear();
        writable = false;
    }
    if (ec) writable = false;
    return SettingsFile(path, ConfigFromBytes(bytes), writable);
}

std::string SettingsFile::Serialize() const
{
    wxMemoryOutputStream out;
    config_->Save(out, wxConvUTF8);
    std::string bytes(out.GetLength(), '\0');
    if (!bytes.empty()) out.CopyTo(bytes.data(), bytes.size());
    return bytes;
}

bool SettingsFile::Save() const
{
    if (!writable_ || path_.empty()) return false;
    return ReplaceFileAtomically(path_, Serialize());
}

bool ReplaceFileAtomically(const wxString& path, const std::string& bytes)
{
    std::string target = path.utf8_string();
    std::string temp = target + ".XXXXXX";
    int fd = ::mkstemp(temp.data());  // creates the file with mode 0600
    if (fd < 0) return false;
    bool ok = ::fchmod(fd, S_IRUSR | S_IWUSR) == 0 && WriteAll(fd, bytes) && ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    if (ok) ok = std::rename(temp.c_str(), target.c_str()) == 0;
    if (!ok) ::unlink(temp.c_str());
    return ok;
}
