// The music controller on the real audio engine (null output) with real
// decoded files: the end of a song found by the status tick starts the next.
#include "music/audio_player_playback.h"
#include "music/music_controller.h"
#include "music/music_fakes.h"
#include "support/temp_dir.h"
#include "support/test_media.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace {

AudioEngineOptions SilentEngine() {
    AudioEngineOptions options;
    options.audioOutputs = "null";
    options.networkTimeoutSeconds = 5;
    options.localLoadTimeoutSeconds = 5;
    return options;
}

struct RealPlayerTest : ::testing::Test {
    qtest::TempDir dir;
    SettingsStore store{wxString::FromUTF8(dir.file("config"))};
    AudioPlayer audio{SilentEngine()};
    AudioPlayerPlayback playback{audio};
    MusicLibrary library;
    RecordingHost host;
    MusicController controller{library, playback, host, store};

    void SetUp() override
    {
        MusicSettings settings;
        settings.playlistPaths = {
            wxString::FromUTF8(qtest::MakeMedia(dir.path(), "第一首.wav", qtest::MediaKind::Wav, 0.4)),
            wxString::FromUTF8(qtest::MakeMedia(dir.path(), "second.ogg", qtest::MediaKind::Ogg, 0.4)),
        };
        SaveMusicSettings(store, settings);
        controller.RebuildLibrary();
        ASSERT_EQ(library.Playlist().size(), 2u);
    }

    // What the window does: drain the player's events, tick every 50 ms
    // while the timer runs.
    bool TickUntil(const std::function<bool()>& done, double seconds = 5)
    {
        auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
        while (std::chrono::steady_clock::now() < end) {
            audio.DrainEvents();
            if (host.timerRunning) controller.OnStatusTick();
            if (done()) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return done();
    }
};

TEST_F(RealPlayerTest, SongsFollowEachOtherAndStopAtTheEndInOrder)
{
    ASSERT_TRUE(controller.PlaySong(0, -1)) << audio.GetLastError().utf8_string();
    EXPECT_TRUE(playback.IsPlaying());
    EXPECT_NEAR(playback.GetLength(), 0.4, 0.05);
    ASSERT_TRUE(TickUntil([&] { return library.CurrentSong() == 1; }));
    ASSERT_TRUE(TickUntil([&] { return !host.timerRunning; }));
    EXPECT_EQ(library.CurrentSong(), 1) << "the last song stays recorded";
    EXPECT_TRUE(controller.MusicStatusText().StartsWith(wxString::FromUTF8("已停止：second [")))
        << controller.MusicStatusText().utf8_string();
}

TEST_F(RealPlayerTest, RepeatListWrapsAndPauseHoldsTheSong)
{
    library.SetPlayMode(PlayRepeatList);
    ASSERT_TRUE(controller.PlaySong(1, -1));
    ASSERT_TRUE(TickUntil([&] { return library.CurrentSong() == 0; }));
    controller.Execute(MusicCommand::PauseOrResume, CommandOrigin::Window);
    EXPECT_TRUE(playback.IsPaused());
    TickUntil([] { return false; }, 0.6);  // longer than the song: paused is not ended
    EXPECT_EQ(library.CurrentSong(), 0);
    EXPECT_TRUE(playback.IsPaused());
    EXPECT_EQ(controller.BuildRows().rows[0].text, wxString::FromUTF8("Ⅱ 播放列表（2首）"));
}

TEST_F(RealPlayerTest, RepeatOneStartsTheEndedSongAgain)
{
    library.SetPlayMode(PlayRepeatOne);
    ASSERT_TRUE(controller.PlaySong(0, -1));
    // Three lengths of the song: in order it would have moved on and then
    // stopped; repeated, the ended file starts again without a reopen.
    TickUntil([] { return false; }, 1.2);
    EXPECT_EQ(library.CurrentSong(), 0);
    EXPECT_TRUE(host.timerRunning);
    EXPECT_TRUE(playback.IsPlaying()) << audio.GetLastError().utf8_string();
    EXPECT_LT(playback.GetPosition(), 0.4);
}

TEST_F(RealPlayerTest, AFileThatCannotBeDecodedIsReported)
{
    wxString garbage = wxString::FromUTF8(qtest::MakeGarbage(dir.path(), "坏的.mp3"));
    host.filesToChoose = std::vector<wxString>{garbage};
    controller.Execute(MusicCommand::AddFiles, CommandOrigin::Window);
    controller.ActivateRow(MusicRow{MusicRowType::Song, "x", -1, 2});
    ASSERT_FALSE(host.messages.empty());
    EXPECT_TRUE(host.messages.back().StartsWith(wxString::FromUTF8("播放失败|"))) << host.messages.back();
    EXPECT_GT(host.messages.back().length(), wxString::FromUTF8("播放失败|").length());
}

}  // namespace
