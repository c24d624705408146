// Sound cues: where the files are found, the generated files themselves,
// and playing through a real (private) sound server or none at all.
#include "support/pulse_server.h"
#include "ui/cue.h"
#include "platform/sound_cue.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>
#include <wx/init.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace {

using Clock = std::chrono::steady_clock;

const std::string kCueDir = std::string(QUILLERY_BINARY_DIR) + "/sous";

// PlayCue asks the toolkit where the executable is, as the program does.
class ToolkitEnvironment : public ::testing::Environment {
public:
    void SetUp() override { init_ = std::make_unique<wxInitializer>(); }
    void TearDown() override { init_.reset(); }

private:
    std::unique_ptr<wxInitializer> init_;
};
const auto* const kToolkit = ::testing::AddGlobalTestEnvironment(new ToolkitEnvironment);

double SecondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

std::uint32_t Le32(const std::string& b, size_t at) {
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(b[at + i]);
    return v;
}

// Length of a PCM WAV file in seconds from its chunks; -1 when it is not one.
double WavSeconds(const std::string& bytes) {
    if (bytes.size() < 12 || bytes.compare(0, 4, "RIFF") != 0 || bytes.compare(8, 4, "WAVE") != 0) {
        return -1;
    }
    std::uint32_t byteRate = 0;
    for (size_t at = 12; at + 8 <= bytes.size();) {
        std::string id = bytes.substr(at, 4);
        std::uint32_t size = Le32(bytes, at + 4);
        if (id == "fmt " && at + 20 <= bytes.size()) byteRate = Le32(bytes, at + 16);
        if (id == "data") return byteRate ? static_cast<double>(size) / byteRate : -1;
        at += 8 + size + (size & 1);
    }
    return -1;
}

TEST(CueFiles, FoundBesideTheExecutableBeforeTheInstalledFolder) {
    qtest::TempDir exe, installed;
    std::string beside = exe.write("sous/jr.wav", "x");
    std::string shared = installed.write("jr.wav", "x");
    installed.write("fh.wav", "x");
    wxString exeDir = wxString::FromUTF8(exe.path());
    wxString dataDir = wxString::FromUTF8(installed.path());

    EXPECT_EQ(FindCueFile(wxS("jr.wav"), exeDir, dataDir), wxString::FromUTF8(beside));
    EXPECT_EQ(FindCueFile(wxS("fh.wav"), exeDir, dataDir), wxString::FromUTF8(installed.file("fh.wav")));
    EXPECT_EQ(FindCueFile(wxS("tc.wav"), exeDir, dataDir), wxString());
    // A missing folder on either side is no error.
    EXPECT_EQ(FindCueFile(wxS("jr.wav"), exeDir + wxS("/gone"), dataDir), wxString::FromUTF8(shared));
    EXPECT_EQ(FindCueFile(wxS("jr.wav"), wxString(), wxString()), wxString());
}

TEST(CueFiles, OnlyPlainFileNamesAreCues) {
    qtest::TempDir exe;
    exe.write("sous/zr.wav", "x");
    exe.write("secret.wav", "x");
    wxString exeDir = wxString::FromUTF8(exe.path());
    EXPECT_NE(FindCueFile(wxS("zr.wav"), exeDir, wxString()), wxString());
    EXPECT_EQ(FindCueFile(wxS("../secret.wav"), exeDir, wxString()), wxString());
    EXPECT_EQ(FindCueFile(wxS("sub/zr.wav"), exeDir, wxString()), wxString());
    EXPECT_EQ(FindCueFile(wxS(".."), exeDir, wxString()), wxString());
    EXPECT_EQ(FindCueFile(wxString(), exeDir, wxString()), wxString());
}

TEST(CueFiles, InstalledFolderIsTheDataFolder) {
    EXPECT_TRUE(InstalledCueDir().EndsWith(wxS("/quillery/sous"))) << InstalledCueDir();
}

TEST(CueFiles, GeneratedCuesAreShortDistinctWavs) {
    std::string seen[5];
    const char* names[] = {"zr.wav", "jr.wav", "fh.wav", "yj.wav", "tc.wav"};
    for (int i = 0; i < 5; ++i) {
        seen[i] = qtest::ReadFile(kCueDir + "/" + names[i]);
        double seconds = WavSeconds(seen[i]);
        EXPECT_GE(seconds, 0.1) << names[i];
        EXPECT_LE(seconds, 0.6) << names[i];
        for (int j = 0; j < i; ++j) EXPECT_NE(seen[i], seen[j]) << names[i] << " " << names[j];
    }
}

// Without any sound server every cue is silent and nothing waits.
class NoSoundServer : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("XDG_RUNTIME_DIR", runtime.path().c_str(), 1);
        setenv("PULSE_SERVER", ("unix:" + runtime.file("none")).c_str(), 1);
    }
    qtest::TempDir runtime;
};

TEST_F(NoSoundServer, PlayingFailsSilentlyAndAtOnce) {
    auto start = Clock::now();
    EXPECT_FALSE(platform::PlaySoundFile(kCueDir + "/tc.wav", true));
    EXPECT_FALSE(platform::PlaySoundFile(kCueDir + "/tc.wav", false));
    PlayCue(wxS("tc.wav"), true);
    // The exit cue lasts 0.56 s; not waiting for it shows nothing played.
    EXPECT_LT(SecondsSince(start), 0.5);
}

// A private PulseAudio server with a null sink stands in for the desktop's.
class WithSoundServer : public ::testing::Test {
protected:
    void SetUp() override { StartServer(); }
    void StartServer() {
        server = std::make_unique<qtest::PulseServer>();
        if (!server->running()) GTEST_SKIP() << "pulseaudio could not start here";
        setenv("PULSE_SERVER", server->address().c_str(), 1);
    }
    std::unique_ptr<qtest::PulseServer> server;
};

TEST_F(WithSoundServer, WaitingCueReturnsAfterAboutItsLength) {
    const std::string exit = kCueDir + "/tc.wav";
    double length = WavSeconds(qtest::ReadFile(exit));
    ASSERT_GT(length, 0.3);
    auto start = Clock::now();
    EXPECT_TRUE(platform::PlaySoundFile(exit, true));
    double waited = SecondsSince(start);
    EXPECT_GE(waited, length - 0.1);
    // The server reports the end once the sound has left its sink; a null
    // sink holds about two seconds, a real device much less.
    EXPECT_LT(waited, length + 3.0);
}

TEST_F(WithSoundServer, AsyncCueReturnsBeforeTheSoundEnds) {
    const std::string exit = kCueDir + "/tc.wav";
    // The first play connects to the server; time the second one.
    EXPECT_TRUE(platform::PlaySoundFile(kCueDir + "/jr.wav", false));
    auto start = Clock::now();
    EXPECT_TRUE(platform::PlaySoundFile(exit, false));
    EXPECT_LT(SecondsSince(start), WavSeconds(qtest::ReadFile(exit)));
    // A waiting cue after it cuts it off and still finishes.
    EXPECT_TRUE(platform::PlaySoundFile(kCueDir + "/fh.wav", true));
}

// The cues nobody waits for: the caller does not wait, and the sound still
// reaches the server; a waiting cue right after a posted one still plays.
TEST_F(WithSoundServer, StartedCueReturnsAtOnceAndStillSounds) {
    const std::string exit = kCueDir + "/tc.wav";
    auto start = Clock::now();
    platform::StartSoundFile(exit);
    EXPECT_LT(SecondsSince(start), 0.05);
    bool heard = false;
    while (!heard && SecondsSince(start) < 5) {
        heard = server->Pactl("list sink-inputs").find("Quillery") != std::string::npos;
    }
    EXPECT_TRUE(heard) << server->Pactl("list sink-inputs");
    platform::StartSoundFile(kCueDir + "/jr.wav");
    EXPECT_TRUE(platform::PlaySoundFile(kCueDir + "/fh.wav", true));
}

TEST_F(WithSoundServer, ReconnectsAfterTheServerRestarts) {
    EXPECT_TRUE(platform::PlaySoundFile(kCueDir + "/jr.wav", true));
    server.reset();
    // While no server runs, cues fail quietly...
    EXPECT_FALSE(platform::PlaySoundFile(kCueDir + "/jr.wav", false));
    // ...and the next server is found without restarting the program.
    StartServer();
    EXPECT_TRUE(platform::PlaySoundFile(kCueDir + "/fh.wav", true));
}

TEST_F(WithSoundServer, MissingOrBrokenFilesAreSilent) {
    qtest::TempDir dir;
    std::string garbage = dir.write("broken.wav", std::string(4000, '\x5a'));
    std::string truncated = dir.write("short.wav", qtest::ReadFile(kCueDir + "/zr.wav").substr(0, 30));
    auto start = Clock::now();
    EXPECT_FALSE(platform::PlaySoundFile(dir.file("missing.wav"), true));
    EXPECT_FALSE(platform::PlaySoundFile(garbage, true));
    EXPECT_FALSE(platform::PlaySoundFile(truncated, true));
    EXPECT_FALSE(platform::PlaySoundFile("", true));
    PlayCue(wxS("no-such-cue.wav"), true);
    EXPECT_LT(SecondsSince(start), 0.5);
}

}  // namespace
