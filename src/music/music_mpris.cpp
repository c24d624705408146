#include "music/music_mpris.h"

#include "music/audio_files.h"
#include "music/music_commands.h"

#include <wx/filename.h>
#include <wx/filesys.h>

#include <cmath>

namespace {

int64_t ToUs(double seconds) {
    if (!std::isfinite(seconds) || seconds <= 0) return 0;
    if (seconds > 9.0e12) return INT64_MAX;  // a broken length, not a real song
    return static_cast<int64_t>(seconds * 1e6);
}

}  // namespace

MusicMpris::MusicMpris(MusicController& controller, const MusicLibrary& library, MusicPlayback& player,
                       WindowActions window)
    : controller_(controller), library_(library), player_(player), window_(std::move(window)) {}

std::string MusicMpris::TrackId(int songIndex, int albumIndex) {
    std::string id = "/org/chengchuan/quillery/";
    if (albumIndex < 0) return id + "playlist/" + std::to_string(songIndex);
    return id + "album/" + std::to_string(albumIndex) + "/" + std::to_string(songIndex);
}

bool MusicMpris::HasSong() const { return library_.CurrentSongRecord() != nullptr && player_.HasMedia(); }

bool MusicMpris::LibraryHasSongs() const {
    if (!library_.Playlist().empty()) return true;
    for (const Album& album : library_.Albums()) {
        if (!album.songs.empty()) return true;
    }
    return false;
}

// Whether a step would find a song, by the same play-mode rules the
// hotkeys follow (random and the repeating modes always find one).
bool MusicMpris::CanStep(int direction) const {
    if (!library_.HasCurrent()) return LibraryHasSongs();
    int count = library_.SongCount(library_.CurrentAlbum());
    if (count < 1) return false;
    int current = library_.CurrentSong();
    switch (library_.PlayMode()) {
    case PlayInOrder: return current + direction >= 0 && current + direction < count;
    case PlayReverse: return current - direction >= 0 && current - direction < count;
    default: return true;
    }
}

platform::MprisState MusicMpris::State() {
    platform::MprisState state;
    const Song* song = library_.CurrentSongRecord();
    bool loaded = song && player_.HasMedia();
    if (loaded) state.playbackStatus = player_.IsPlaying() ? "Playing" : player_.IsPaused() ? "Paused" : "Stopped";
    switch (library_.PlayMode()) {
    case PlayRepeatOne: state.loopStatus = "Track"; break;
    case PlayRepeatList: state.loopStatus = "Playlist"; break;
    default: state.loopStatus = "None"; break;
    }
    state.shuffle = library_.PlayMode() == PlayRandom;
    state.volume = player_.GetVolume();
    if (song) {
        platform::MprisTrack track;
        track.id = TrackId(library_.CurrentSong(), library_.CurrentAlbum());
        track.title = song->name.utf8_string();
        if (library_.CurrentAlbum() >= 0) track.album = library_.Albums()[library_.CurrentAlbum()].name.utf8_string();
        track.url = wxFileSystem::FileNameToURL(wxFileName(song->path)).utf8_string();
        if (loaded) track.lengthUs = ToUs(player_.GetLength());
        state.track = std::move(track);
    }
    state.canGoNext = CanStep(1);
    state.canGoPrevious = CanStep(-1);
    state.canPlay = loaded || LibraryHasSongs();
    state.canPause = loaded;
    state.canSeek = loaded && player_.GetLength() > 0;
    return state;
}

int64_t MusicMpris::PositionUs() { return HasSong() ? ToUs(player_.GetPosition()) : 0; }

void MusicMpris::Play() {
    if (!HasSong()) {
        // Nothing loaded: start where the next-song key would.
        controller_.Execute(MusicCommand::NextSong, CommandOrigin::Hotkey);
        return;
    }
    // Paused resumes, stopped or ended plays from the start.
    if (!player_.IsPlaying()) controller_.Execute(MusicCommand::PauseOrResume, CommandOrigin::Hotkey);
}

void MusicMpris::Pause() {
    if (HasSong() && player_.IsPlaying()) controller_.Execute(MusicCommand::PauseOrResume, CommandOrigin::Hotkey);
}

void MusicMpris::PlayPause() {
    if (HasSong() && player_.IsPlaying()) Pause();
    else Play();
}

void MusicMpris::Stop() {
    if (library_.HasCurrent()) controller_.StopPlayback();
}

void MusicMpris::Next() { controller_.Execute(MusicCommand::NextSong, CommandOrigin::Hotkey); }

void MusicMpris::Previous() { controller_.Execute(MusicCommand::PreviousSong, CommandOrigin::Hotkey); }

void MusicMpris::Seek(int64_t offsetUs) {
    if (!HasSong()) return;
    double position = player_.GetPosition();
    double length = player_.GetLength();
    double target = position + static_cast<double>(offsetUs) / 1e6;
    // Past the end the next song starts; before the start the song does.
    if (length > 0 && target > length) {
        Next();
        return;
    }
    if (target < 0) target = 0;
    controller_.Seek(target - position, CommandOrigin::Hotkey);
}

void MusicMpris::SetPosition(const std::string& trackId, int64_t positionUs) {
    if (!HasSong() || trackId != TrackId(library_.CurrentSong(), library_.CurrentAlbum())) return;
    double target = static_cast<double>(positionUs) / 1e6;
    double length = player_.GetLength();
    if (target < 0 || (length > 0 && target > length)) return;
    controller_.Seek(target - player_.GetPosition(), CommandOrigin::Hotkey);
}

bool MusicMpris::OpenUri(const std::string& uri) {
    wxString text = wxString::FromUTF8(uri);
    wxString path;
    if (text.StartsWith("file://")) path = wxFileSystem::URLToFileName(text).GetFullPath();
    else if (wxFileName(text).IsAbsolute()) path = text;
    // Only local files: the player has no business fetching from the web here.
    if (path.empty() || !wxFileName::FileExists(path) || !IsSupportedAudio(path)) return false;
    if (controller_.AddPaths({path}) != 1) return false;
    return controller_.PlaySong(static_cast<int>(library_.Playlist().size()) - 1, -1);
}

void MusicMpris::Raise() {
    if (window_.raise) window_.raise();
}

void MusicMpris::Quit() {
    if (window_.quit) window_.quit();
}

void MusicMpris::SetLoopStatus(const std::string& status) {
    int mode = library_.PlayMode();
    if (status == "Track") mode = PlayRepeatOne;
    else if (status == "Playlist") mode = PlayRepeatList;
    else if (status == "None" && (mode == PlayRepeatOne || mode == PlayRepeatList)) mode = PlayInOrder;
    else return;
    if (mode != library_.PlayMode()) controller_.HandleMenu(IdPlayInOrder + mode);
}

void MusicMpris::SetShuffle(bool shuffle) {
    int mode = library_.PlayMode();
    if (shuffle && mode != PlayRandom) controller_.HandleMenu(IdRandom);
    else if (!shuffle && mode == PlayRandom) controller_.HandleMenu(IdPlayInOrder);
}

void MusicMpris::SetVolume(double volume) {
    if (!std::isfinite(volume)) return;
    double target = volume < 0 ? 0 : volume > 1 ? 1 : volume;
    controller_.StepVolume(target - player_.GetVolume());
}
