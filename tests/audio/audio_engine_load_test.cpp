// The audio libraries are opened on first use: nothing before, the usual
// error texts while they cannot be opened, and playback once they can.
#include "audio/audio_test_support.h"
#include "platform/audio_library.h"
#include "support/test_media.h"

#include <gtest/gtest.h>

namespace {

using qtest::NullOutput;
using qtest::U8;

TEST(AudioEngineLoading, NothingIsLoadedUntilTheFirstSoundAndAMissingLibraryIsAnError) {
    const auto& media = qtest::SharedMedia();
    ASSERT_FALSE(AudioEngineLoaded());
    AudioPlayer player(NullOutput());
    // What needs no engine works without one.
    EXPECT_TRUE(player.SetVolume(0.5f));
    EXPECT_TRUE(player.Stop());
    EXPECT_EQ(player.GetLength(), 0.0);
    EXPECT_EQ(player.GetCurrentDevice(), -1);
    EXPECT_FALSE(AudioEngineLoaded());

    // A system without libmpv: every way in answers with the usual texts.
    SetMpvLibraryNameForTesting("libquillery-no-such-mpv.so.2");
    EXPECT_FALSE(player.OpenFile(U8(media.wav)));
    EXPECT_EQ(player.GetLastError(), U8("初始化播放器失败：无法初始化音频驱动"));
    EXPECT_FALSE(player.OpenUrl(U8("http://127.0.0.1:9/a.mp3")));
    EXPECT_EQ(player.GetLastError(), U8("初始化播放器失败：无法初始化音频驱动"));
    EXPECT_FALSE(player.Play(false));
    EXPECT_EQ(player.GetLastError(), U8("当前没有可播放的媒体。"));
    EXPECT_TRUE(player.ListOutputDevices().empty());
    EXPECT_FALSE(player.SwitchOutputDevice(1));
    EXPECT_EQ(player.GetLastError(), U8("切换输出设备失败：无法初始化音频驱动"));
    EXPECT_FALSE(player.HasMedia());
    EXPECT_FALSE(AudioEngineLoaded());

    // Once the library can be opened, the same player plays.
    SetMpvLibraryNameForTesting("");
    ASSERT_TRUE(player.OpenFile(U8(media.mp3))) << player.GetLastError().utf8_string();
    EXPECT_TRUE(AudioEngineLoaded());
    ASSERT_TRUE(player.Play(true));
    // The exact length is counted after the sound has begun, yet reads as
    // known as soon as it is asked for.
    EXPECT_NEAR(player.GetLength(), media.seconds, 0.03);
    EXPECT_TRUE(qtest::WaitForPosition(player, 0.2));
    EXPECT_FLOAT_EQ(player.GetVolume(), 0.5f);
}

}  // namespace
