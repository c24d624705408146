// Output devices on a private PulseAudio with two null sinks: listing,
// switching while playing or paused, and refusals. Skipped, visibly, when
// no PulseAudio can be started.
#include "audio/audio_test_support.h"
#include "audio/pulse_sinks.h"
#include "platform/audio_library.h"
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

// The first use of the engine in this process is a device switch: it loads
// the audio libraries itself, and the next medium plays there.
TEST_F(AudioDevices, ASwitchBeforeAnythingWasLoadedLoadsTheEngine) {
    ASSERT_FALSE(AudioEngineLoaded());
    AudioPlayer player(options_);
    ASSERT_TRUE(player.SwitchOutputDevice(2)) << player.GetLastError().utf8_string();
    EXPECT_TRUE(AudioEngineLoaded());
    EXPECT_EQ(player.GetCurrentDevice(), 2);
    ASSERT_TRUE(player.OpenFile(U8(path_)));
    ASSERT_TRUE(player.Play(false));
    EXPECT_TRUE(StreamsOn(player, "b"));
}

TEST_F(AudioDevices, TheSoundServersSinksAreListedByNumberAndName) {
    AudioPlayer player(options_);
    std::vector<OutputDevice> devices = player.ListOutputDevices();
    ASSERT_EQ(devices.size(), 2u);
    EXPECT_EQ(devices[0].index, 1);
    EXPECT_EQ(devices[0].name, wxS("Alpha"));
    EXPECT_EQ(devices[1].index, 2);
    EXPECT_EQ(devices[1].name, wxS("Beta"));
}

// The list is not asked of the sound server on every look, yet a device
// plugged in while the player runs is listed, and the default the desktop
// changes is followed.
TEST_F(AudioDevices, APluggedInDeviceAndANewDefaultAreFollowed) {
    AudioPlayer player(options_);
    ASSERT_EQ(player.ListOutputDevices().size(), 2u);
    pulse_.SetDefault("a");
    ASSERT_TRUE(player.WaitUntil([&] { return player.GetCurrentDevice() == 1; }, 5));
    pulse_.AddSink();
    ASSERT_TRUE(player.WaitUntil([&] { return player.ListOutputDevices().size() == 3; }, 5));
    EXPECT_EQ(player.ListOutputDevices()[2].name, wxS("Gamma"));
    pulse_.SetDefault("c");
    EXPECT_TRUE(player.WaitUntil([&] { return player.GetCurrentDevice() == 3; }, 5));
}

// Nothing chosen: the player follows the system's default, and knows from
// the start that this is the second sink, so a switch to it changes
// nothing and the first real switch goes to the other one.
TEST_F(AudioDevices, TheDefaultSinkIsTheDeviceInUseFromTheStart) {
    pulse_.SetDefault("b");
    AudioPlayer player(options_);
    EXPECT_EQ(player.GetCurrentDevice(), -1);  // not initialized yet
    ASSERT_TRUE(player.OpenFile(U8(path_)));
    EXPECT_EQ(player.GetCurrentDevice(), 2);
    ASSERT_TRUE(player.Play(false));
    ASSERT_TRUE(StreamsOn(player, "b"));
    ASSERT_TRUE(qtest::WaitForPosition(player, 0.3));

    ASSERT_TRUE(player.SwitchOutputDevice(2));
    EXPECT_TRUE(player.IsPlaying());
    EXPECT_EQ(player.GetCurrentDevice(), 2);
    ASSERT_TRUE(player.SwitchOutputDevice(1));
    EXPECT_EQ(player.GetCurrentDevice(), 1);
    EXPECT_TRUE(StreamsOn(player, "a"));
    // Once a device is chosen, a new default elsewhere does not move it.
    pulse_.SetDefault("b");
    EXPECT_EQ(player.GetCurrentDevice(), 1);
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
    const int inUse = player.GetCurrentDevice();  // the server's default sink
    EXPECT_GT(inUse, 0);
    EXPECT_FALSE(player.SwitchOutputDevice(0));
    EXPECT_EQ(player.GetLastError(), wxString::FromUTF8("输出设备无效。"));
    EXPECT_FALSE(player.SwitchOutputDevice(-1));
    EXPECT_FALSE(player.SwitchOutputDevice(3));
    EXPECT_EQ(player.GetLastError(), wxString::FromUTF8("切换输出设备失败：无法初始化音频驱动"));
    EXPECT_TRUE(player.IsPlaying());
    EXPECT_EQ(player.GetCurrentDevice(), inUse);
    EXPECT_TRUE(qtest::WaitForPosition(player, 0.3));
}

// The new output refuses the stream once the player tries it: the switch
// answers false only after the old device has taken over again with the
// medium as it was, and nothing is announced as switched in between.
// With the silent output in the list, mpv would play on there: that is no
// switch either.
TEST_F(AudioDevices, AFailedSwitchAnswersOnlyOnceTheOldDevicePlaysOn) {
    for (const char* outputs : {"pulse", "pulse,null"}) {
        for (bool paused : {true, false}) {
            SCOPED_TRACE(std::string(outputs) + (paused ? ", paused" : ", playing"));
            options_.audioOutputs = outputs;
            AudioPlayer player(options_);
            int notices = 0;
            player.SetNoticeHandler([&](AudioPlayer::Notice n) {
                notices += n == AudioPlayer::Notice::MediaFailed;
            });
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

            EXPECT_FALSE(player.SwitchOutputDevice(2));
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
            EXPECT_EQ(notices, 0);
        }
    }
}

// The sound server goes away under a playing song: the player drops it and
// says that playing failed, not loading.
TEST_F(AudioDevices, ASongTheSoundServerDropsIsReportedAsAPlayingFailure) {
    options_.audioOutputs = "pulse";
    AudioPlayer player(options_);
    int failed = 0;
    player.SetNoticeHandler([&](AudioPlayer::Notice n) { failed += n == AudioPlayer::Notice::MediaFailed; });
    ASSERT_TRUE(player.OpenFile(U8(path_)));
    ASSERT_TRUE(player.Play(false));
    ASSERT_TRUE(qtest::WaitForPosition(player, 0.3));
    pulse_.StopServer();
    ASSERT_TRUE(player.WaitUntil([&] { return failed > 0; }, 5));
    EXPECT_EQ(failed, 1);
    EXPECT_FALSE(player.HasMedia());
    EXPECT_FALSE(player.IsPlaying());
    EXPECT_EQ(player.GetLastError(), wxString::FromUTF8("播放失败：无法初始化音频驱动"));
}

}  // namespace
