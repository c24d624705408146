// The music steps of the main window. The window only binds: what each
// row, key, hotkey and menu item does is decided by the music controller.
#include "app/main_frame.h"

#include "app/main_frame_music.h"

#include <wx/listbox.h>
#include <wx/menu.h>

// Defined here, where the music parts are a complete type.
MainFrame::~MainFrame() = default;

void MainFrame::LoadMusicState() {
    music = std::make_unique<MainFrameMusic>(*this);
    // Rebuilding also registers the global hotkeys when they are enabled.
    music->Controller().RebuildLibrary();
    music->RefreshMediaControls();
}

void MainFrame::RenderMusicView() {
    if (music) music->RefillMusicView();
}

void MainFrame::UpdateMusicStatus() {
    if (music) music->Controller().UpdateMusicStatus();
}

void MainFrame::ActivateMusicRow() {
    if (!music) return;
    if (std::optional<MusicRow> row = music->SelectedMusicRow()) music->Controller().ActivateRow(*row);
    music->RefreshMediaControls();
}

void MainFrame::GoBackInMusic() {
    if (music) music->Controller().GoBack();
}

bool MainFrame::HandleMusicKey(const wxKeyEvent& event) {
    if (!music) return false;
    bool handled = music->Controller().HandleKey(event.GetKeyCode(), event.ControlDown(), event.ShiftDown());
    if (handled) music->RefreshMediaControls();
    return handled;
}

void MainFrame::ShowMusicMenu() {
    if (!music) return;
    std::vector<MusicMenuItem> items = music->Controller().ContextMenu(mainList->GetCount() > 0);
    if (items.empty()) return;
    wxMenu menu;
    for (const MusicMenuItem& item : items) {
        switch (item.kind) {
        case MusicMenuItem::Radio: menu.AppendRadioItem(item.id, item.label)->Check(item.checked); break;
        case MusicMenuItem::Separator: menu.AppendSeparator(); break;
        case MusicMenuItem::Normal: menu.Append(item.id, item.label); break;
        }
    }
    mainList->PopupMenu(&menu);
}

void MainFrame::OnGlobalHotkey(int id) {
    if (!music) return;
    music->OnHotkey(id);
    music->RefreshMediaControls();
}

void MainFrame::OnPlayMode(wxCommandEvent& event) { OnMusicMenu(event.GetId()); }

void MainFrame::OnDeleteSong(wxCommandEvent& event) { OnMusicMenu(event.GetId()); }

void MainFrame::OnDeleteAlbum(wxCommandEvent& event) { OnMusicMenu(event.GetId()); }

void MainFrame::OnMusicMenu(int id) {
    if (!music) return;
    music->Controller().HandleMenu(id);
    music->RefreshMediaControls();
}

void MainFrame::OnTimer(wxTimerEvent&) {
    if (!music) return;
    // The player's state must be current before the end of a song is judged.
    music->DrainPlayerEvents();
    music->Controller().OnStatusTick();
    music->RefreshMediaControls();
}
