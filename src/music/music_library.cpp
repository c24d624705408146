#include "music/music_library.h"

#include "music/audio_files.h"

namespace {

bool InRange(int index, size_t size)
{
    return index >= 0 && static_cast<size_t>(index) < size;
}

}  // namespace

void MusicLibrary::Rebuild(MusicSettings&& settings)
{
    ++revision_;
    hotkeysEnabled_ = settings.globalHotkeysEnabled;
    SetPlayMode(settings.playMode);
    playlist_.clear();
    albums_.clear();
    ClearCurrent();
    ShowOverview();
    std::vector<wxString>& paths = settings.playlistPaths;
    std::vector<bool> exists = AudioFilesExist(paths);
    const wxString source = PlaylistSourceText();
    // The toolkit's strings have no move constructor: a std::move above
    // would copy every text, so the texts are swapped into place.
    playlist_.reserve(paths.size());
    for (size_t i = 0; i < paths.size(); ++i) {
        if (!exists[i] || !IsSupportedAudio(paths[i])) continue;
        wxString name = SongNameOf(paths[i]);
        Song& song = playlist_.emplace_back();
        song.path.swap(paths[i]);
        song.name.swap(name);
        song.source = source;
    }
    albums_.reserve(settings.albumFolders.size());
    for (const wxString& folder : settings.albumFolders) {
        AlbumScan scan = ScanAlbumFolder(folder);
        if (!scan.opened || scan.album.songs.empty()) continue;
        Album& album = albums_.emplace_back();
        album.name.swap(scan.album.name);
        album.folder.swap(scan.album.folder);
        album.songs.swap(scan.album.songs);
    }
}

MusicSettings MusicLibrary::ToSettings() const
{
    MusicSettings settings;
    settings.globalHotkeysEnabled = hotkeysEnabled_;
    settings.playMode = playMode_;
    settings.playlistPaths.reserve(playlist_.size());
    for (const Song& song : playlist_) settings.playlistPaths.push_back(song.path);
    settings.albumFolders.reserve(albums_.size());
    for (const Album& album : albums_) settings.albumFolders.push_back(album.folder);
    return settings;
}

const Song* MusicLibrary::SongAt(int songIndex, int albumIndex) const
{
    if (albumIndex < 0) return InRange(songIndex, playlist_.size()) ? &playlist_[songIndex] : nullptr;
    if (!InRange(albumIndex, albums_.size())) return nullptr;
    const auto& songs = albums_[albumIndex].songs;
    return InRange(songIndex, songs.size()) ? &songs[songIndex] : nullptr;
}

int MusicLibrary::SongCount(int albumIndex) const
{
    if (albumIndex < 0) return static_cast<int>(playlist_.size());
    if (!InRange(albumIndex, albums_.size())) return -1;
    return static_cast<int>(albums_[albumIndex].songs.size());
}

const Song* MusicLibrary::CurrentSongRecord() const
{
    return currentSource_ == SourceNone ? nullptr : SongAt(currentSong_, currentAlbum_);
}

bool MusicLibrary::IsCurrent(int songIndex, int albumIndex) const
{
    if (!HasCurrent() || songIndex != currentSong_) return false;
    if (albumIndex < 0) return currentSource_ == SourcePlaylist;
    return currentSource_ == SourceAlbum && currentAlbum_ == albumIndex;
}

void MusicLibrary::SetCurrent(int songIndex, int albumIndex)
{
    currentSong_ = songIndex;
    currentSource_ = albumIndex < 0 ? SourcePlaylist : SourceAlbum;
    currentAlbum_ = albumIndex < 0 ? -1 : albumIndex;
}

void MusicLibrary::ClearCurrent()
{
    currentSource_ = SourceNone;
    currentSong_ = -1;
    currentAlbum_ = -1;
}

bool MusicLibrary::ShowAlbum(int albumIndex)
{
    if (!InRange(albumIndex, albums_.size())) return false;
    musicLevel_ = 2;
    openAlbum_ = albumIndex;
    return true;
}

int MusicLibrary::AddFiles(const std::vector<wxString>& paths)
{
    int added = 0;
    for (const wxString& path : paths) {
        if (!IsSupportedAudio(path)) continue;
        playlist_.push_back(Song{path, SongNameOf(path), PlaylistSourceText()});
        ++added;
    }
    if (added > 0) ++revision_;
    return added;
}

int MusicLibrary::FindAlbum(const wxString& folder) const
{
    // The exact spelling first, so a folder whose other-case twin is also
    // an album replaces its own entry.
    for (size_t i = 0; i < albums_.size(); ++i) {
        if (albums_[i].folder == folder) return static_cast<int>(i);
    }
    for (size_t i = 0; i < albums_.size(); ++i) {
        if (SameFolder(albums_[i].folder, folder)) return static_cast<int>(i);
    }
    return -1;
}

int MusicLibrary::PutAlbum(Album album)
{
    ++revision_;
    int index = FindAlbum(album.folder);
    if (index < 0) {
        albums_.push_back(std::move(album));
        return static_cast<int>(albums_.size()) - 1;
    }
    if (currentSource_ == SourceAlbum && currentAlbum_ == index) ClearCurrent();
    albums_[index] = std::move(album);
    return index;
}

bool MusicLibrary::RemoveSong(int songIndex, int albumIndex)
{
    if (albumIndex < 0) {
        if (!InRange(songIndex, playlist_.size())) return false;
        if (currentSource_ == SourcePlaylist) {
            if (songIndex == currentSong_) ClearCurrent();
            else if (songIndex < currentSong_) --currentSong_;
        }
        playlist_.erase(playlist_.begin() + songIndex);
        ++revision_;
        return true;
    }
    if (!InRange(albumIndex, albums_.size())) return false;
    auto& songs = albums_[albumIndex].songs;
    if (!InRange(songIndex, songs.size())) return false;
    if (currentSource_ == SourceAlbum && currentAlbum_ == albumIndex) {
        if (songIndex == currentSong_) ClearCurrent();
        else if (songIndex < currentSong_) --currentSong_;
    }
    songs.erase(songs.begin() + songIndex);
    ++revision_;
    if (songs.empty()) RemoveAlbum(albumIndex);
    return true;
}

bool MusicLibrary::RemoveAlbum(int albumIndex)
{
    if (!InRange(albumIndex, albums_.size())) return false;
    if (currentSource_ == SourceAlbum) {
        if (albumIndex == currentAlbum_) ClearCurrent();
        else if (albumIndex < currentAlbum_) --currentAlbum_;
    }
    if (albumIndex == openAlbum_) ShowOverview();
    else if (albumIndex < openAlbum_) --openAlbum_;
    albums_.erase(albums_.begin() + albumIndex);
    ++revision_;
    return true;
}
