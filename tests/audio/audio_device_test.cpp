// Output devices on a private PulseAudio with two null sinks: listing,
// switching while playing or paused, and refusals. Skipped, visibly, when
// no PulseAudio can be started.
#include "audio/audio_test_support.h"
#include "audio/pulse_sinks.h"
#include "support/temp_dir.h"
#include "support/test_media.h"

#include <gtest/gtest.h>

namespace {

using qtest::U8;

class AudioDevices : public ::testing::Test {
protected:
    void SetUp() override {
        if (!pulse_.Available()) GTEST_SKIP() << "pulseaudio could not be started: device switching untested";
        options_.audioOutputs = "pulse,null";
        path_ = qtest::MakeMedia(dir_.path(), "ten.wav", qtest::MediaKind::Wav, 10.0);
    }

    // Waits until PulseAudio shows exactly the expected streams' sinks.
    bool StreamsOn(AudioPlayer& player, const std::string& sinks) {
        return player.WaitUntil([&] { return pulse_.SinksOfStreams() == sinks; }, 5);
    }

    qtest::PulseSinks pulse_;
    qtest::TempDir dir_;
    AudioEngineOptions options_;
    std::string path_;
};

TEST_F(AudioDevices, TheSoundServersSinksAreListedByNumberAndName) {
    AudioPlayer player(options_);
    std::vector<OutputDevice> devices = player.ListOutputDevices();
    ASSERT_EQ(devices.size(), 2u);
    EXPECT_EQ(devices[0].index, 1);
    EXPECT_EQ(devices[0].name, wxS("Alpha"));
    EXPECT_EQ(devices[1].index, 2);
    EXPECT_EQ(devices[1].name, wxS("Beta"));
    EXPECT_EQ(player.GetCurrentDevice(), -1);  // none chosen: the system default
}

TEST_F(AudioDevices, APlayingMediumPlaysOnAtItsPositionOnTheNewDevice) {
    AudioPlayer player(options_);
    ASSERT_TRUE(player.SetVolume(0.4f));
    ASSERT_TRUE(player.SwitchOutputDevice(1));
    ASSERT_TRUE(player.OpenFile(U8(path_)));
    ASSERT_TRUE(player.Play(false));
    ASSERT_TRUE(StreamsOn(player, "a"));
    ASSERT_TRUE(qtest::WaitForPosition(player, 1.0));

    double before = player.GetPosition();
    ASSERT_TRUE(player.SwitchOutputDevice(2)) << player.GetLastError().utf8_string();
    EXPECT_EQ(player.GetCurrentDevice(), 2);
    EXPECT_TRUE(player.IsPlaying());
    EXPECT_GE(player.GetPosition(), before - 0.1);
    EXPECT_LT(player.GetPosition(), before + 0.2);  // nothing skipped
    EXPECT_TRUE(StreamsOn(player, "b"));
    EXPECT_TRUE(qtest::WaitForPosition(player, before + 0.3));
    EXPECT_FLOAT_EQ(player.GetVolume(), 0.4f);
    EXPECT_EQ(player.GetSource(), U8(path_));
}

TEST_F(AudioDevices, APausedMediumStaysPausedAndTheSameDeviceChangesNothing) {
    AudioPlayer player(options_);
    ASSERT_TRUE(player.OpenFile(U8(path_)));
    ASSERT_TRUE(player.Play(false));
    ASSERT_TRUE(qtest::WaitForPosition(player, 0.5));
    ASSERT_TRUE(player.Pause());
    double held = player.GetPosition();

    ASSERT_TRUE(player.SwitchOutputDevice(2));
    EXPECT_TRUE(player.IsPaused());
    EXPECT_TRUE(StreamsOn(player, "b"));
    player.WaitUntil([] { return false; }, 0.3);
    EXPECT_NEAR(player.GetPosition(), held, 0.05);

    ASSERT_TRUE(player.SwitchOutputDevice(2));  // the device in use
    EXPECT_TRUE(player.IsPaused());
    EXPECT_NEAR(player.GetPosition(), held, 0.05);
    ASSERT_TRUE(player.Play(false));
    EXPECT_TRUE(player.IsPlaying());
}

TEST_F(AudioDevices, InvalidDevicesAreRefusedAndPlaybackGoesOn) {
    AudioPlayer player(options_);
    ASSERT_TRUE(player.OpenFile(U8(path_)));
    ASSERT_TRUE(player.Play(false));
    EXPECT_FALSE(player.SwitchOutputDevice(0));
    EXPECT_EQ(player.GetLastError(), wxString::FromUTF8("输出设备无效。"));
    EXPECT_FALSE(player.SwitchOutputDevice(-1));
    EXPECT_FALSE(player.SwitchOutputDevice(3));
    EXPECT_EQ(player.GetLastError(), wxString::FromUTF8("切换输出设备失败：无法初始化音频驱动"));
    EXPECT_TRUE(player.IsPlaying());
    EXPECT_EQ(player.GetCurrentDevice(), -1);
    EXPECT_TRUE(qtest::WaitForPosition(player, 0.3));
}

// The new output refuses the stream only after the switch has been
// accepted; the old device takes over with the medium as it was.
TEST_F(AudioDevices, AFailedSwitchFallsBackWithTheMediumPausedOrPlayingAsBefore) {
    options_.audioOutputs = "pulse";  // no silent output to hide the failure
    for (bool paused : {true, false}) {
        SCOPED_TRACE(paused ? "paused" : "playing");
        AudioPlayer player(options_);
        int failed = 0;
        player.SetNoticeHandler([&](AudioPlayer::Notice n) { failed += n == AudioPlayer::Notice::DeviceFailed; });
        ASSERT_TRUE(player.SetVolume(0.6f));
        ASSERT_TRUE(player.SwitchOutputDevice(1));
        ASSERT_TRUE(player.OpenFile(U8(path_)));
        ASSERT_TRUE(player.Play(false));
        ASSERT_TRUE(qtest::WaitForPosition(player, 0.5));
        if (paused) {
            ASSERT_TRUE(player.Pause());
        }
        double before = player.GetPosition();
        pulse_.Suspend("b");

        ASSERT_TRUE(player.SwitchOutputDevice(2));
        ASSERT_TRUE(player.WaitUntil([&] { return failed > 0; }, 5));
        EXPECT_EQ(failed, 1);
        EXPECT_EQ(player.GetLastError(), wxString::FromUTF8("切换输出设备失败：无法初始化音频驱动"));
        EXPECT_EQ(player.GetCurrentDevice(), 1);
        EXPECT_EQ(player.GetSource(), U8(path_));
        EXPECT_FLOAT_EQ(player.GetVolume(), 0.6f);
        EXPECT_EQ(player.IsPaused(), paused);
        EXPECT_EQ(player.IsPlaying(), !paused);
        EXPECT_GE(player.GetPosition(), before - 0.1);
        EXPECT_TRUE(StreamsOn(player, "a"));
        if (paused) {
            player.WaitUntil([] { return false; }, 0.3);
            EXPECT_NEAR(player.GetPosition(), before, 0.05);
        } else {
            EXPECT_TRUE(qtest::WaitForPosition(player, before + 0.3));
        }
    }
}

}  // namespace
