#include "music/music_fixture.h"
#include "music/music_view.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <optional>

namespace {

std::vector<wxString> Texts(const MusicViewRows& view)
{
    std::vector<wxString> texts;
    for (const MusicRow& row : view.rows) texts.push_back(row.text);
    return texts;
}

TEST(MusicViewTest, FormatClock)
{
    EXPECT_EQ(FormatClock(75.9), "01:15");
    EXPECT_EQ(FormatClock(6000), "100:00");
    EXPECT_EQ(FormatClock(0), "00:00");
    EXPECT_EQ(FormatClock(59.999), "00:59");
    EXPECT_EQ(FormatClock(-3), "00:00");
    EXPECT_EQ(FormatClock(std::nan("")), "00:00");
    EXPECT_EQ(FormatClock(1e300), "35791394:07");  // capped, never undefined
}

TEST(MusicViewTest, EmptyOverview)
{
    MusicFixture f(0, {});
    MusicViewRows view = f.controller->BuildRows();
    EXPECT_EQ(view.label, U("本地音乐"));
    EXPECT_EQ(Texts(view), (std::vector<wxString>{U("播放列表（0首）"), U("启用全局热键：已关闭"),
                                                   U("当前还没有本地音乐。按 Ctrl+I 选择文件夹，按 Ctrl+O 添加单曲。")}));
    EXPECT_EQ(view.rows[0].type, MusicRowType::Playlist);
    EXPECT_EQ(view.rows[1].type, MusicRowType::Hotkeys);
    EXPECT_EQ(view.rows[2].type, MusicRowType::Notice);
    EXPECT_EQ(view.selectRow, 0);
    f.library.ShowPlaylist();
    view = f.controller->BuildRows();
    EXPECT_EQ(view.label, U("播放列表"));
    EXPECT_EQ(Texts(view), std::vector<wxString>{U("播放列表为空。按 Ctrl+O 添加歌曲。")});
}

TEST(MusicViewTest, OverviewMarksTheCurrentSourceAndSelectsTheCurrentAlbum)
{
    MusicFixture f(2, {3, 1});
    f.library.SetHotkeysEnabled(true);
    MusicViewRows view = f.controller->BuildRows();
    EXPECT_EQ(Texts(view), (std::vector<wxString>{U("播放列表（2首）"), U("专辑：album0（3首）"),
                                                   U("专辑：album1（1首）"), U("启用全局热键：已启用")}));
    EXPECT_EQ(view.rows[2].albumIndex, 1);

    ASSERT_TRUE(f.controller->PlaySong(0, 1));
    view = f.controller->BuildRows();
    EXPECT_EQ(view.rows[2].text, U("▶ 专辑：album1（1首）"));
    EXPECT_EQ(view.rows[0].text, U("播放列表（2首）"));
    EXPECT_EQ(view.selectRow, 2);
    f.player.Pause();
    EXPECT_EQ(f.controller->BuildRows().rows[2].text, U("Ⅱ 专辑：album1（1首）"));

    ASSERT_TRUE(f.controller->PlaySong(1, -1));
    view = f.controller->BuildRows();
    EXPECT_EQ(view.rows[0].text, U("▶ 播放列表（2首）"));
    EXPECT_EQ(view.selectRow, 0);
}

TEST(MusicViewTest, SongLinesCarryMarkersAndPlaylistSources)
{
    MusicFixture f(2, {2});
    f.host.filesToChoose = std::vector<wxString>{f.library.Albums()[0].songs[0].path};
    f.controller->Execute(MusicCommand::AddFiles, CommandOrigin::Window);
    f.library.ShowPlaylist();
    ASSERT_TRUE(f.controller->PlaySong(1, -1));
    MusicViewRows view = f.controller->BuildRows();
    EXPECT_EQ(Texts(view), (std::vector<wxString>{U("s0 | 播放列表"), U("▶ s1 | 播放列表"), U("t0 | 播放列表")}));
    EXPECT_EQ(view.selectRow, 1);
    EXPECT_EQ(view.rows[1].songIndex, 1);
    EXPECT_EQ(view.rows[1].albumIndex, -1);
    f.player.FinishSong();
    EXPECT_EQ(f.controller->BuildRows().rows[1].text, U("■ s1 | 播放列表"));

    // The same index in an album is not the playlist's current song.
    ASSERT_TRUE(f.library.ShowAlbum(0));
    view = f.controller->BuildRows();
    EXPECT_EQ(view.label, U("专辑 - album0"));
    EXPECT_EQ(Texts(view), (std::vector<wxString>{U("t0"), U("t1")}));
    EXPECT_EQ(view.selectRow, 0);
    ASSERT_TRUE(f.controller->PlaySong(1, 0));
    f.player.Pause();
    view = f.controller->BuildRows();
    EXPECT_EQ(Texts(view), (std::vector<wxString>{U("t0"), U("Ⅱ t1")}));
    EXPECT_EQ(view.selectRow, 1);
}

TEST(MusicViewTest, AVanishedOpenAlbumFallsBackToTheOverview)
{
    MusicFixture f(0, {1});
    ASSERT_TRUE(f.library.ShowAlbum(0));
    f.library.RemoveAlbum(0);
    MusicViewRows view = f.controller->BuildRows();
    EXPECT_EQ(view.label, U("本地音乐"));
    EXPECT_EQ(f.library.MusicLevel(), 0);
}

const char* const kKeysHint =
    " Ctrl+I 导入专辑，Ctrl+O 添加文件，Ctrl+左右快退快进，Ctrl+上下调音量，Ctrl+Home 暂停或继续，Ctrl+End "
    "从头播放，Ctrl+PageUp/PageDown 切换歌曲，Ctrl+Shift+PageUp/PageDown 切换声卡，Ctrl+Shift+Z 隐藏或显示窗口。";

TEST(MusicViewTest, StatusSentenceForEachState)
{
    MusicFixture f(1, {});
    EXPECT_EQ(f.controller->MusicStatusText(),
              U("当前未播放歌曲 设备：未发现可用声卡。模式：按顺序播放。全局热键已关闭。 回车进入播放列表或专辑。") +
                  U(kKeysHint));

    f.player.devices = {{1, U("内置声卡")}, {2, U("USB 耳机")}};
    f.player.device = 2;
    f.library.SetPlayMode(PlayRandom);
    f.library.SetHotkeysEnabled(true);
    f.library.ShowPlaylist();
    ASSERT_TRUE(f.controller->PlaySong(0, -1));
    f.player.position = 75.9;
    f.player.length = 6000;
    EXPECT_EQ(f.controller->MusicStatusText(),
              U("正在播放：s0 [01:15/100:00] 设备：USB 耳机。模式：随机播放。全局热键已启用。 回车播放，退格返回上一层。") +
                  U(kKeysHint));
    f.player.Pause();
    EXPECT_TRUE(f.controller->MusicStatusText().StartsWith(U("已暂停：s0 [01:15/100:00] ")));

    // Status is written only in the music category.
    f.host.statuses.clear();
    f.host.shown = false;
    f.controller->UpdateMusicStatus();
    f.controller->OnStatusTick();
    EXPECT_TRUE(f.host.statuses.empty());
}

TEST(MusicViewTest, ModeNames)
{
    EXPECT_EQ(PlayModeName(0), U("按顺序播放"));
    EXPECT_EQ(PlayModeName(1), U("单曲循环"));
    EXPECT_EQ(PlayModeName(2), U("列表循环"));
    EXPECT_EQ(PlayModeName(3), U("倒序播放"));
    EXPECT_EQ(PlayModeName(4), U("随机播放"));
    EXPECT_EQ(PlayModeName(9), U("按顺序播放"));
}

// A render after a song change, a pause or a stop rewrites only the marked
// rows. Applied to the rows shown before, those updates must give exactly
// what building the whole view gives, in every view; anything that changes
// the songs, the albums or the view's position asks for a full build.
TEST(MusicViewTest, RowUpdatesMatchAFullBuild)
{
    MusicFixture f(6, {3, 4});
    struct Step {
        const char* what;
        std::function<void(MusicFixture&)> act;
        PlayerMarks marks;
        bool partial;
    };
    std::vector<Step> steps = {
        {"first song", [](MusicFixture& m) { m.library.SetCurrent(2, -1); }, {true, false}, true},
        {"next song", [](MusicFixture& m) { m.library.SetCurrent(3, -1); }, {true, false}, true},
        {"paused", [](MusicFixture&) {}, {false, true}, true},
        {"ended", [](MusicFixture&) {}, {false, false}, true},
        {"album song", [](MusicFixture& m) { m.library.SetCurrent(1, 1); }, {true, false}, true},
        {"other album", [](MusicFixture& m) { m.library.SetCurrent(0, 0); }, {true, false}, true},
        {"stopped", [](MusicFixture& m) { m.library.ClearCurrent(); }, {false, false}, true},
        {"song removed", [](MusicFixture& m) { m.library.RemoveSong(0, -1); }, {false, false}, false},
        {"files added", [](MusicFixture& m) { m.library.AddFiles({m.PathOf(1, -1)}); }, {false, false}, false},
        {"hotkeys", [](MusicFixture& m) { m.library.SetHotkeysEnabled(true); }, {false, false}, false},
    };
    for (int level : {0, 1, 2}) {
        f.controller->RebuildLibrary();
        if (level == 1) f.library.ShowPlaylist();
        if (level == 2) f.library.ShowAlbum(1);
        MusicViewRows shown = BuildMusicRows(f.library, PlayerMarks{});
        MusicViewStamp stamp = StampMusicView(f.library, shown);
        for (const Step& step : steps) {
            SCOPED_TRACE(std::string(step.what) + " in view " + std::to_string(level));
            step.act(f);
            std::optional<MusicRowUpdate> update = UpdateMusicRows(f.library, step.marks, stamp);
            MusicViewRows built = BuildMusicRows(f.library, step.marks);
            ASSERT_EQ(update.has_value(), step.partial);
            if (!update) {
                shown = built;
                stamp = StampMusicView(f.library, shown);
                continue;
            }
            EXPECT_LE(update->rows.size(), 2u);
            for (auto& [row, content] : update->rows) shown.rows[static_cast<size_t>(row)] = content;
            EXPECT_EQ(Texts(shown), Texts(built));
            EXPECT_EQ(update->selectRow, built.selectRow);
        }
    }
}

}  // namespace
