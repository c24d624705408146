// What the music library needs from the audio player. The main window's
// AudioPlayer satisfies it through a thin adapter; tests use an in-memory
// player that records its calls.
#pragma once

#include <wx/string.h>

#include <vector>

// One output device: the player's device number (1 or more) and its name.
struct PlaybackDevice {
    int index = 0;
    wxString name;
};

class MusicPlayback {
public:
    virtual ~MusicPlayback() = default;

    // Every operation returns false on failure and leaves a Chinese text
    // for LastError().
    virtual bool OpenFile(const wxString& path) = 0;
    virtual bool Play(bool restart) = 0;
    virtual bool Pause() = 0;
    virtual bool Stop() = 0;
    virtual bool SeekBy(double seconds) = 0;
    virtual bool SetVolume(float volume) = 0;
    virtual float GetVolume() const = 0;
    virtual double GetLength() const = 0;
    virtual double GetPosition() const = 0;
    virtual bool HasMedia() const = 0;
    virtual bool IsPlaying() const = 0;
    virtual bool IsPaused() const = 0;
    virtual wxString LastError() const = 0;
    virtual std::vector<PlaybackDevice> ListOutputDevices() = 0;
    virtual int GetCurrentDevice() const = 0;
    virtual bool SwitchOutputDevice(int deviceIndex) = 0;
};
