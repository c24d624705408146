// The playlist, the albums, what is current and which of them the music
// view shows, with every rule that keeps those indices consistent when
// songs and albums come and go. Plays nothing itself.
#pragma once

#include "music/music_settings.h"
#include "music/music_types.h"

#include <vector>

class MusicLibrary {
public:
    // Replaces the whole library from stored settings: files that vanished
    // or are not audio are dropped, folders become albums (an album without
    // songs is dropped), and a play mode outside 0–4 becomes in order.
    void Rebuild(const MusicSettings& settings) { Rebuild(MusicSettings(settings)); }
    void Rebuild(MusicSettings&& settings);
    // The settings that describe the library now.
    MusicSettings ToSettings() const;

    const std::vector<Song>& Playlist() const { return playlist_; }
    const std::vector<Album>& Albums() const { return albums_; }

    int PlayMode() const { return playMode_; }
    void SetPlayMode(int mode) { playMode_ = IsValidPlayMode(mode) ? mode : PlayInOrder; }
    bool HotkeysEnabled() const { return hotkeysEnabled_; }
    void SetHotkeysEnabled(bool enabled) { hotkeysEnabled_ = enabled; }

    // albumIndex < 0 means the playlist; null when an index is out of range.
    const Song* SongAt(int songIndex, int albumIndex) const;
    // Songs of the playlist (albumIndex < 0) or of an album; -1 for an invalid album.
    int SongCount(int albumIndex) const;

    int CurrentSource() const { return currentSource_; }
    int CurrentSong() const { return currentSong_; }
    // The current album, -1 when the playlist (or nothing) is current: the
    // albumIndex that SongAt and PlaySong take.
    int CurrentAlbum() const { return currentAlbum_; }
    // A song is recorded as current (it may have ended).
    bool HasCurrent() const { return currentSource_ != SourceNone && currentSong_ >= 0; }
    // The current song's record, when the recorded indices are valid.
    const Song* CurrentSongRecord() const;
    bool IsCurrent(int songIndex, int albumIndex) const;
    void SetCurrent(int songIndex, int albumIndex);
    void ClearCurrent();

    // The music view's position: 0 overview, 1 playlist, 2 one album.
    int MusicLevel() const { return musicLevel_; }
    int OpenAlbum() const { return openAlbum_; }
    void ShowOverview() { musicLevel_ = 0; openAlbum_ = -1; }
    void ShowPlaylist() { musicLevel_ = 1; openAlbum_ = -1; }
    bool ShowAlbum(int albumIndex);

    // Appends the supported paths as playlist songs (duplicates too);
    // returns how many were added.
    int AddFiles(const std::vector<wxString>& paths);
    // The album whose folder is folder, letter case ignored unless the two
    // spellings are different folders on disk (SameFolder); -1 if none.
    int FindAlbum(const wxString& folder) const;
    // Replaces the album with the same folder in place, or appends it.
    // Returns its index. The caller stops playback first when it replaces
    // the current album.
    int PutAlbum(Album album);

    // Remove a song or an album and adjust the current song, the current
    // album and the open album. False when an index is out of range. A
    // removed current song is cleared; callers stop the player first.
    bool RemoveSong(int songIndex, int albumIndex);
    bool RemoveAlbum(int albumIndex);

    // Changes whenever songs or albums change (not the current song or the
    // view's position): rows rendered at one revision stay valid but for
    // their markers.
    unsigned Revision() const { return revision_; }

private:
    std::vector<Song> playlist_;
    std::vector<Album> albums_;
    int playMode_ = PlayInOrder;
    bool hotkeysEnabled_ = false;
    int currentSource_ = SourceNone;
    int currentSong_ = -1;
    int currentAlbum_ = -1;
    int musicLevel_ = 0;
    int openAlbum_ = -1;
    unsigned revision_ = 0;
};
