// In-memory stand-ins for the audio player and the main window, recording
// every call the music controller makes so tests can assert on them.
#pragma once

#include "music/music_host.h"
#include "music/music_playback.h"

#include <map>
#include <optional>
#include <string>
#include <vector>

class RecordingPlayer : public MusicPlayback {
public:
    // Paths that fail to open, and whether Play fails.
    std::vector<wxString> unopenable;
    bool failPlay = false;
    bool failSeek = false;
    bool failVolume = false;
    bool failSwitch = false;

    wxString media;  // the open file, empty when none
    bool playing = false;
    bool paused = false;
    float volume = 1.0f;
    double position = 0;
    double length = 0;
    std::vector<PlaybackDevice> devices;
    int device = -1;
    std::vector<std::string> calls;  // "open <path>", "play 1", "pause", "stop", …

    // The song ran to its end: media stays, nothing plays.
    void FinishSong();
    // The player dropped the song while it played, saying why.
    void DropSong(const wxString& why);

    bool OpenFile(const wxString& path) override;
    bool Play(bool restart) override;
    bool Pause() override;
    bool Stop() override;
    bool SeekBy(double seconds) override;
    bool SetVolume(float v) override;
    float GetVolume() const override { return volume; }
    double GetLength() const override { return length; }
    double GetPosition() const override { return position; }
    bool HasMedia() const override { return !media.empty(); }
    bool IsPlaying() const override { return playing; }
    bool IsPaused() const override { return paused; }
    wxString LastError() const override { return lastError; }
    std::vector<PlaybackDevice> ListOutputDevices() override { return devices; }
    int GetCurrentDevice() const override { return device; }
    bool SwitchOutputDevice(int deviceIndex) override;

    wxString lastError;
};

class RecordingHost : public MusicHost {
public:
    bool shown = true;
    std::optional<MusicRow> selected;
    std::optional<std::vector<wxString>> filesToChoose;
    std::optional<wxString> folderToChoose;
    bool confirmAnswer = true;
    bool timerRunning = false;
    bool hotkeysHeld = false;
    bool windowShown = true;

    int renders = 0;
    std::vector<wxString> statuses;
    std::vector<wxString> announcements;
    std::vector<wxString> messages;  // caption + "|" + message
    std::vector<wxString> questions;
    std::vector<wxString> cues;
    int timerStarts = 0;
    int timerStops = 0;
    int hotkeyRegistrations = 0;

    wxString LastStatus() const { return statuses.empty() ? wxString() : statuses.back(); }

    bool MusicShown() const override { return shown; }
    void RenderMusicView() override { ++renders; }
    std::optional<MusicRow> SelectedMusicRow() const override { return selected; }
    void SetStatus(const wxString& text) override { statuses.push_back(text); }
    void AnnounceStatus(const wxString& text) override { announcements.push_back(text); }
    void ShowMessage(const wxString& caption, const wxString& message, long) override
    {
        messages.push_back(caption + "|" + message);
    }
    bool Confirm(const wxString& caption, const wxString& message) override
    {
        questions.push_back(caption + "|" + message);
        return confirmAnswer;
    }
    std::optional<std::vector<wxString>> ChooseAudioFiles() override { return filesToChoose; }
    std::optional<wxString> ChooseAlbumFolder() override { return folderToChoose; }
    void PlayCue(const wxString& name) override { cues.push_back(name); }
    void StartStatusTimer() override { timerRunning = true; ++timerStarts; }
    void StopStatusTimer() override { timerRunning = false; ++timerStops; }
    bool StatusTimerRunning() const override { return timerRunning; }
    void RegisterMusicHotkeys() override { hotkeysHeld = true; ++hotkeyRegistrations; }
    void UnregisterMusicHotkeys() override { hotkeysHeld = false; }
    void ToggleWindowShown() override { windowShown = !windowShown; }
};

inline wxString U(const char* s) { return wxString::FromUTF8(s); }
