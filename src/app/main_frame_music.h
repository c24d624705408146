// The local music player as the main window holds it: the library, the
// player and its controller, the global hotkeys, and the window side of
// the controller's questions (list, status bar, dialogs, timer). Only the
// main window's music files include this.
#pragma once

#include "settings/settings_store.h"
#include "music/audio_player.h"
#include "music/audio_player_playback.h"
#include "music/music_controller.h"
#include "music/music_host.h"
#include "music/music_hotkey_binding.h"
#include "music/music_library.h"
#include "music/music_mpris.h"
#include "music/music_view.h"
#include "platform/mpris.h"

#include <memory>

#include <vector>

class MainFrame;

class MainFrameMusic : public MusicHost {
public:
    explicit MainFrameMusic(MainFrame& frame);
    ~MainFrameMusic() override;
    MainFrameMusic(const MainFrameMusic&) = delete;
    MainFrameMusic& operator=(const MainFrameMusic&) = delete;

    MusicController& Controller() { return controller_; }
    // The player's news arrives on its own thread; this runs it on ours.
    void DrainPlayerEvents() { audio_.DrainEvents(); }
    // A global hotkey press. Hotkeys still arrive while one of our dialogs
    // is open; the two that open a dialog are ignored then, so the user
    // never ends up with a file dialog on top of another.
    void OnHotkey(int id);
    // Tells the desktop's media controls what changed (after every music
    // command and on the status tick).
    void RefreshMediaControls() {
        if (mediaControls_) mediaControls_->Refresh();
    }
    // Fills the list with the music view anew (the category was just shown).
    void RefillMusicView();

    // MusicHost.
    bool MusicShown() const override;
    void RenderMusicView() override;
    std::optional<MusicRow> SelectedMusicRow() const override;
    void SetStatus(const wxString& text) override;
    void AnnounceStatus(const wxString& text) override;
    void ShowMessage(const wxString& caption, const wxString& message, long style) override;
    bool Confirm(const wxString& caption, const wxString& message) override;
    std::optional<std::vector<wxString>> ChooseAudioFiles() override;
    std::optional<wxString> ChooseAlbumFolder() override;
    void PlayCue(const wxString& fileName) override;
    void StartStatusTimer() override;
    void StopStatusTimer() override;
    bool StatusTimerRunning() const override;
    void RegisterMusicHotkeys() override;
    void UnregisterMusicHotkeys() override;
    void ToggleWindowShown() override;

private:
    void OnPlayerNotice(AudioPlayer::Notice notice);
    // One status line naming the combinations another program holds.
    void ReportMissingHotkeys();

    MainFrame& frame_;
    SettingsStore settings_;
    AudioPlayer audio_;
    AudioPlayerPlayback playback_{audio_};
    MusicLibrary library_;
    MusicController controller_;
    MusicHotkeyBinding hotkeys_;
    MusicMpris mpris_;
    std::unique_ptr<platform::MprisService> mediaControls_;
    int dialogsOpen_ = 0;
    // The music rows now in the list, row i = entry i.
    std::vector<MusicRow> shownRows_;
    MusicViewStamp stamp_;  // what shownRows_ were built from
};
