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
}

void MainFrame::RenderMusicView() {
    if (music) music->RenderMusicView();
}

void MainFrame::UpdateMusicStatus() {
    if (music) music->Controller().UpdateMusicStatus();
}

void MainFrame::ActivateMusicRow() {
    if (!music) return;
    if (std::optional<MusicRow> row = music->SelectedMusicRow()) music->Controller().ActivateRow(*row);
}

void MainFrame::GoBackInMusic() {
    if (music) music->Controller().GoBack();
}

bool MainFrame::HandleMusicKey(const wxKeyEvent& event) {
    return music && music->Controller().HandleKey(event.GetKeyCode(), event.ControlDown(),
                                                  event.ShiftDown());
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
    if (music) music->OnHotkey(id);
}

void MainFrame::OnPlayMode(wxCommandEvent& event) {
    if (music) music->Controller().HandleMenu(event.GetId());
}

void MainFrame::OnDeleteSong(wxCommandEvent& event) {
    if (music) music->Controller().HandleMenu(event.GetId());
}

void MainFrame::OnDeleteAlbum(wxCommandEvent& event) {
    if (music) music->Controller().HandleMenu(event.GetId());
}

void MainFrame::OnTimer(wxTimerEvent&) {
    if (!music) return;
    // The player's state must be current before the end of a song is judged.
    music->DrainPlayerEvents();
    music->Controller().OnStatusTick();
}
