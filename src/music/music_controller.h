// The local music player's behaviour behind the main window: playing and
// stepping songs by play mode, the end-of-song rule on the status timer,
// the view's Enter and Backspace, the Ctrl keys, the global hotkey
// commands, the context menu, devices and volume. GUI-free: it talks to
// the window through MusicHost and to the audio engine through MusicPlayback.
#pragma once

#include "settings/settings_store.h"
#include "music/music_commands.h"
#include "music/music_host.h"
#include "music/music_library.h"
#include "music/music_playback.h"
#include "music/music_view.h"

#include <functional>
#include <optional>
#include <vector>

struct MusicMenuItem {
    enum Kind { Radio, Separator, Normal };
    Kind kind = Normal;
    int id = 0;
    wxString label;
    bool checked = false;
};

class MusicController {
public:
    // Returns a uniformly drawn number in 0 … n-1 (n ≥ 1).
    using RandomBelow = std::function<int(int n)>;

    // random: null uses a Mersenne Twister seeded once from the system.
    MusicController(MusicLibrary& library, MusicPlayback& player, MusicHost& host,
                    const SettingsStore& settings, RandomBelow random = nullptr);

    // Start-up: the library from settings.ini, then the hotkeys when enabled.
    void RebuildLibrary();
    bool SaveMusicSettings();

    bool PlaySong(int songIndex, int albumIndex);
    bool StepSong(int direction);
    void StopPlayback();
    void SetPlayMode(int mode);
    // Seeks the song playing by seconds; failures go to the status bar
    // for in-window keys only.
    void Seek(double seconds, CommandOrigin origin);
    // Adds the supported audio files to the playlist, saves and says how
    // many were added (as adding through the file dialog does).
    int AddPaths(const std::vector<wxString>& paths);

    // Every 500 ms while the status timer runs.
    void OnStatusTick();
    // The player dropped the current song after it had loaded (the sound
    // server went away, say); the next tick treats it as ended and says why.
    void MediaFailed() { mediaFailed_ = true; }

    // Rows for the window's list (call from MusicHost::RenderMusicView).
    MusicViewRows BuildRows();
    // The status sentence (refreshes the device list).
    wxString MusicStatusText();
    // Writes MusicStatusText() to the status bar in the 本地音乐 category.
    void UpdateMusicStatus();

    // Enter on a music row; plays the entering cue except on notices.
    void ActivateRow(const MusicRow& row);
    // Backspace; false at the overview, where it does nothing.
    bool GoBack();

    // In-window key: true when the music key handler consumed it.
    bool HandleKey(int keyCode, bool ctrl, bool shift);
    void Execute(MusicCommand command, CommandOrigin origin);
    // A global hotkey id 6037–6049; false for other ids.
    bool HandleHotkey(int id);

    // The context menu's items for the selected row (plays the menu cue);
    // empty when the list has no rows.
    std::vector<MusicMenuItem> ContextMenu(bool listHasRows);
    // Menu ids 6029–6035; false for other ids.
    bool HandleMenu(int id);

    void ToggleHotkeys();
    void RegisterMusicHotkeys();
    void UnregisterMusicHotkeys();
    bool HotkeysRegistered() const { return hotkeysRegistered_; }

    void RefreshDevices();
    bool SwitchDevice(int step);
    bool StepVolume(double step);
    int CurrentDevice() const { return currentDevice_; }

    // Closing: save, stop the timer, release the hotkeys.
    void Shutdown();

private:
    void RenderIfShown();
    // The end-of-song rule: the same song again in 单曲循环, else the next;
    // stops the timer when none starts.
    void StartAfterEnd();
    void StartTimer();
    void StopTimer();
    void AddFiles();
    void ImportAlbum();
    void PauseOrResume();
    void PlayFromStart();
    void DeleteSelectedSong(const MusicRow& row);
    void DeleteAlbum(int albumIndex);
    int NextIndex(int current, int direction, int count);
    std::optional<std::pair<int, int>> StartPick(int direction) const;

    MusicLibrary& library_;
    MusicPlayback& player_;
    MusicHost& host_;
    const SettingsStore& settings_;
    RandomBelow random_;
    std::vector<PlaybackDevice> devices_;
    int currentDevice_ = -1;
    bool hotkeysRegistered_ = false;
    bool mediaFailed_ = false;
};
