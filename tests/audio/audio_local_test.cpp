// The player on local files of every format, decoded by the real engine on
// the null output.
#include "audio/audio_test_support.h"
#include "support/temp_dir.h"
#include "support/test_media.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using qtest::NullOutput;
using qtest::U8;

const wxString kNoMedia = wxString::FromUTF8("当前没有可暂停的媒体。");

TEST(AudioLocal, EveryFormatOpensStoppedWithItsExactLength) {
    const auto& m = qtest::SharedMedia();
    AudioPlayer player(NullOutput());
    for (const std::string& path : {m.wav, m.mp3, m.mp3NoXing, m.flac, m.ogg, m.m4a, m.mp4, m.chineseName}) {
        SCOPED_TRACE(path);
        ASSERT_TRUE(player.OpenFile(U8(path))) << player.GetLastError().utf8_string();
        EXPECT_TRUE(player.HasMedia());
        EXPECT_EQ(player.GetSource(), U8(path));
        EXPECT_FALSE(player.IsPlaying());  // opening does not start playback
        EXPECT_FALSE(player.IsPaused());
        // Without a LAME header the decoder cannot drop the encoder's delay
        // and padding, so they are part of what is heard (under 3 frames).
        EXPECT_NEAR(player.GetLength(), m.seconds, path == m.mp3NoXing ? 0.06 : 0.03);
        EXPECT_EQ(player.GetPosition(), 0.0);
    }
}

TEST(AudioLocal, VbrMp3WithoutXingHeaderHasItsRealLength) {
    qtest::TempDir dir;
    std::string path = qtest::MakeMedia(dir.path(), "long.mp3", qtest::MediaKind::Mp3NoXing, 40.0);
    AudioPlayer player(NullOutput());
    ASSERT_TRUE(player.OpenFile(U8(path)));
    EXPECT_NEAR(player.GetLength(), 40.0, 0.06);  // a bitrate guess would say far more
}

TEST(AudioLocal, PlayPauseResumeRestartAndStop) {
    const auto& m = qtest::SharedMedia();
    AudioPlayer player(NullOutput());
    ASSERT_TRUE(player.OpenFile(U8(m.ogg)));
    ASSERT_TRUE(player.Play(false));
    EXPECT_TRUE(player.IsPlaying());
    ASSERT_TRUE(qtest::WaitForPosition(player, 0.5));

    ASSERT_TRUE(player.Pause());
    EXPECT_TRUE(player.IsPaused());
    EXPECT_FALSE(player.IsPlaying());
    double held = player.GetPosition();
    player.WaitUntil([] { return false; }, 0.3);
    EXPECT_NEAR(player.GetPosition(), held, 0.05);
    EXPECT_FALSE(player.Pause());  // a second pause is refused, as the state is already there
    EXPECT_EQ(player.GetLastError(), wxString::FromUTF8("暂停失败：状态已就绪"));

    ASSERT_TRUE(player.Play(false));  // resume keeps the position
    EXPECT_TRUE(player.IsPlaying());
    EXPECT_GE(player.GetPosition(), held - 0.05);

    ASSERT_TRUE(player.Play(true));  // restart goes back to the start
    EXPECT_LT(player.GetPosition(), held);
    EXPECT_TRUE(player.IsPlaying());

    ASSERT_TRUE(qtest::WaitForPosition(player, 0.3));
    ASSERT_TRUE(player.Stop());
    EXPECT_FALSE(player.IsPlaying());
    EXPECT_FALSE(player.IsPaused());
    EXPECT_TRUE(player.HasMedia());  // the medium stays open
    ASSERT_TRUE(player.Play(false));
    EXPECT_TRUE(player.IsPlaying());
}

TEST(AudioLocal, WithoutMediaOnlyStopAndVolumeSucceed) {
    AudioPlayer player(NullOutput());
    EXPECT_TRUE(player.Stop());
    EXPECT_FALSE(player.Pause());
    EXPECT_EQ(player.GetLastError(), kNoMedia);
    EXPECT_FALSE(player.Play(false));
    EXPECT_EQ(player.GetLastError(), wxString::FromUTF8("当前没有可播放的媒体。"));
    EXPECT_FALSE(player.SeekBy(5));
    EXPECT_EQ(player.GetLastError(), wxString::FromUTF8("当前没有可定位的媒体。"));
    EXPECT_EQ(player.GetLength(), 0.0);
    EXPECT_EQ(player.GetPosition(), 0.0);
    EXPECT_FALSE(player.HasMedia());

    EXPECT_TRUE(player.SetVolume(1.3f));
    EXPECT_EQ(player.GetVolume(), 1.0f);
    EXPECT_TRUE(player.SetVolume(-0.2f));
    EXPECT_EQ(player.GetVolume(), 0.0f);
    EXPECT_TRUE(player.SetVolume(0.35f));
    EXPECT_FLOAT_EQ(player.GetVolume(), 0.35f);
    // A success leaves the last failure text in place.
    EXPECT_EQ(player.GetLastError(), wxString::FromUTF8("当前没有可定位的媒体。"));
}

TEST(AudioLocal, VolumeSurvivesOpeningAndClampsWithMedia) {
    const auto& m = qtest::SharedMedia();
    AudioPlayer player(NullOutput());
    ASSERT_TRUE(player.SetVolume(0.25f));
    ASSERT_TRUE(player.OpenFile(U8(m.wav)));
    EXPECT_FLOAT_EQ(player.GetVolume(), 0.25f);
    EXPECT_TRUE(player.SetVolume(7.0f));
    EXPECT_EQ(player.GetVolume(), 1.0f);
    EXPECT_FALSE(player.SetVolume(std::nanf("")));
    EXPECT_EQ(player.GetVolume(), 1.0f);
}

TEST(AudioLocal, SeeksAreClampedAtBothEnds) {
    const auto& m = qtest::SharedMedia();
    AudioPlayer player(NullOutput());
    ASSERT_TRUE(player.OpenFile(U8(m.flac)));
    ASSERT_TRUE(player.Play(false));
    ASSERT_TRUE(qtest::WaitForPosition(player, 0.2));
    ASSERT_TRUE(player.SeekBy(-5));
    player.WaitUntil([&] { return player.GetPosition() < 0.15; }, 2);
    EXPECT_LT(player.GetPosition(), 0.15);
    EXPECT_TRUE(player.IsPlaying());

    ASSERT_TRUE(player.SeekBy(1.0));
    player.WaitUntil([&] { return player.GetPosition() >= 1.0; }, 2);
    EXPECT_GE(player.GetPosition(), 1.0);
    ASSERT_TRUE(player.SeekBy(+5));  // 2 s before the end: lands on the end
    ASSERT_TRUE(qtest::WaitForEnd(player, 2));
    EXPECT_DOUBLE_EQ(player.GetPosition(), player.GetLength());
}

TEST(AudioLocal, AnEndedMediumIsStoppedAtItsEndAndPlaysAgainFromTheStart) {
    qtest::TempDir dir;
    std::string path = qtest::MakeMedia(dir.path(), "short.wav", qtest::MediaKind::Wav, 0.6);
    AudioPlayer player(NullOutput());
    int ended = 0;
    player.SetNoticeHandler([&](AudioPlayer::Notice n) { ended += n == AudioPlayer::Notice::MediaEnded; });
    ASSERT_TRUE(player.OpenFile(U8(path)));
    ASSERT_TRUE(player.Play(false));
    ASSERT_TRUE(qtest::WaitForEnd(player, 3));
    player.WaitUntil([&] { return ended > 0; }, 1);
    EXPECT_EQ(ended, 1);
    EXPECT_TRUE(player.HasMedia());
    EXPECT_FALSE(player.IsPaused());
    EXPECT_NEAR(player.GetPosition(), 0.6, 0.01);

    ASSERT_TRUE(player.SeekBy(-0.4));  // seeking an ended medium keeps it stopped
    player.WaitUntil([] { return false; }, 0.2);
    EXPECT_FALSE(player.IsPlaying());
    EXPECT_FALSE(player.IsPaused());
    EXPECT_NEAR(player.GetPosition(), 0.2, 0.05);

    ASSERT_TRUE(qtest::WaitForEnd(player, 1));
    ASSERT_TRUE(player.Play(false));
    EXPECT_TRUE(player.IsPlaying());
    EXPECT_LT(player.GetPosition(), 0.3);
}

TEST(AudioLocal, MissingAndCorruptFilesLeaveNoMedium) {
    const auto& m = qtest::SharedMedia();
    AudioPlayer player(NullOutput());
    ASSERT_TRUE(player.OpenFile(U8(m.wav)));
    EXPECT_FALSE(player.OpenFile(U8(m.dir + "/没有 这个.mp3")));
    EXPECT_EQ(player.GetLastError(), wxString::FromUTF8("加载本地音频失败：无法打开文件"));
    EXPECT_FALSE(player.HasMedia());  // the previous medium is gone too
    EXPECT_TRUE(player.GetSource().empty());

    EXPECT_FALSE(player.OpenFile(U8(m.garbage)));
    EXPECT_EQ(player.GetLastError(), wxString::FromUTF8("加载本地音频失败：音频格式不支持"));
    EXPECT_FALSE(player.HasMedia());
    EXPECT_FALSE(player.OpenFile(U8(m.dir)));  // a folder
    EXPECT_EQ(player.GetLastError(), wxString::FromUTF8("加载本地音频失败：无法打开文件"));
    EXPECT_FALSE(player.OpenFile(wxString()));
    EXPECT_FALSE(player.HasMedia());

    ASSERT_TRUE(player.OpenFile(U8(m.mp3)));  // and the player still works
    EXPECT_TRUE(player.Play(false));
}

TEST(AudioLocal, ReleaseDropsTheMediumButKeepsTheVolume) {
    const auto& m = qtest::SharedMedia();
    AudioPlayer player(NullOutput());
    ASSERT_TRUE(player.SetVolume(0.5f));
    ASSERT_TRUE(player.OpenFile(U8(m.wav)));
    ASSERT_TRUE(player.Play(false));
    player.Release();
    EXPECT_FALSE(player.HasMedia());
    EXPECT_FALSE(player.IsPlaying());
    EXPECT_TRUE(player.GetSource().empty());
    EXPECT_FLOAT_EQ(player.GetVolume(), 0.5f);
    ASSERT_TRUE(player.OpenFile(U8(m.wav)));  // initializes again on demand
}

TEST(AudioErrors, TextsFollowTheTable) {
    EXPECT_EQ(DescribeAudioError(AudioErrorCode::Handle), wxString::FromUTF8("句柄无效"));
    EXPECT_EQ(DescribeAudioError(AudioErrorCode::NotInitialized), wxString::FromUTF8("BASS 尚未初始化"));
    EXPECT_EQ(DescribeAudioError(AudioErrorCode::Ended), wxString::FromUTF8("媒体已结束"));
    EXPECT_EQ(DescribeAudioError(static_cast<AudioErrorCode>(23)), wxString::FromUTF8("未知错误（23）"));
    EXPECT_EQ(DescribeAudioError(static_cast<AudioErrorCode>(-1)), wxString::FromUTF8("未知错误（-1）"));
}

}  // namespace
