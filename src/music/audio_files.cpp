#include "music/audio_files.h"

#include "music/folder_listing.h"

#include <wx/strconv.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <cwctype>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

fs::path ToPath(const wxString& s)
{
    return fs::u8path(s.utf8_string());
}

// Whether the extension after the last dot of a file name is one of ours,
// in any letter case; a leading dot (a hidden file such as ".mp3") does not
// start an extension. Only ASCII letters can case-fold into these
// extensions, so a plain ASCII fold decides without asking the locale.
template <typename Char>
bool SupportedName(const Char* name, size_t length)
{
    size_t dot = length;
    while (dot > 0 && name[dot - 1] != Char('.')) --dot;
    if (dot <= 1) return false;  // no dot, or only the leading one
    size_t n = length - dot;
    if (n < 3 || n > 4) return false;
    char ext[5] = {};
    for (size_t i = 0; i < n; ++i) {
        auto c = name[dot + i];
        if (c >= Char('A') && c <= Char('Z')) c = static_cast<Char>(c - 'A' + 'a');
        if (c < Char('a') || c > Char('z')) {
            if (c < Char('0') || c > Char('9')) return false;
        }
        ext[i] = static_cast<char>(c);
    }
    static const char* const kExtensions[] = {"mp3", "wav", "flac", "m4a", "aac", "ogg", "wma"};
    for (const char* e : kExtensions) {
        if (std::strcmp(ext, e) == 0) return true;
    }
    return false;
}

// Case-folded sort keys, computed once per song rather than once per
// comparison; they order exactly as wxString::CmpNoCase does.
class FoldKeys {
public:
    FoldKeys()
    {
        for (wint_t c = 0; c < 128; ++c) ascii_[c] = static_cast<wchar_t>(std::towlower(c));
    }
    void Append(const wxString& s, std::wstring& out) const
    {
        const wxStringCharType* wide = s.wx_str();
        for (size_t i = 0, n = s.length(); i < n; ++i) {
            wchar_t c = wide[i];
            out.push_back(static_cast<unsigned>(c) < 128 ? ascii_[c] : static_cast<wchar_t>(std::towlower(c)));
        }
    }

private:
    wchar_t ascii_[128];
};

// Appends s in UTF-8; false for text that has no UTF-8 form (what
// wxString::utf8_string turns into an empty string).
bool AppendUtf8(const wxString& s, std::string& out)
{
    const wxStringCharType* wide = s.wx_str();
    for (size_t i = 0, n = s.length(); i < n; ++i) {
        auto c = static_cast<uint32_t>(wide[i]);
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
        } else if (c < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (c >> 6)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else if (c < 0x10000) {
            if (c >= 0xD800 && c <= 0xDFFF) return false;
            out.push_back(static_cast<char>(0xE0 | (c >> 12)));
            out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else if (c <= 0x10FFFF) {
            out.push_back(static_cast<char>(0xF0 | (c >> 18)));
            out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else {
            return false;
        }
    }
    return true;
}

}  // namespace

bool IsSupportedAudio(const wxString& path)
{
    const wxStringCharType* data = path.wx_str();
    size_t length = path.length();
    size_t start = length;
    while (start > 0 && data[start - 1] != '/') --start;
    return SupportedName(data + start, length - start);
}

wxString AlbumNameOf(const wxString& folder)
{
    wxString trimmed = folder;
    while (trimmed.length() > 1 && trimmed.EndsWith("/")) trimmed.RemoveLast();
    wxString last = trimmed.AfterLast('/');
    return last.empty() ? folder : last;
}

wxString SongNameOf(const wxString& path)
{
    const wxStringCharType* data = path.wx_str();
    size_t end = path.length();
    size_t start = end;
    while (start > 0 && data[start - 1] != '/') --start;
    size_t dot = end;
    while (dot > start && data[dot - 1] != '.') --dot;
    // dot is one past the last dot; a dot that opens the name starts no extension
    if (dot > start + 1) end = dot - 1;
    return wxString(data + start, end - start);
}

bool AudioFileExists(const wxString& path)
{
    std::error_code ec;
    return !path.empty() && fs::is_regular_file(ToPath(path), ec);
}

std::vector<bool> AudioFilesExist(const std::vector<wxString>& paths)
{
    // Every path in UTF-8 in one buffer; a path that has no UTF-8 form
    // stays empty and so names no file.
    size_t total = 0;
    for (const wxString& path : paths) total += path.length() * 4;
    std::string utf8;
    utf8.reserve(total);
    std::vector<std::pair<size_t, size_t>> spans;
    spans.reserve(paths.size());
    for (const wxString& path : paths) {
        size_t start = utf8.size();
        if (!AppendUtf8(path, utf8)) utf8.resize(start);
        spans.emplace_back(start, utf8.size() - start);
    }
    std::vector<std::string_view> views;
    views.reserve(paths.size());
    for (auto [start, length] : spans) views.emplace_back(utf8.data() + start, length);
    return RegularFilesExist(views);
}

void SortSongs(std::vector<Song>& songs)
{
    // All keys in one buffer: no allocation per song.
    FoldKeys fold;
    size_t total = 0;
    for (const Song& song : songs) total += song.name.length();
    std::wstring keys;
    keys.reserve(total);
    std::vector<std::wstring_view> key(songs.size());
    for (const Song& song : songs) fold.Append(song.name, keys);
    size_t at = 0;
    for (size_t i = 0; i < songs.size(); ++i) {
        key[i] = std::wstring_view(keys.data() + at, songs[i].name.length());
        at += songs[i].name.length();
    }
    std::vector<size_t> order(songs.size());
    for (size_t i = 0; i < order.size(); ++i) order[i] = i;
    std::sort(order.begin(), order.end(), [&](size_t a, size_t b) {
        int c = key[a].compare(key[b]);
        return c != 0 ? c < 0 : songs[a].path < songs[b].path;  // a stable order for equal names
    });
    // Swapped, not moved: the toolkit's strings would copy on a move.
    std::vector<Song> sorted(songs.size());
    for (size_t i = 0; i < order.size(); ++i) {
        Song& from = songs[order[i]];
        sorted[i].path.swap(from.path);
        sorted[i].name.swap(from.name);
        sorted[i].source.swap(from.source);
    }
    songs.swap(sorted);
}

bool SameFolder(const wxString& a, const wxString& b)
{
    if (a == b) return true;
    if (a.CmpNoCase(b) != 0) return false;
    std::error_code ec;
    fs::path pa = ToPath(a);
    fs::path pb = ToPath(b);
    if (!fs::is_directory(pa, ec) || !fs::is_directory(pb, ec)) return true;
    bool same = fs::equivalent(pa, pb, ec);
    return same && !ec;
}

AlbumScan ScanAlbumFolder(const wxString& folder)
{
    AlbumScan scan;
    scan.album.folder = folder;
    scan.album.name = AlbumNameOf(folder);
    if (folder.empty()) return scan;
    wxString prefix = folder.EndsWith("/") ? folder : folder + "/";
    wxMBConvUTF8 utf8;  // what wxString::FromUTF8 decodes with
    std::vector<wchar_t> wide;
    // The names first, all in one buffer, so the songs are made once in a
    // vector of the right size: growing it would copy every song's texts.
    std::wstring names;
    struct Span {
        size_t start, length, nameLength;
    };
    std::vector<Span> spans;
    scan.opened = ListFolder(folder.utf8_string(), [&](const FolderEntry& entry) {
        std::string_view fileName = entry.name;
        if (fileName[0] == '.') return;
        if (!SupportedName(fileName.data(), fileName.size()) || !entry.IsRegularFile()) return;
        if (wide.size() <= fileName.size()) wide.resize(fileName.size() + 1);
        size_t n = 0;
        for (unsigned char c : fileName) {
            if (c >= 0x80) break;
            wide[n++] = c;
        }
        if (n < fileName.size()) {  // not plain ASCII: let wx decode and validate it
            n = utf8.ToWChar(wide.data(), wide.size(), fileName.data(), fileName.size());
            if (n == wxCONV_FAILED || n == 0) return;  // not valid UTF-8: cannot be shown or stored
        }
        size_t dot = n;
        while (wide[dot - 1] != L'.') --dot;  // a supported name has an extension
        spans.push_back(Span{names.size(), n, dot - 1});
        names.append(wide.data(), n);
    });
    std::vector<Song>& songs = scan.album.songs;
    songs.resize(spans.size());
    for (size_t i = 0; i < spans.size(); ++i) {
        const wchar_t* name = names.data() + spans[i].start;
        Song& song = songs[i];
        song.path.reserve(prefix.length() + spans[i].length);
        song.path.append(prefix).append(name, spans[i].length);
        song.name.assign(name, spans[i].nameLength);
        song.source = scan.album.name;
    }
    SortSongs(songs);
    return scan;
}
