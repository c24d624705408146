// Volume is a linear amplitude: at 0.5 the samples that reach the output
// are half as large. mpv's own volume scale is cubic, so a plain copy of
// the value would come out at an eighth. Measured on what mpv's "pcm"
// output writes, with sox.
#include "audio/audio_test_support.h"
#include "support/temp_dir.h"
#include "support/test_media.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

// The RMS amplitude sox reports for a WAV file, or -1.
double RmsAmplitude(const std::string& path) {
    std::string command = "sox '" + path + "' -n stat 2>&1";
    FILE* p = popen(command.c_str(), "r");
    if (!p) return -1;
    double rms = -1;
    char line[256];
    while (fgets(line, sizeof line, p)) {
        std::sscanf(line, "RMS     amplitude: %lf", &rms);
    }
    pclose(p);
    return rms;
}

// Plays `source` to its end at `volume` into a WAV file and measures it.
double PlayedRms(const qtest::TempDir& dir, const std::string& source, float volume, const char* name) {
    AudioEngineOptions options;
    options.audioOutputs = "pcm";
    options.extraOptions = {{"ao-pcm-file", dir.file(name)}};
    AudioPlayer player(options);
    EXPECT_TRUE(player.SetVolume(volume));
    EXPECT_TRUE(player.OpenFile(qtest::U8(source)));
    EXPECT_TRUE(player.Play(false));
    EXPECT_TRUE(qtest::WaitForEnd(player, 10));
    player.Release();  // the output completes its file when it closes
    return RmsAmplitude(dir.file(name));
}

TEST(AudioLoudness, VolumeScalesTheAmplitudeLinearly) {
    qtest::TempDir dir;
    std::string tone = qtest::MakeMedia(dir.path(), "tone.wav", qtest::MediaKind::Wav, 1.0);
    double full = PlayedRms(dir, tone, 1.0f, "full.wav");
    double half = PlayedRms(dir, tone, 0.5f, "half.wav");
    double silent = PlayedRms(dir, tone, 0.0f, "silent.wav");
    ASSERT_GT(full, 0.3);  // a 0.5 sine: RMS about 0.35
    EXPECT_NEAR(half / full, 0.5, 0.01);
    EXPECT_LT(silent, 0.001);
}

}  // namespace
