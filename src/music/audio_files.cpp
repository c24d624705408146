#include "music/audio_files.h"

#include <algorithm>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

fs::path ToPath(const wxString& s)
{
    return fs::u8path(s.utf8_string());
}

// The extension after the last dot of the last path component; a leading
// dot (a hidden file such as ".mp3") does not start an extension.
wxString ExtensionOf(const wxString& path)
{
    wxString file = path.AfterLast('/');
    size_t dot = file.rfind('.');
    if (dot == wxString::npos || dot == 0) return wxString();
    return file.substr(dot + 1);
}

}  // namespace

bool IsSupportedAudio(const wxString& path)
{
    static const char* const kExtensions[] = {"mp3", "wav", "flac", "m4a", "aac", "ogg", "wma"};
    wxString ext = ExtensionOf(path).Lower();
    if (ext.empty()) return false;
    return std::any_of(std::begin(kExtensions), std::end(kExtensions),
                       [&](const char* e) { return ext == e; });
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
    wxString file = path.AfterLast('/');
    size_t dot = file.rfind('.');
    if (dot == wxString::npos || dot == 0) return file;
    return file.substr(0, dot);
}

bool AudioFileExists(const wxString& path)
{
    std::error_code ec;
    return !path.empty() && fs::is_regular_file(ToPath(path), ec);
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
    std::error_code ec;
    fs::directory_iterator it(ToPath(folder), ec);
    if (ec || folder.empty()) return scan;
    scan.opened = true;
    wxString prefix = folder.EndsWith("/") ? folder : folder + "/";
    for (; it != fs::directory_iterator(); it.increment(ec)) {
        if (ec) break;
        std::error_code typeError;
        if (!it->is_regular_file(typeError)) continue;
        std::string fileName = it->path().filename().string();
        if (fileName.empty() || fileName[0] == '.') continue;
        wxString name = wxString::FromUTF8(fileName);
        if (name.empty()) continue;  // not valid UTF-8: cannot be shown or stored
        wxString path = prefix + name;
        if (!IsSupportedAudio(path)) continue;
        scan.album.songs.push_back(Song{path, SongNameOf(path), scan.album.name});
    }
    std::sort(scan.album.songs.begin(), scan.album.songs.end(),
                     [](const Song& a, const Song& b) {
                         int c = a.name.CmpNoCase(b.name);
                         return c != 0 ? c < 0 : a.path < b.path;  // a stable order for equal names
                     });
    return scan;
}
