// Enter-to-sound: opening a medium and starting it until its position
// moves, through AudioPlayer and, as the floor, through a bare mpv handle
// with the same options — locally and over loopback http, warm and cold.
#include "median.h"
#include "music/audio_player.h"
#include "platform/mpv_handle.h"
#include "support/temp_dir.h"
#include "support/test_media.h"

#include <benchmark/benchmark.h>
#include <httplib.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <thread>
#include <vector>

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

// The options AudioEngine gives its handle, playing rather than held.
MpvHandle::Options BareOptions() {
    return {{"config", "no"},        {"terminal", "no"},         {"vid", "no"},
            {"audio-display", "no"}, {"sid", "no"},              {"idle", "yes"},
            {"ytdl", "no"},          {"load-scripts", "no"},     {"input-default-bindings", "no"},
            {"audio-file-auto", "no"}, {"gapless-audio", "no"},  {"keep-open", "yes"},
            {"ao", "null"},          {"audio-device", "auto"},   {"network-timeout", "10"},
            {"volume-max", "100"}};
}

using Clock = std::chrono::steady_clock;

// Both sides look for their first frame the same way: a short sleep, then
// one look at the position.
template <typename Moved>
bool PollUntil(Moved moved) {
    const auto deadline = Clock::now() + std::chrono::seconds(10);
    while (Clock::now() < deadline) {
        if (moved()) return true;
        std::this_thread::sleep_for(std::chrono::microseconds(250));
    }
    return false;
}

// Enter on a song as the music view does it: open the file, play it from
// its start, until its position moves.
bool PlayerEnter(AudioPlayer& player, int which) {
    wxString target = wxString::FromUTF8(Target(which));
    bool ok = which < 2 ? player.OpenFile(target) : player.OpenUrl(target);
    ok = ok && player.Play(true);
    return ok && PollUntil([&] {
               player.DrainEvents();
               return player.GetPosition() > 0;
           });
}

// The floor: loadfile on a playing handle, then the same look at time-pos
// once mpv says the new file has loaded (the old file's time-pos lingers
// until then).
bool BareEnter(MpvHandle& mpv, int which) {
    int64_t id = 0;
    mpv.SetFlag("pause", false);
    if (mpv.LoadFile(Target(which), &id) < 0) return false;
    bool started = false, loaded = false;
    return PollUntil([&] {
        for (MpvEvent e = mpv.WaitEvent(0); e.kind != MpvEvent::Kind::None; e = mpv.WaitEvent(0)) {
            if (e.kind == MpvEvent::Kind::StartFile) started = e.entryId == id;
            if (e.kind == MpvEvent::Kind::FileLoaded && started) loaded = true;
        }
        return loaded && mpv.GetDouble("time-pos").value_or(0) > 0;
    });
}

// Enter-to-sound against the bare handle, both sides in every round in
// alternating order; the figure is the median of the per-round ratios.
// Arguments: the target (see Target) and 1 for a cold start (a new player
// and a new handle every round, created inside the timing).
void BM_EnterToSoundAgainstBareMpv(benchmark::State& state) {
    const int which = static_cast<int>(state.range(0));
    const bool cold = state.range(1) != 0;
    auto player = std::make_unique<AudioPlayer>(NullOutput());
    auto mpv = std::make_unique<MpvHandle>();
    if (!cold) {
        player->EnsureInitialized();
        mpv->Create(BareOptions(), {});
    }
    auto ms = [](Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); };
    std::vector<double> ratios, players, bares, stopP, stopB;
    bool bareFirst = true;
    for (auto _ : state) {
        double p = 0, b = 0;
        for (int side = 0; side < 2; ++side) {
            bool ok = true;
            if ((side == 0) == bareFirst) {
                if (cold) mpv = std::make_unique<MpvHandle>();
                auto t0 = Clock::now();
                if (cold) ok = mpv->Create(BareOptions(), {}) == 0;
                ok = ok && BareEnter(*mpv, which);
                b = ms(Clock::now() - t0);
            } else {
                if (cold) player = std::make_unique<AudioPlayer>(NullOutput());
                auto t0 = Clock::now();
                ok = PlayerEnter(*player, which);
                p = ms(Clock::now() - t0);
            }
            if (!ok) state.SkipWithError("did not start");
        }
        bareFirst = !bareFirst;
        // Stopped untimed, so neither side's next round starts mid-song.
        auto s0 = Clock::now();
        player->Stop();
        auto s1 = Clock::now();
        mpv->SetFlag("pause", true);
        stopP.push_back(ms(s1 - s0));
        stopB.push_back(ms(Clock::now() - s1));
        players.push_back(p);
        bares.push_back(b);
        ratios.push_back(b > 0 ? p / b : 0);
    }
    state.counters["player_ms"] = Median(players);
    state.counters["bare_ms"] = Median(bares);
    state.counters["ratio"] = Median(ratios);
    state.counters["player_max_ms"] = *std::max_element(players.begin(), players.end());
    state.counters["bare_max_ms"] = *std::max_element(bares.begin(), bares.end());
}

// The music window refreshes the device list with every status update.
void BM_ListOutputDevices(benchmark::State& state) {
    AudioPlayer player(NullOutput());
    for (auto _ : state) benchmark::DoNotOptimize(player.ListOutputDevices());
}

BENCHMARK(BM_ListOutputDevices)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_EnterToSoundAgainstBareMpv)
    ->ArgsProduct({{0, 1, 2, 3}, {0, 1}})
    ->ArgNames({"target", "cold"})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(40);

}  // namespace

BENCHMARK_MAIN();
