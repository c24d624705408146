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

MusicRow PlaylistRow(const MusicLibrary& library, PlayerMarks marks)
{
    MusicRow playlist;
    playlist.type = MusicRowType::Playlist;
    if (library.CurrentSong() >= 0 && library.CurrentSource() == SourcePlaylist) playlist.text = SourceMark(marks);
    playlist.text += wxString::Format(U("播放列表（%llu首）"),
                                      static_cast<unsigned long long>(library.Playlist().size()));
    return playlist;
}

bool IsCurrentAlbum(const MusicLibrary& library, size_t i)
{
    return library.CurrentSong() >= 0 && library.CurrentSource() == SourceAlbum &&
           library.CurrentAlbum() == static_cast<int>(i);
}

MusicRow AlbumRow(const MusicLibrary& library, size_t i, PlayerMarks marks)
{
    const Album& album = library.Albums()[i];
    MusicRow row;
    row.type = MusicRowType::Album;
    row.albumIndex = static_cast<int>(i);
    if (IsCurrentAlbum(library, i)) row.text = SourceMark(marks);
    row.text += wxString::Format(U("专辑：%s（%llu首）"), album.name,
                                 static_cast<unsigned long long>(album.songs.size()));
    return row;
}

void BuildOverview(const MusicLibrary& library, PlayerMarks marks, MusicViewRows& view)
{
    view.label = U("本地音乐");
    view.rows.push_back(PlaylistRow(library, marks));
    const auto& albums = library.Albums();
    for (size_t i = 0; i < albums.size(); ++i) {
        if (IsCurrentAlbum(library, i)) view.selectRow = static_cast<int>(view.rows.size());
        view.rows.push_back(AlbumRow(library, i, marks));
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

// The row that carries the current-song marker at the library's level.
int MarkedRow(const MusicLibrary& library)
{
    if (!library.HasCurrent()) return -1;
    int song = library.CurrentSong();
    switch (library.MusicLevel()) {
    case 1:
        return library.CurrentSource() == SourcePlaylist && song < library.SongCount(-1) ? song : -1;
    case 2:
        return library.CurrentSource() == SourceAlbum && library.CurrentAlbum() == library.OpenAlbum() &&
                       song < library.SongCount(library.OpenAlbum())
                   ? song
                   : -1;
    default:
        if (library.CurrentSource() == SourcePlaylist) return 0;
        if (library.CurrentSource() == SourceAlbum && library.CurrentAlbum() >= 0 &&
            library.CurrentAlbum() < static_cast<int>(library.Albums().size())) {
            return library.CurrentAlbum() + 1;
        }
        return -1;
    }
}

// The row selectRow names, by the same rules as the builders above.
int SelectRow(const MusicLibrary& library)
{
    int song = library.CurrentSong();
    switch (library.MusicLevel()) {
    case 1: return library.CurrentSource() == SourcePlaylist && song >= 0 ? song : 0;
    case 2:
        return library.CurrentSource() == SourceAlbum && library.CurrentAlbum() == library.OpenAlbum() && song >= 0
                   ? song
                   : 0;
    default: {
        int album = library.CurrentAlbum();
        bool albumRow = song >= 0 && library.CurrentSource() == SourceAlbum && album >= 0 &&
                        album < static_cast<int>(library.Albums().size());
        return albumRow ? album + 1 : 0;
    }
    }
}

MusicRow RowAt(const MusicLibrary& library, int row, PlayerMarks marks)
{
    switch (library.MusicLevel()) {
    case 1: return SongRow(library, library.Playlist()[row], row, -1, marks);
    case 2: {
        int album = library.OpenAlbum();
        return SongRow(library, library.Albums()[album].songs[row], row, album, marks);
    }
    default: return row == 0 ? PlaylistRow(library, marks) : AlbumRow(library, static_cast<size_t>(row - 1), marks);
    }
}

}  // namespace

MusicViewStamp StampMusicView(const MusicLibrary& library, const MusicViewRows& view)
{
    MusicViewStamp stamp;
    stamp.valid = true;
    stamp.revision = library.Revision();
    stamp.level = library.MusicLevel();
    stamp.openAlbum = library.OpenAlbum();
    stamp.hotkeysEnabled = library.HotkeysEnabled();
    stamp.rowCount = view.rows.size();
    stamp.markedRow = MarkedRow(library);
    return stamp;
}

std::optional<MusicRowUpdate> UpdateMusicRows(const MusicLibrary& library, PlayerMarks marks, MusicViewStamp& shown)
{
    if (!shown.valid || shown.revision != library.Revision() || shown.level != library.MusicLevel() ||
        shown.openAlbum != library.OpenAlbum() || shown.hotkeysEnabled != library.HotkeysEnabled()) {
        return std::nullopt;
    }
    if (library.MusicLevel() == 2 && library.SongCount(library.OpenAlbum()) < 0) return std::nullopt;
    MusicRowUpdate update;
    int marked = MarkedRow(library);
    for (int row : {shown.markedRow, marked}) {
        if (row < 0 || static_cast<size_t>(row) >= shown.rowCount) continue;
        if (!update.rows.empty() && update.rows.front().first == row) {
            update.rows.front().second = RowAt(library, row, marks);  // the same row: its content now
            continue;
        }
        update.rows.emplace_back(row, RowAt(library, row, marks));
    }
    update.selectRow = SelectRow(library);
    shown.markedRow = marked;
    return update;
}

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
