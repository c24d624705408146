#include "music/music_fixture.h"

#include <gtest/gtest.h>

#include <random>
#include <set>

namespace {

std::pair<int, int> P(int song, int album) { return {song, album}; }

TEST(PlayModesTest, PlaySongOpensOnlyWhenTheSongChanges)
{
    MusicFixture f(3, {2});
    ASSERT_TRUE(f.controller->PlaySong(1, -1));
    EXPECT_EQ(f.player.media, f.PathOf(1, -1));
    EXPECT_EQ(f.library.CurrentSource(), SourcePlaylist);
    EXPECT_EQ(f.Current(), P(1, -1));
    EXPECT_TRUE(f.host.timerRunning);
    EXPECT_EQ(f.host.renders, 1);

    f.player.calls.clear();
    ASSERT_TRUE(f.controller->PlaySong(1, -1));  // same song: restart without reopening
    EXPECT_EQ(f.player.calls, (std::vector<std::string>{"play restart"}));
    EXPECT_EQ(f.host.timerStarts, 1);

    ASSERT_TRUE(f.controller->PlaySong(1, 0));  // same index, other source
    EXPECT_EQ(f.player.media, f.PathOf(1, 0));
    EXPECT_EQ(f.library.CurrentSource(), SourceAlbum);
    EXPECT_EQ(f.Current(), P(1, 0));

    EXPECT_FALSE(f.controller->PlaySong(3, -1));
    EXPECT_FALSE(f.controller->PlaySong(0, 1));
    EXPECT_FALSE(f.controller->PlaySong(-1, -1));
    EXPECT_EQ(f.Current(), P(1, 0)) << "failed calls leave the current song alone";
}

TEST(PlayModesTest, FailuresToOpenOrPlayLeaveTheCurrentSong)
{
    MusicFixture f(2, {});
    ASSERT_TRUE(f.controller->PlaySong(0, -1));
    f.player.unopenable.push_back(f.PathOf(1, -1));
    EXPECT_FALSE(f.controller->PlaySong(1, -1));
    EXPECT_EQ(f.Current(), P(0, -1));
    f.player.failPlay = true;
    EXPECT_FALSE(f.controller->PlaySong(0, -1));
    EXPECT_EQ(f.Current(), P(0, -1));
}

TEST(PlayModesTest, InOrderStopsAtBothEnds)
{
    MusicFixture f(3, {});
    ASSERT_TRUE(f.controller->PlaySong(2, -1));
    EXPECT_FALSE(f.controller->StepSong(1));
    EXPECT_EQ(f.Current(), P(2, -1));
    ASSERT_TRUE(f.controller->StepSong(-1));
    ASSERT_TRUE(f.controller->StepSong(-1));
    EXPECT_EQ(f.Current(), P(0, -1));
    EXPECT_FALSE(f.controller->StepSong(-1));
    EXPECT_FALSE(f.controller->StepSong(0));
}

TEST(PlayModesTest, RepeatOneRepeatListAndReverse)
{
    MusicFixture f(3, {});
    f.library.SetPlayMode(PlayRepeatOne);
    ASSERT_TRUE(f.controller->PlaySong(1, -1));
    ASSERT_TRUE(f.controller->StepSong(1));
    EXPECT_EQ(f.Current(), P(1, -1));

    f.library.SetPlayMode(PlayRepeatList);
    ASSERT_TRUE(f.controller->PlaySong(2, -1));
    ASSERT_TRUE(f.controller->StepSong(1));
    EXPECT_EQ(f.Current(), P(0, -1));
    ASSERT_TRUE(f.controller->StepSong(-1));
    EXPECT_EQ(f.Current(), P(2, -1));

    f.library.SetPlayMode(PlayReverse);
    ASSERT_TRUE(f.controller->StepSong(1));  // "next" goes up the list
    EXPECT_EQ(f.Current(), P(1, -1));
    ASSERT_TRUE(f.controller->StepSong(1));
    EXPECT_EQ(f.Current(), P(0, -1));
    EXPECT_FALSE(f.controller->StepSong(1));
    ASSERT_TRUE(f.controller->StepSong(-1));
    EXPECT_EQ(f.Current(), P(1, -1));
}

TEST(PlayModesTest, RandomNeverRepeatsAndSingleSongRepeats)
{
    MusicFixture f(1, {2, 5});
    f.library.SetPlayMode(PlayRandom);
    ASSERT_TRUE(f.controller->PlaySong(0, -1));
    ASSERT_TRUE(f.controller->StepSong(1));
    EXPECT_EQ(f.Current(), P(0, -1));

    ASSERT_TRUE(f.controller->PlaySong(0, 0));
    for (int i = 0; i < 6; ++i) {
        f.draws.push_back(0);
        ASSERT_TRUE(f.controller->StepSong(1));
        EXPECT_EQ(f.library.CurrentSong(), (i + 1) % 2) << "two songs always alternate";
    }
    // Draws among the others map past the current song.
    ASSERT_TRUE(f.controller->PlaySong(2, 1));
    f.draws = {0, 1, 2, 3};
    std::vector<int> seen;
    for (int i = 0; i < 4; ++i) {
        f.drawBounds.clear();
        ASSERT_TRUE(f.controller->StepSong(1));
        EXPECT_EQ(f.drawBounds, std::vector<int>{4});
        seen.push_back(f.library.CurrentSong());
    }
    EXPECT_EQ(seen, (std::vector<int>{0, 2, 3, 4}));
}

TEST(PlayModesTest, RandomWithTheRealGeneratorCoversAllOtherSongs)
{
    MusicFixture f(0, {5});
    MusicController real(f.library, f.player, f.host, f.store);  // the system-seeded generator
    f.library.SetPlayMode(PlayRandom);
    ASSERT_TRUE(real.PlaySong(0, 0));
    std::set<int> seen;
    int previous = 0;
    for (int i = 0; i < 400; ++i) {
        ASSERT_TRUE(real.StepSong(1));
        int now = f.library.CurrentSong();
        ASSERT_NE(now, previous);
        seen.insert(now);
        previous = now;
    }
    EXPECT_EQ(seen.size(), 5u);
}

TEST(PlayModesTest, StartPickWithoutCurrentSong)
{
    MusicFixture f(3, {0, 4});  // album0 has no files and is dropped at rebuild
    ASSERT_EQ(f.library.Albums().size(), 1u);
    // The selected song row wins.
    f.host.selected = MusicRow{MusicRowType::Song, "x", 0, 2};
    ASSERT_TRUE(f.controller->StepSong(-1));
    EXPECT_EQ(f.Current(), P(2, 0));
    f.controller->StopPlayback();

    // An open album: its first or last song.
    f.host.selected = MusicRow{MusicRowType::Album, "x", 0, -1};
    ASSERT_TRUE(f.library.ShowAlbum(0));
    ASSERT_TRUE(f.controller->StepSong(-1));
    EXPECT_EQ(f.Current(), P(3, 0));
    f.controller->StopPlayback();

    // Otherwise the playlist.
    f.library.ShowOverview();
    ASSERT_TRUE(f.controller->StepSong(1));
    EXPECT_EQ(f.Current(), P(0, -1));
    f.controller->StopPlayback();
    ASSERT_TRUE(f.controller->StepSong(-1));
    EXPECT_EQ(f.Current(), P(2, -1));
}

TEST(PlayModesTest, StartPickFallsBackToTheFirstAlbumWithSongs)
{
    MusicFixture f(0, {3});
    ASSERT_TRUE(f.controller->StepSong(-1));
    EXPECT_EQ(f.Current(), P(2, 0));
    MusicFixture empty(0, {});
    EXPECT_FALSE(empty.controller->StepSong(1));
    EXPECT_TRUE(empty.player.calls.empty());
}

TEST(PlayModesTest, StopPlaybackClearsTheSongAndTimer)
{
    MusicFixture f(2, {});
    ASSERT_TRUE(f.controller->PlaySong(0, -1));
    int renders = f.host.renders;
    f.controller->StopPlayback();
    EXPECT_FALSE(f.library.HasCurrent());
    EXPECT_EQ(f.library.CurrentAlbum(), -1);
    EXPECT_FALSE(f.host.timerRunning);
    EXPECT_EQ(f.player.calls.back(), "stop");
    EXPECT_EQ(f.host.renders, renders + 1);
    f.host.shown = false;
    f.controller->StopPlayback();
    EXPECT_EQ(f.host.renders, renders + 1) << "no re-render outside the music category";
}

TEST(PlayModesTest, EndOfSongStartsTheNextOrStopsTheTimer)
{
    MusicFixture f(2, {});
    ASSERT_TRUE(f.controller->PlaySong(0, -1));
    f.controller->OnStatusTick();  // still playing: only the status
    EXPECT_EQ(f.Current(), P(0, -1));
    EXPECT_TRUE(f.host.LastStatus().StartsWith(U("正在播放：s0")));

    f.player.FinishSong();
    f.controller->OnStatusTick();
    EXPECT_EQ(f.Current(), P(1, -1));
    EXPECT_TRUE(f.player.playing);

    f.player.FinishSong();
    int renders = f.host.renders;
    f.controller->OnStatusTick();  // in order, at the last song: nothing follows
    EXPECT_FALSE(f.host.timerRunning);
    EXPECT_EQ(f.host.renders, renders + 1);
    EXPECT_EQ(f.Current(), P(1, -1)) << "the ended song stays recorded";
    EXPECT_TRUE(f.controller->MusicStatusText().StartsWith(U("已停止：s1 [")));

    // A paused song has not ended.
    f.library.SetPlayMode(PlayRepeatOne);
    ASSERT_TRUE(f.controller->PlaySong(1, -1));
    ASSERT_TRUE(f.player.Pause());
    f.controller->OnStatusTick();
    EXPECT_TRUE(f.player.paused);
    f.player.FinishSong();
    f.player.calls.clear();
    f.controller->OnStatusTick();
    EXPECT_EQ(f.Current(), P(1, -1));
    EXPECT_EQ(f.player.calls, (std::vector<std::string>{"play restart"}));
}

// A song the player drops while it plays counts as ended for the
// end-of-song rule, and the status line says which song failed and why.
TEST(PlayModesTest, ASongDroppedWhilePlayingIsTreatedAsEndedAndReported)
{
    const wxString why = U("播放失败：无法初始化音频驱动");
    struct Case {
        int mode;
        int from;
        int next;  // -1: nothing follows
    };
    const Case cases[] = {{PlayInOrder, 0, 1}, {PlayInOrder, 1, -1}, {PlayRepeatOne, 1, 1}, {PlayRepeatList, 1, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "mode " << c.mode << " from " << c.from);
        MusicFixture f(2, {});
        f.library.SetPlayMode(c.mode);
        ASSERT_TRUE(f.controller->PlaySong(c.from, -1));
        f.player.DropSong(why);
        f.controller->OnStatusTick();  // a tick before the news changes nothing
        EXPECT_EQ(f.Current(), P(c.from, -1));
        f.controller->MediaFailed();
        f.controller->OnStatusTick();
        const wxString said = wxString::Format(U("《s%d》播放失败：无法初始化音频驱动。"), c.from);
        EXPECT_EQ(f.host.LastStatus(), said);
        ASSERT_FALSE(f.host.announcements.empty());
        EXPECT_EQ(f.host.announcements.back(), said);
        if (c.next >= 0) {
            EXPECT_EQ(f.Current(), P(c.next, -1));
            EXPECT_TRUE(f.player.playing);
            EXPECT_TRUE(f.host.timerRunning);
        } else {
            EXPECT_FALSE(f.host.timerRunning) << "the timer does not run on for nothing";
            EXPECT_EQ(f.Current(), P(c.from, -1));
        }
        // The news is used once: the next tick is an ordinary one.
        f.controller->OnStatusTick();
        EXPECT_NE(f.host.LastStatus(), said);
    }
}

}  // namespace
