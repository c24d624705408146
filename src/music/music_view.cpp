#include "music/music_view.h"

#include <climits>
#include <cmath>

namespace {

wxString U(const char* s) { return wxString::FromUTF8(s); }

const char* const kPausedMark = "Ⅱ ";
const char* const kPlayingMark = "▶ ";
const char* const kStoppedMark = "■ ";

wxString SourceMark(PlayerMarks marks)
{
    return U(marks.paused ? kPausedMark : kPlayingMark);
}

MusicRow Notice(const char* text)
{
    MusicRow row;
    row.type = MusicRowType::Notice;
    row.text = U(text);
    return row;
}

MusicRow SongRow(const MusicLibrary& library, const Song& song, int songIndex, int albumIndex,
                 PlayerMarks marks)
{
    MusicRow row;
    row.type = MusicRowType::Song;
    row.text = FormatSongLine(library, song, songIndex, albumIndex, marks);
    row.albumIndex = albumIndex;
    row.songIndex = songIndex;
    return row;
}

void BuildOverview(const MusicLibrary& library, PlayerMarks marks, MusicViewRows& view)
{
    view.label = U("本地音乐");
    bool current = library.CurrentSong() >= 0;
    MusicRow playlist;
    playlist.type = MusicRowType::Playlist;
    if (current && library.CurrentSource() == SourcePlaylist) playlist.text = SourceMark(marks);
    playlist.text += wxString::Format(U("播放列表（%llu首）"),
                                      static_cast<unsigned long long>(library.Playlist().size()));
    view.rows.push_back(playlist);
    const auto& albums = library.Albums();
    for (size_t i = 0; i < albums.size(); ++i) {
        MusicRow row;
        row.type = MusicRowType::Album;
        row.albumIndex = static_cast<int>(i);
        bool isCurrent = current && library.CurrentSource() == SourceAlbum &&
                         library.CurrentAlbum() == static_cast<int>(i);
        if (isCurrent) {
            row.text = SourceMark(marks);
            view.selectRow = static_cast<int>(view.rows.size());
        }
        row.text += wxString::Format(U("专辑：%s（%llu首）"), albums[i].name,
                                     static_cast<unsigned long long>(albums[i].songs.size()));
        view.rows.push_back(row);
    }
    MusicRow hotkeys;
    hotkeys.type = MusicRowType::Hotkeys;
    hotkeys.text = U(library.HotkeysEnabled() ? "启用全局热键：已启用" : "启用全局热键：已关闭");
    view.rows.push_back(hotkeys);
    if (library.Playlist().empty() && albums.empty()) {
        view.rows.push_back(Notice("当前还没有本地音乐。按 Ctrl+I 选择文件夹，按 Ctrl+O 添加单曲。"));
    }
}

void BuildPlaylist(const MusicLibrary& library, PlayerMarks marks, MusicViewRows& view)
{
    view.label = U("播放列表");
    const auto& songs = library.Playlist();
    for (size_t i = 0; i < songs.size(); ++i) {
        view.rows.push_back(SongRow(library, songs[i], static_cast<int>(i), -1, marks));
    }
    if (songs.empty()) view.rows.push_back(Notice("播放列表为空。按 Ctrl+O 添加歌曲。"));
    if (library.CurrentSource() == SourcePlaylist && library.CurrentSong() >= 0) {
        view.selectRow = library.CurrentSong();
    }
}

void BuildAlbum(const MusicLibrary& library, PlayerMarks marks, MusicViewRows& view)
{
    int index = library.OpenAlbum();
    const Album& album = library.Albums()[index];
    view.label = U("专辑 - ") + album.name;
    for (size_t i = 0; i < album.songs.size(); ++i) {
        view.rows.push_back(SongRow(library, album.songs[i], static_cast<int>(i), index, marks));
    }
    if (album.songs.empty()) view.rows.push_back(Notice("当前专辑没有歌曲。"));
    if (library.CurrentSource() == SourceAlbum && library.CurrentAlbum() == index &&
        library.CurrentSong() >= 0) {
        view.selectRow = library.CurrentSong();
    }
}

}  // namespace

MusicViewRows BuildMusicRows(MusicLibrary& library, PlayerMarks marks)
{
    MusicViewRows view;
    if (library.MusicLevel() == 2 && library.SongCount(library.OpenAlbum()) < 0) library.ShowOverview();
    switch (library.MusicLevel()) {
    case 1: BuildPlaylist(library, marks, view); break;
    case 2: BuildAlbum(library, marks, view); break;
    default: BuildOverview(library, marks, view); break;
    }
    return view;
}

wxString FormatSongLine(const MusicLibrary& library, const Song& song, int songIndex, int albumIndex,
                        PlayerMarks marks)
{
    wxString line;
    if (library.IsCurrent(songIndex, albumIndex)) {
        line = U(marks.paused ? kPausedMark : marks.playing ? kPlayingMark : kStoppedMark);
    }
    line += song.name;
    if (albumIndex < 0 && !song.source.empty()) line += " | " + song.source;
    return line;
}

wxString FormatClock(double seconds)
{
    long long s = 0;
    if (std::isfinite(seconds) && seconds > 0) {
        s = seconds >= static_cast<double>(INT_MAX) ? INT_MAX : static_cast<long long>(seconds);
    }
    return wxString::Format("%02lld:%02lld", s / 60, s % 60);
}

wxString FormatMusicStatus(const MusicStatus& status)
{
    wxString device = status.deviceName.empty() ? U("未发现可用声卡") : status.deviceName;
    wxString songText = U("当前未播放歌曲");
    if (status.song) {
        const char* state = status.playing ? "正在播放" : status.paused ? "已暂停" : "已停止";
        songText = wxString::Format(U("%s：%s [%s/%s]"), U(state), status.song->name,
                                    FormatClock(status.position), FormatClock(status.length));
    }
    wxString hotkeys = U(status.hotkeysEnabled ? "全局热键已启用。" : "全局热键已关闭。");
    wxString hint = U(status.musicLevel == 0 ? "回车进入播放列表或专辑。" : "回车播放，退格返回上一层。");
    return wxString::Format(
        U("%s 设备：%s。模式：%s。%s %s Ctrl+I 导入专辑，Ctrl+O 添加文件，Ctrl+左右快退快进，"
          "Ctrl+上下调音量，Ctrl+Home 暂停或继续，Ctrl+End 从头播放，Ctrl+PageUp/PageDown 切换歌曲，"
          "Ctrl+Shift+PageUp/PageDown 切换声卡，Ctrl+Shift+Z 隐藏或显示窗口。"),
        songText, device, PlayModeName(status.playMode), hotkeys, hint);
}
