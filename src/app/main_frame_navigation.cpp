// Rendering, focus, keys and the closing sequence of the main window.
#include "app/main_frame.h"
#include "app/main_frame_music.h"

#include "app/main_ids.h"
#include "ui/cue.h"
#include "platform/accessibility.h"
#include "platform/window_focus.h"

#include <wx/combobox.h>
#include <wx/listbox.h>
#include <wx/stattext.h>

namespace {

bool IsEnterKey(int code) { return code == WXK_RETURN || code == WXK_NUMPAD_ENTER; }

bool IsLeftOrRight(int code) {
    return code == WXK_LEFT || code == WXK_RIGHT || code == WXK_NUMPAD_LEFT ||
           code == WXK_NUMPAD_RIGHT;
}

}  // namespace

bool MainFrame::IsMusicCategory() const { return categoryChoice->GetSelection() == CategoryRow::Music; }

void MainFrame::RenderList() {
    if (IsMusicCategory()) {
        RenderMusicView();
        return;
    }
    RenderForumView();
}

void MainFrame::UpdateStatusHint() {
    if (IsMusicCategory()) {
        UpdateMusicStatus();
        return;
    }
    // The hint describes the top view; with no view yet the user learns
    // that the content is on its way.
    SetStatusText(forum.StatusHint(), 0);
}

void MainFrame::FocusCategory() { categoryChoice->SetFocus(); }

void MainFrame::FocusList() {
    mainList->SetFocus();
    if (mainList->GetCount() > 0 && mainList->GetSelection() == wxNOT_FOUND) {
        mainList->SetSelection(0);
    }
    UpdateStatusHint();
}

void MainFrame::SwitchCategory(int row) {
    categoryChoice->SetSelection(row);
    RenderList();
    mainList->SetFocus();
}

void MainFrame::ToggleFocus() {
    if (platform::HasFocusInItsWindow(categoryChoice)) {
        FocusList();
    } else {
        FocusCategory();
    }
}

void MainFrame::ToggleWindowShown() {
    if (IsShown()) {
        Hide();
        return;
    }
    Show();
    Raise();
    if (IsIconized()) Iconize(false);
    mainList->SetFocus();
}

void MainFrame::ActivateSelectedRow() {
    if (IsMusicCategory()) {
        ActivateMusicRow();
        return;
    }
    ActivateForumRow();
}

void MainFrame::GoBack() {
    if (IsMusicCategory()) {
        GoBackInMusic();
        return;
    }
    GoBackInForum();
}

void MainFrame::ShowListMenu() {
    if (IsMusicCategory()) {
        ShowMusicMenu();
        return;
    }
    ShowForumMenu();
}

void MainFrame::OnCategoryChanged(wxCommandEvent&) {
    a11y::ChoiceChanged(categoryChoice);
    RenderList();
}

void MainFrame::OnListSelected(wxCommandEvent&) { UpdateStatusHint(); }

void MainFrame::OnListActivated(wxCommandEvent&) { ActivateSelectedRow(); }

void MainFrame::OnCategoryKey(wxKeyEvent& event) {
    int code = event.GetKeyCode();
    if (IsEnterKey(code)) {
        FocusList();
    } else if (IsLeftOrRight(code)) {
        // The category changes only with Up and Down, never by accident.
    } else {
        event.Skip();
    }
}

void MainFrame::OnListKey(wxKeyEvent& event) {
    if (IsMusicCategory() && HandleMusicKey(event)) return;
    int code = event.GetKeyCode();
    if (code == WXK_BACK) {
        GoBack();
    } else if (IsEnterKey(code)) {
        ActivateSelectedRow();
    } else if (IsLeftOrRight(code)) {
        // Swallowed: a list box would otherwise scroll sideways silently.
    } else {
        event.Skip();
    }
}

void MainFrame::OnListContextMenu(wxContextMenuEvent&) { ShowListMenu(); }

void MainFrame::OnReplyToFloor(wxCommandEvent&) { forum.ReplyToFloor(mainList->GetSelection()); }

void MainFrame::OnClose(wxCloseEvent& event) {
    forum.StopSearches();
    // Saves the music settings, stops the status timer and releases the
    // global hotkeys.
    if (music) music->Controller().Shutdown();
    // The exit cue is heard to its end before the window goes away.
    PlayCue(wxS("tc.wav"), true);
    event.Skip();
}
