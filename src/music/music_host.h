// What the music controller needs from the main window: its status bar,
// message boxes and dialogs, the list, the status timer, the cue player,
// the global hotkeys and the window's visibility. The window implements it;
// the controller stays free of the toolkit's windows.
#pragma once

#include "music/music_view.h"

#include <wx/string.h>

#include <optional>
#include <vector>

class MusicHost {
public:
    virtual ~MusicHost() = default;

    // The category selector shows 本地音乐.
    virtual bool MusicShown() const = 0;
    // Rebuild the list from MusicController::BuildRows, select its row and
    // write the status (MusicController::UpdateMusicStatus). Only called
    // while MusicShown().
    virtual void RenderMusicView() = 0;
    // The selected row when the list shows music rows and one is selected.
    virtual std::optional<MusicRow> SelectedMusicRow() const = 0;

    // Status field 0.
    virtual void SetStatus(const wxString& text) = 0;
    // Also announce text through the status bar itself (name, help text
    // and the accessibility events screen readers react to).
    virtual void AnnounceStatus(const wxString& text) = 0;

    // style: the toolkit's wxOK | wxICON_… flags.
    virtual void ShowMessage(const wxString& caption, const wxString& message, long style) = 0;
    // A yes/no question defaulting to no, labelled "确定"/"取消".
    virtual bool Confirm(const wxString& caption, const wxString& message) = 0;
    // The audio file dialog; nullopt when cancelled.
    virtual std::optional<std::vector<wxString>> ChooseAudioFiles() = 0;
    // The folder dialog; nullopt when cancelled.
    virtual std::optional<wxString> ChooseAlbumFolder() = 0;

    virtual void PlayCue(const wxString& fileName) = 0;

    virtual void StartStatusTimer() = 0;  // 500 ms, repeating
    virtual void StopStatusTimer() = 0;
    virtual bool StatusTimerRunning() const = 0;

    // Register or release the thirteen combinations of MusicHotkeys().
    virtual void RegisterMusicHotkeys() = 0;
    virtual void UnregisterMusicHotkeys() = 0;

    virtual void ToggleWindowShown() = 0;
};
