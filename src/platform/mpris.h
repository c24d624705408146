// The desktop's media controls (MPRIS on the session D-Bus): media keys,
// the desktop's media panel and tools like playerctl. The service asks a
// player for its state and hands it the commands; the player is ours, the
// bus and its wire format stay behind this header.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace platform {

struct MprisTrack {
    std::string id;  // a D-Bus object path naming the track
    std::string title;
    std::string album;  // empty: not sent
    std::string url;
    int64_t lengthUs = 0;  // 0: unknown, not sent

    bool operator==(const MprisTrack&) const = default;
};

struct MprisState {
    std::string playbackStatus = "Stopped";  // "Playing", "Paused" or "Stopped"
    std::string loopStatus = "None";         // "None", "Track" or "Playlist"
    bool shuffle = false;
    double volume = 1.0;  // 0.0–1.0
    std::optional<MprisTrack> track;
    bool canGoNext = false;
    bool canGoPrevious = false;
    bool canPlay = false;
    bool canPause = false;
    bool canSeek = false;

    bool operator==(const MprisState&) const = default;
};

// What the service calls. Every call arrives on the UI thread.
class MprisPlayer {
public:
    virtual ~MprisPlayer() = default;

    virtual MprisState State() = 0;
    virtual int64_t PositionUs() = 0;

    virtual void Play() = 0;
    virtual void Pause() = 0;
    virtual void PlayPause() = 0;
    virtual void Stop() = 0;
    virtual void Next() = 0;
    virtual void Previous() = 0;
    virtual void Seek(int64_t offsetUs) = 0;
    virtual void SetPosition(const std::string& trackId, int64_t positionUs) = 0;
    // False when the uri cannot be played (the caller hears an error).
    virtual bool OpenUri(const std::string& uri) = 0;
    virtual void Raise() = 0;
    virtual void Quit() = 0;

    virtual void SetLoopStatus(const std::string& status) = 0;
    virtual void SetShuffle(bool shuffle) = 0;
    virtual void SetVolume(double volume) = 0;
};

struct MprisIdentity {
    std::string busSuffix;     // org.mpris.MediaPlayer2.<busSuffix>
    std::string identity;      // the name the desktop shows
    std::string desktopEntry;  // the .desktop file's name without ".desktop"
};

class MprisService {
public:
    // Registers the service on the session bus, connecting in the
    // background (the caller does not wait for the bus); null when there is
    // no session bus (the program then simply runs without it). When another
    // instance holds the name, ".instance<pid>" is added, as MPRIS asks.
    static std::unique_ptr<MprisService> Start(const MprisIdentity& identity, MprisPlayer& player);
    virtual ~MprisService() = default;

    // Compares the player's state with what listeners last heard and sends
    // what changed; a position that jumped is sent as Seeked. Cheap when
    // nothing changed: call it after every command and on the status tick.
    virtual void Refresh() = 0;
    // The bus name actually owned, once the bus has granted it.
    virtual std::string BusName() const = 0;
};

}  // namespace platform
