// The local music player as the desktop's media controls see it: the
// MPRIS state built from the library and the player, and every MPRIS
// command carried out by the music controller, the way the hotkeys and
// the context menu do it, so the three stay consistent.
#pragma once

#include "music/music_controller.h"
#include "music/music_library.h"
#include "music/music_playback.h"
#include "platform/mpris.h"

#include <functional>

class MusicMpris : public platform::MprisPlayer {
public:
    // What only the window can do: show itself, and close as its close box does.
    struct WindowActions {
        std::function<void()> raise;
        std::function<void()> quit;
    };

    MusicMpris(MusicController& controller, const MusicLibrary& library, MusicPlayback& player,
               WindowActions window);

    // The track id of a song: the playlist's or an album's position.
    static std::string TrackId(int songIndex, int albumIndex);

    platform::MprisState State() override;
    int64_t PositionUs() override;
    void Play() override;
    void Pause() override;
    void PlayPause() override;
    void Stop() override;
    void Next() override;
    void Previous() override;
    void Seek(int64_t offsetUs) override;
    void SetPosition(const std::string& trackId, int64_t positionUs) override;
    bool OpenUri(const std::string& uri) override;
    void Raise() override;
    void Quit() override;
    void SetLoopStatus(const std::string& status) override;
    void SetShuffle(bool shuffle) override;
    void SetVolume(double volume) override;

private:
    bool HasSong() const;        // a song is current and the player holds it
    bool LibraryHasSongs() const;
    bool CanStep(int direction) const;

    MusicController& controller_;
    const MusicLibrary& library_;
    MusicPlayback& player_;
    WindowActions window_;
};
