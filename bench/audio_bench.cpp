// Enter-to-playing: opening a medium and starting it until its position
// moves, through AudioPlayer and, as the baseline, through a bare mpv
// handle with the same options — locally and over loopback http.
#include "music/audio_player.h"
#include "platform/mpv_handle.h"
#include "support/temp_dir.h"
#include "support/test_media.h"

#include <benchmark/benchmark.h>
#include <httplib.h>

#include <chrono>
#include <memory>
#include <thread>

namespace {

struct Fixture {
    qtest::TempDir dir;
    std::string wav, mp3;
    httplib::Server server;
    std::thread thread;
    int port = 0;

    Fixture() {
        wav = qtest::MakeMedia(dir.path(), "tone.wav", qtest::MediaKind::Wav, 30.0);
        mp3 = qtest::MakeMedia(dir.path(), "tone.mp3", qtest::MediaKind::Mp3NoXing, 300.0);
        server.set_mount_point("/media", dir.path());
        port = server.bind_to_any_port("127.0.0.1");
        thread = std::thread([this] { server.listen_after_bind(); });
        while (!server.is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    ~Fixture() {
        server.stop();
        thread.join();
    }
    std::string Url(const std::string& name) const {
        return "http://127.0.0.1:" + std::to_string(port) + "/media/" + name;
    }
};

Fixture& Media() {
    static Fixture f;
    return f;
}

AudioEngineOptions NullOutput() {
    AudioEngineOptions o;
    o.audioOutputs = "null";
    return o;
}

// 0: local WAV, 1: local 5-minute MP3 without Xing header, 2: the WAV over
// http, 3: the MP3 over http.
std::string Target(int which) {
    Fixture& f = Media();
    switch (which) {
        case 0: return f.wav;
        case 1: return f.mp3;
        case 2: return f.Url("tone.wav");
        default: return f.Url("tone.mp3");
    }
}

void BM_PlayerEnterToPlaying(benchmark::State& state) {
    int which = static_cast<int>(state.range(0));
    wxString target = wxString::FromUTF8(Target(which));
    AudioPlayer player(NullOutput());
    player.EnsureInitialized();
    for (auto _ : state) {
        bool ok = which < 2 ? player.OpenFile(target) : player.OpenUrl(target);
        ok = ok && player.Play(false);
        ok = ok && player.WaitUntil([&] { return player.IsPlaying() && player.GetPosition() > 0; }, 10);
        if (!ok) state.SkipWithError("did not start");
    }
}

void BM_BareMpvEnterToPlaying(benchmark::State& state) {
    std::string target = Target(static_cast<int>(state.range(0)));
    MpvHandle mpv;
    mpv.Create({{"config", "no"}, {"terminal", "no"}, {"vid", "no"}, {"idle", "yes"}, {"ytdl", "no"},
                {"load-scripts", "no"}, {"gapless-audio", "no"}, {"keep-open", "yes"}, {"ao", "null"}},
               {});
    for (auto _ : state) {
        int64_t id = 0;
        mpv.SetFlag("pause", false);
        if (mpv.LoadFile(target, &id) < 0) state.SkipWithError("loadfile failed");
        // The old file's time-pos lingers until the new one has loaded.
        auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        bool started = false, loaded = false;
        while (std::chrono::steady_clock::now() < deadline) {
            MpvEvent e = mpv.WaitEvent(loaded ? 0.001 : 0.1);
            if (e.kind == MpvEvent::Kind::StartFile) started = e.entryId == id;
            if (e.kind == MpvEvent::Kind::FileLoaded && started) loaded = true;
            if (loaded && mpv.GetDouble("time-pos").value_or(0) > 0) break;
        }
        if (!loaded) state.SkipWithError("did not start");
    }
}

// The music window refreshes the device list with every status update.
void BM_ListOutputDevices(benchmark::State& state) {
    AudioPlayer player(NullOutput());
    for (auto _ : state) benchmark::DoNotOptimize(player.ListOutputDevices());
}

BENCHMARK(BM_ListOutputDevices)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PlayerEnterToPlaying)->DenseRange(0, 3)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_BareMpvEnterToPlaying)->DenseRange(0, 3)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace

BENCHMARK_MAIN();
