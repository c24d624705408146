// The music controller's user commands: rows, keys, hotkeys, the context
// menu, adding files, importing and deleting.
#include "music/music_controller.h"

#include "music/audio_files.h"

#include <wx/defs.h>

namespace {

wxString U(const char* s) { return wxString::FromUTF8(s); }

const char* const kNoMedia = "当前没有正在播放的歌曲。";

}  // namespace

void MusicController::ActivateRow(const MusicRow& row)
{
    if (row.type == MusicRowType::Notice) return;
    host_.PlayCue("jr.wav");
    switch (row.type) {
    case MusicRowType::Playlist:
        library_.ShowPlaylist();
        host_.RenderMusicView();
        break;
    case MusicRowType::Hotkeys:
        ToggleHotkeys();
        break;
    case MusicRowType::Album:
        if (library_.ShowAlbum(row.albumIndex)) host_.RenderMusicView();
        break;
    case MusicRowType::Song:
        if (!PlaySong(row.songIndex, row.albumIndex)) {
            host_.ShowMessage(U("播放失败"), player_.LastError(), wxOK | wxICON_ERROR);
        }
        break;
    case MusicRowType::Notice:
        break;
    }
}

bool MusicController::GoBack()
{
    if (library_.MusicLevel() == 0) return false;
    host_.PlayCue("fh.wav");
    library_.ShowOverview();
    host_.RenderMusicView();
    return true;
}

void MusicController::ToggleHotkeys()
{
    library_.SetHotkeysEnabled(!library_.HotkeysEnabled());
    RegisterMusicHotkeys();
    SaveMusicSettings();
    RenderIfShown();
}

bool MusicController::HandleKey(int keyCode, bool ctrl, bool shift)
{
    std::optional<MusicCommand> command = MusicKeyCommand(keyCode, ctrl, shift);
    if (!command) return false;
    Execute(*command, CommandOrigin::Window);
    return true;
}

bool MusicController::HandleHotkey(int id)
{
    const MusicHotkey* hotkey = FindMusicHotkey(id);
    if (!hotkey) return false;
    Execute(hotkey->command, CommandOrigin::Hotkey);
    return true;
}

void MusicController::Execute(MusicCommand command, CommandOrigin origin)
{
    bool window = origin == CommandOrigin::Window;
    switch (command) {
    case MusicCommand::ToggleWindow: host_.ToggleWindowShown(); break;
    case MusicCommand::ImportAlbum: ImportAlbum(); break;
    case MusicCommand::AddFiles: AddFiles(); break;
    case MusicCommand::SeekBack: Seek(-5, origin); break;
    case MusicCommand::SeekForward: Seek(5, origin); break;
    case MusicCommand::VolumeUp: StepVolume(0.05); break;
    case MusicCommand::VolumeDown: StepVolume(-0.05); break;
    case MusicCommand::PauseOrResume: PauseOrResume(); break;
    case MusicCommand::PlayFromStart: PlayFromStart(); break;
    case MusicCommand::PreviousSong:
        if (!StepSong(-1) && window) host_.SetStatus(U("当前没有可切换的上一曲。"));
        break;
    case MusicCommand::NextSong:
        if (!StepSong(1) && window) host_.SetStatus(U("当前没有可切换的下一曲。"));
        break;
    case MusicCommand::PreviousDevice: SwitchDevice(-1); break;
    case MusicCommand::NextDevice: SwitchDevice(1); break;
    }
}

void MusicController::Seek(double seconds, CommandOrigin origin)
{
    if (!player_.HasMedia()) {
        if (origin == CommandOrigin::Window) host_.SetStatus(U(kNoMedia));
        return;
    }
    if (player_.SeekBy(seconds)) UpdateMusicStatus();
    else host_.SetStatus(player_.LastError());
}

void MusicController::PauseOrResume()
{
    if (!player_.HasMedia()) {
        host_.SetStatus(U(kNoMedia));
        return;
    }
    bool ok = player_.IsPaused() ? player_.Play(false) : player_.IsPlaying() ? player_.Pause() : player_.Play(true);
    if (!ok) {
        host_.SetStatus(player_.LastError());
        return;
    }
    StartTimer();
    RenderIfShown();
}

void MusicController::PlayFromStart()
{
    bool ok;
    if (library_.HasCurrent()) {
        ok = PlaySong(library_.CurrentSong(), library_.CurrentAlbum());
    } else if (auto row = host_.SelectedMusicRow(); row && row->type == MusicRowType::Song) {
        ok = PlaySong(row->songIndex, row->albumIndex);
    } else {
        host_.SetStatus(U("当前没有可播放的歌曲。"));
        return;
    }
    if (!ok) host_.SetStatus(player_.LastError());
}

void MusicController::AddFiles()
{
    std::optional<std::vector<wxString>> chosen = host_.ChooseAudioFiles();
    if (!chosen) return;
    if (AddPaths(*chosen) == 0) {
        host_.ShowMessage(U("提示"), U("没有可加入播放列表的音频文件。"), wxOK | wxICON_INFORMATION);
    }
}

int MusicController::AddPaths(const std::vector<wxString>& paths)
{
    int added = library_.AddFiles(paths);
    if (added == 0) return 0;
    SaveMusicSettings();
    RenderIfShown();
    host_.SetStatus(wxString::Format(U("已加入 %d 首歌曲到播放列表。"), added));
    return added;
}

void MusicController::ImportAlbum()
{
    std::optional<wxString> folder = host_.ChooseAlbumFolder();
    if (!folder) return;
    AlbumScan scan = ScanAlbumFolder(*folder);
    if (!scan.opened) {
        host_.ShowMessage(U("导入失败"), U("无法打开所选文件夹。"), wxOK | wxICON_ERROR);
        return;
    }
    if (scan.album.songs.empty()) {
        host_.ShowMessage(U("提示"), U("当前文件夹内没有可导入的音频文件。"), wxOK | wxICON_INFORMATION);
        return;
    }
    int existing = library_.FindAlbum(*folder);
    if (existing >= 0 && library_.CurrentSource() == SourceAlbum && library_.CurrentAlbum() == existing) {
        StopPlayback();
    }
    wxString name = scan.album.name;
    library_.PutAlbum(std::move(scan.album));
    SaveMusicSettings();
    RenderIfShown();
    host_.SetStatus(wxString::Format(U("已导入专辑：%s。"), name));
}

std::vector<MusicMenuItem> MusicController::ContextMenu(bool listHasRows)
{
    std::vector<MusicMenuItem> items;
    if (!listHasRows) return items;
    const int order[] = {IdRepeatOne, IdRepeatList, IdPlayInOrder, IdReverse, IdRandom};
    for (int id : order) {
        int mode = PlayModeOfMenuId(id);
        items.push_back({MusicMenuItem::Radio, id, PlayModeName(mode), mode == library_.PlayMode()});
    }
    std::optional<MusicRow> row = host_.SelectedMusicRow();
    if (row && row->type == MusicRowType::Song) {
        items.push_back({MusicMenuItem::Separator, 0, wxString(), false});
        items.push_back({MusicMenuItem::Normal, IdDeleteSong, U("删除歌曲"), false});
    }
    bool albumShown = library_.MusicLevel() == 2 && library_.SongCount(library_.OpenAlbum()) >= 0;
    if ((row && row->type == MusicRowType::Album) || albumShown) {
        items.push_back({MusicMenuItem::Separator, 0, wxString(), false});
        items.push_back({MusicMenuItem::Normal, IdDeleteAlbum, U("删除专辑"), false});
    }
    host_.PlayCue("yj.wav");
    return items;
}

bool MusicController::HandleMenu(int id)
{
    int mode = PlayModeOfMenuId(id);
    if (mode >= 0) {
        SetPlayMode(mode);
        return true;
    }
    std::optional<MusicRow> row = host_.SelectedMusicRow();
    if (id == IdDeleteSong) {
        if (row && row->type == MusicRowType::Song) DeleteSelectedSong(*row);
        return true;
    }
    if (id == IdDeleteAlbum) {
        if (row && row->type == MusicRowType::Album) DeleteAlbum(row->albumIndex);
        else if (library_.MusicLevel() == 2) DeleteAlbum(library_.OpenAlbum());
        return true;
    }
    return false;
}

void MusicController::DeleteSelectedSong(const MusicRow& row)
{
    if (!library_.SongAt(row.songIndex, row.albumIndex)) return;
    if (!host_.Confirm(U("删除歌曲"), wxString::Format(U("确定要删除歌曲《%s》吗？"), row.text))) return;
    if (library_.IsCurrent(row.songIndex, row.albumIndex)) StopPlayback();
    library_.RemoveSong(row.songIndex, row.albumIndex);
    SaveMusicSettings();
    RenderIfShown();
}

void MusicController::DeleteAlbum(int albumIndex)
{
    if (albumIndex < 0 || albumIndex >= static_cast<int>(library_.Albums().size())) return;
    wxString name = library_.Albums()[albumIndex].name;
    if (!host_.Confirm(U("删除专辑"), wxString::Format(U("确定要删除专辑《%s》吗？"), name))) return;
    if (library_.CurrentSource() == SourceAlbum && library_.CurrentAlbum() == albumIndex) StopPlayback();
    library_.RemoveAlbum(albumIndex);
    SaveMusicSettings();
    RenderIfShown();
}
