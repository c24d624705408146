#include "account/settings_file.h"

#include "account/settings_merge.h"

#include <wx/convauto.h>
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

// UTF-16 with an unpaired surrogate decodes to a code point that UTF-8
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

std::unique_ptr<wxFileConfig> ConfigFromBytes(const std::string& bytes)
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
