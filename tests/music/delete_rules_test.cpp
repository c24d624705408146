#include "music/music_fixture.h"
#include "music/music_settings.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

std::pair<int, int> P(int song, int album) { return {song, album}; }

MusicRow SongRowAt(int song, int album) { return MusicRow{MusicRowType::Song, U("歌"), album, song}; }
MusicRow AlbumRowAt(int album) { return MusicRow{MusicRowType::Album, U("专辑"), album, -1}; }

TEST(DeleteRulesTest, DeletingThePlayingSongStopsAndSongsAboveShiftTheIndex)
{
    MusicFixture f(4, {});
    ASSERT_TRUE(f.controller->PlaySong(2, -1));
    wxString playing = f.PathOf(2, -1);

    f.host.selected = SongRowAt(0, -1);
    ASSERT_TRUE(f.controller->HandleMenu(IdDeleteSong));
    EXPECT_EQ(f.host.questions.back(), U("删除歌曲|确定要删除歌曲《歌》吗？"));
    EXPECT_EQ(f.Current(), P(1, -1));
    EXPECT_EQ(f.library.CurrentSongRecord()->path, playing) << "the same song stays current";
    EXPECT_TRUE(f.player.playing);

    f.host.selected = SongRowAt(2, -1);  // below the current one
    f.controller->HandleMenu(IdDeleteSong);
    EXPECT_EQ(f.Current(), P(1, -1));

    f.host.selected = SongRowAt(1, -1);  // the current one
    f.controller->HandleMenu(IdDeleteSong);
    EXPECT_FALSE(f.library.HasCurrent());
    EXPECT_FALSE(f.player.playing);
    EXPECT_FALSE(f.host.timerRunning);
    EXPECT_EQ(f.library.Playlist().size(), 1u);
    EXPECT_EQ(LoadMusicSettings(f.store).playlistPaths.size(), 1u) << "saved after each delete";
}

TEST(DeleteRulesTest, RefusedQuestionAndOutOfRangeRowsChangeNothing)
{
    MusicFixture f(2, {2});
    f.host.confirmAnswer = false;
    f.host.selected = SongRowAt(0, -1);
    f.controller->HandleMenu(IdDeleteSong);
    EXPECT_EQ(f.library.Playlist().size(), 2u);
    f.host.confirmAnswer = true;
    f.host.selected = SongRowAt(5, -1);
    f.controller->HandleMenu(IdDeleteSong);
    f.host.selected = SongRowAt(0, 3);
    f.controller->HandleMenu(IdDeleteSong);
    f.host.selected = AlbumRowAt(7);
    f.controller->HandleMenu(IdDeleteAlbum);
    EXPECT_EQ(f.library.Playlist().size(), 2u);
    EXPECT_EQ(f.library.Albums().size(), 1u);
    EXPECT_EQ(f.host.questions.size(), 1u);
}

TEST(DeleteRulesTest, LastSongOfAnAlbumTakesTheAlbumWithIt)
{
    MusicFixture f(0, {2, 1, 3});
    ASSERT_TRUE(f.controller->PlaySong(1, 2));
    ASSERT_TRUE(f.library.ShowAlbum(1));
    f.host.selected = SongRowAt(0, 1);
    f.controller->HandleMenu(IdDeleteSong);
    ASSERT_EQ(f.library.Albums().size(), 2u);
    EXPECT_EQ(f.library.MusicLevel(), 0) << "the open album is gone: back to the overview";
    EXPECT_EQ(f.library.OpenAlbum(), -1);
    EXPECT_EQ(f.Current(), P(1, 1)) << "the current album moved up by one";
    EXPECT_TRUE(f.player.playing);

    // An album before the open one shifts the open index.
    ASSERT_TRUE(f.library.ShowAlbum(1));
    f.host.selected = AlbumRowAt(0);
    f.controller->HandleMenu(IdDeleteAlbum);
    EXPECT_EQ(f.host.questions.back().AfterFirst('|'), U("确定要删除专辑《album0》吗？"));
    EXPECT_EQ(f.library.OpenAlbum(), 0);
    EXPECT_EQ(f.library.MusicLevel(), 2);
    EXPECT_EQ(f.Current(), P(1, 0));
}

TEST(DeleteRulesTest, DeletingTheOpenAlbumWithoutASelectedAlbumRow)
{
    MusicFixture f(1, {2, 2});
    ASSERT_TRUE(f.controller->PlaySong(0, 1));
    ASSERT_TRUE(f.library.ShowAlbum(1));
    f.host.selected = SongRowAt(0, 1);  // a song row inside the album view
    auto menu = f.controller->ContextMenu(true);
    ASSERT_EQ(menu.size(), 9u);
    EXPECT_EQ(menu[6].id, IdDeleteSong);
    EXPECT_EQ(menu[8].id, IdDeleteAlbum);
    f.controller->HandleMenu(IdDeleteAlbum);
    EXPECT_EQ(f.library.Albums().size(), 1u);
    EXPECT_EQ(f.library.Albums()[0].name, "album0");
    EXPECT_FALSE(f.library.HasCurrent()) << "the current album was deleted: playback stops";
    EXPECT_EQ(f.player.calls.back(), "stop");
    EXPECT_EQ(f.library.MusicLevel(), 0);
    EXPECT_TRUE(std::filesystem::exists(f.dir.file("album1/t0.ogg"))) << "files stay on disk";

    // At the overview with no album row selected there is nothing to delete.
    f.host.selected = MusicRow{MusicRowType::Playlist, "p", -1, -1};
    size_t asked = f.host.questions.size();
    f.controller->HandleMenu(IdDeleteAlbum);
    EXPECT_EQ(f.host.questions.size(), asked);
}

TEST(DeleteRulesTest, DeletingAnAlbumAfterTheCurrentOneKeepsIndices)
{
    MusicFixture f(0, {1, 1, 1});
    ASSERT_TRUE(f.controller->PlaySong(0, 1));
    ASSERT_TRUE(f.library.ShowAlbum(1));
    f.host.selected = AlbumRowAt(2);
    f.controller->HandleMenu(IdDeleteAlbum);
    EXPECT_EQ(f.Current(), P(0, 1));
    EXPECT_EQ(f.library.OpenAlbum(), 1);
    // A song in an album that is not current leaves the playlist song alone.
    MusicFixture g(2, {2});
    ASSERT_TRUE(g.controller->PlaySong(1, -1));
    g.host.selected = SongRowAt(0, 0);
    g.controller->HandleMenu(IdDeleteSong);
    EXPECT_EQ(g.Current(), P(1, -1));
}

TEST(DeleteRulesTest, ImportingTheSameFolderReplacesTheAlbumInPlace)
{
    MusicFixture f(0, {2, 2});
    ASSERT_TRUE(f.controller->PlaySong(1, 1));
    // The same folder, now spelt in other letter case, counts as the same album.
    std::filesystem::rename(f.dir.file("album1"), f.dir.file("ALBUM1"));
    f.dir.write("ALBUM1/t9.mp3", "");
    f.host.folderToChoose = wxString::FromUTF8(f.dir.file("ALBUM1"));
    f.controller->Execute(MusicCommand::ImportAlbum, CommandOrigin::Window);
    ASSERT_EQ(f.library.Albums().size(), 2u);
    EXPECT_EQ(f.library.Albums()[1].songs.size(), 3u);
    EXPECT_FALSE(f.library.HasCurrent()) << "replacing the playing album stops it";
    EXPECT_EQ(f.host.LastStatus(), U("已导入专辑：ALBUM1。"));

    // A new folder is appended; a folder without audio or a missing one is refused.
    f.dir.write("新专辑/歌.wma", "");
    f.host.folderToChoose = wxString::FromUTF8(f.dir.file("新专辑"));
    f.controller->Execute(MusicCommand::ImportAlbum, CommandOrigin::Window);
    ASSERT_EQ(f.library.Albums().size(), 3u);
    EXPECT_EQ(f.library.Albums()[2].name, U("新专辑"));
    EXPECT_EQ(LoadMusicSettings(f.store).albumFolders.size(), 3u);
    f.dir.write("无音频/a.txt", "");
    f.host.folderToChoose = wxString::FromUTF8(f.dir.file("无音频"));
    f.controller->Execute(MusicCommand::ImportAlbum, CommandOrigin::Window);
    EXPECT_EQ(f.host.messages.back(), U("提示|当前文件夹内没有可导入的音频文件。"));
    f.host.folderToChoose = wxString::FromUTF8(f.dir.file("不存在"));
    f.controller->Execute(MusicCommand::ImportAlbum, CommandOrigin::Window);
    EXPECT_EQ(f.host.messages.back(), U("导入失败|无法打开所选文件夹。"));
    f.host.folderToChoose.reset();  // cancelled
    f.controller->Execute(MusicCommand::ImportAlbum, CommandOrigin::Window);
    EXPECT_EQ(f.host.messages.size(), 2u);
    EXPECT_EQ(f.library.Albums().size(), 3u);
}

TEST(DeleteRulesTest, FoldersDifferingOnlyInCaseStayTwoAlbumsWhereBothExist)
{
    MusicFixture f(0, {2, 1});
    f.dir.write("ALBUM0/x.mp3", "");
    wxString upper = wxString::FromUTF8(f.dir.file("ALBUM0"));
    f.host.folderToChoose = upper;
    f.controller->Execute(MusicCommand::ImportAlbum, CommandOrigin::Window);
    ASSERT_EQ(f.library.Albums().size(), 3u) << "another folder on disk: a new album";
    EXPECT_EQ(f.library.Albums()[0].songs.size(), 2u);
    EXPECT_EQ(f.library.Albums()[2].folder, upper);

    // Each spelling then replaces its own album, whichever comes first.
    f.dir.write("ALBUM0/y.mp3", "");
    f.controller->Execute(MusicCommand::ImportAlbum, CommandOrigin::Window);
    ASSERT_EQ(f.library.Albums().size(), 3u);
    EXPECT_EQ(f.library.Albums()[2].songs.size(), 2u);
    f.dir.write("album0/t5.ogg", "");
    f.host.folderToChoose = wxString::FromUTF8(f.dir.file("album0"));
    f.controller->Execute(MusicCommand::ImportAlbum, CommandOrigin::Window);
    ASSERT_EQ(f.library.Albums().size(), 3u);
    EXPECT_EQ(f.library.Albums()[0].songs.size(), 3u);
    EXPECT_EQ(f.library.FindAlbum(wxString::FromUTF8(f.dir.file("Album0"))), 0)
        << "a spelling that names no folder matches without case";
}

TEST(DeleteRulesTest, AddingFilesKeepsDuplicatesAndRefusesOthers)
{
    MusicFixture f(1, {});
    f.host.filesToChoose = std::vector<wxString>{f.PathOf(0, -1), U("/x/clip.mp4"), U("/x/新歌.FLAC")};
    f.controller->Execute(MusicCommand::AddFiles, CommandOrigin::Window);
    EXPECT_EQ(f.library.Playlist().size(), 3u);
    EXPECT_EQ(f.host.LastStatus(), U("已加入 2 首歌曲到播放列表。"));
    EXPECT_EQ(LoadMusicSettings(f.store).playlistPaths.size(), 3u);
    f.host.filesToChoose = std::vector<wxString>{U("/x/clip.mp4")};
    f.controller->Execute(MusicCommand::AddFiles, CommandOrigin::Window);
    EXPECT_EQ(f.host.messages.back(), U("提示|没有可加入播放列表的音频文件。"));
    EXPECT_EQ(f.library.Playlist().size(), 3u);
}

}  // namespace
