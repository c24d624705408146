// The main window's AudioPlayer seen as the music library's MusicPlayback.
#pragma once

#include "music/audio_player.h"
#include "music/music_playback.h"

class AudioPlayerPlayback : public MusicPlayback {
public:
    explicit AudioPlayerPlayback(AudioPlayer& player) : player_(player) {}

    bool OpenFile(const wxString& path) override { return player_.OpenFile(path); }
    bool Play(bool restart) override { return player_.Play(restart); }
    bool Pause() override { return player_.Pause(); }
    bool Stop() override { return player_.Stop(); }
    bool SeekBy(double seconds) override { return player_.SeekBy(seconds); }
    bool SetVolume(float volume) override { return player_.SetVolume(volume); }
    float GetVolume() const override { return player_.GetVolume(); }
    double GetLength() const override { return player_.GetLength(); }
    double GetPosition() const override { return player_.GetPosition(); }
    bool HasMedia() const override { return player_.HasMedia(); }
    bool IsPlaying() const override { return player_.IsPlaying(); }
    bool IsPaused() const override { return player_.IsPaused(); }
    wxString LastError() const override { return player_.GetLastError(); }
    std::vector<PlaybackDevice> ListOutputDevices() override;
    int GetCurrentDevice() const override { return player_.GetCurrentDevice(); }
    bool SwitchOutputDevice(int deviceIndex) override { return player_.SwitchOutputDevice(deviceIndex); }

private:
    AudioPlayer& player_;
};
