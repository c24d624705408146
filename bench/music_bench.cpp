// A library of 10,000 playlist songs and 200 albums of 50 songs, as real
// (empty) files in a temporary folder. Each benchmark times one whole
// operation; ListFolders is the floor that any rebuild must pay, and
// RebuildAgainstListing reports the ratio of the two directly.
#include "music/audio_player_playback.h"
#include "music/music_controller.h"
#include "music/music_fakes.h"
#include "music/music_library.h"
#include "music/music_settings.h"
#include "music/music_view.h"
#include "support/temp_dir.h"
#include "support/test_media.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>

namespace fs = std::filesystem;

namespace {

constexpr int kPlaylistSongs = 10000;
constexpr int kAlbums = 200;
constexpr int kSongsPerAlbum = 50;

struct LargeLibrary {
    qtest::TempDir dir;
    std::unique_ptr<SettingsStore> store;
    std::vector<std::string> folders;  // every folder the library reads

    LargeLibrary()
    {
        MusicSettings settings;
        std::string singles = dir.path() + "/singles";
        fs::create_directories(singles);
        folders.push_back(singles);
        char name[64];
        for (int i = 0; i < kPlaylistSongs; ++i) {
            std::snprintf(name, sizeof name, "/Song %05d.mp3", i);
            std::FILE* f = std::fopen((singles + name).c_str(), "wb");
            if (f) std::fclose(f);
            settings.playlistPaths.push_back(wxString::FromUTF8(singles + name));
        }
        for (int a = 0; a < kAlbums; ++a) {
            std::snprintf(name, sizeof name, "/albums/专辑 %03d", a);
            std::string folder = dir.path() + name;
            fs::create_directories(folder);
            folders.push_back(folder);
            for (int s = 0; s < kSongsPerAlbum; ++s) {
                // Reverse order on disk, mixed case: the rebuild has to sort.
                std::snprintf(name, sizeof name, "/%s %02d.flac", s % 2 ? "track" : "Track", kSongsPerAlbum - s);
                std::FILE* f = std::fopen((folder + name).c_str(), "wb");
                if (f) std::fclose(f);
            }
            settings.albumFolders.push_back(wxString::FromUTF8(folder));
        }
        store = std::make_unique<SettingsStore>(wxString::FromUTF8(dir.path() + "/config"));
        SaveMusicSettings(*store, settings);
    }
};

LargeLibrary& Library()
{
    static LargeLibrary library;
    return library;
}

size_t ListFolders(const std::vector<std::string>& folders)
{
    size_t entries = 0;
    for (const std::string& folder : folders) {
        for (const auto& entry : fs::directory_iterator(folder)) {
            benchmark::DoNotOptimize(entry.path().filename().native().size());
            ++entries;
        }
    }
    return entries;
}

void BM_ListFolders(benchmark::State& state)
{
    LargeLibrary& lib = Library();
    for (auto _ : state) benchmark::DoNotOptimize(ListFolders(lib.folders));
}
BENCHMARK(BM_ListFolders)->Unit(benchmark::kMillisecond);

void BM_RebuildLibrary(benchmark::State& state)
{
    LargeLibrary& lib = Library();
    MusicLibrary library;
    for (auto _ : state) {
        library.Rebuild(LoadMusicSettings(*lib.store));
        benchmark::DoNotOptimize(library.Albums().size());
    }
    if (library.Playlist().size() != kPlaylistSongs || library.Albums().size() != kAlbums) {
        state.SkipWithError("the library did not load every song");
    }
}
BENCHMARK(BM_RebuildLibrary)->Unit(benchmark::kMillisecond);

// The settings file alone: 10,200 list keys to read.
void BM_LoadMusicSettings(benchmark::State& state)
{
    LargeLibrary& lib = Library();
    for (auto _ : state) benchmark::DoNotOptimize(LoadMusicSettings(*lib.store).playlistPaths.size());
}
BENCHMARK(BM_LoadMusicSettings)->Unit(benchmark::kMillisecond);

void BM_RenderPlaylistRows(benchmark::State& state)
{
    MusicLibrary library;
    library.Rebuild(LoadMusicSettings(*Library().store));
    library.SetCurrent(kPlaylistSongs / 2, -1);
    library.ShowPlaylist();
    for (auto _ : state) {
        MusicViewRows rows = BuildMusicRows(library, PlayerMarks{true, false});
        benchmark::DoNotOptimize(rows.rows.data());
    }
}
BENCHMARK(BM_RenderPlaylistRows)->Unit(benchmark::kMillisecond);

void BM_RenderOverviewRows(benchmark::State& state)
{
    MusicLibrary library;
    library.Rebuild(LoadMusicSettings(*Library().store));
    for (auto _ : state) {
        MusicViewRows rows = BuildMusicRows(library, PlayerMarks{});
        benchmark::DoNotOptimize(rows.rows.data());
    }
}
BENCHMARK(BM_RenderOverviewRows)->Unit(benchmark::kMillisecond);

// Both operations in every iteration, so the ratio comes from the same
// machine state; counters: rebuild_ms, list_ms, ratio.
void BM_RebuildAgainstListing(benchmark::State& state)
{
    LargeLibrary& lib = Library();
    MusicLibrary library;
    double rebuild = 0;
    double list = 0;
    for (auto _ : state) {
        auto t0 = std::chrono::steady_clock::now();
        benchmark::DoNotOptimize(ListFolders(lib.folders));
        auto t1 = std::chrono::steady_clock::now();
        library.Rebuild(LoadMusicSettings(*lib.store));
        auto t2 = std::chrono::steady_clock::now();
        list += std::chrono::duration<double, std::milli>(t1 - t0).count();
        rebuild += std::chrono::duration<double, std::milli>(t2 - t1).count();
    }
    double n = static_cast<double>(state.iterations());
    state.counters["list_ms"] = list / n;
    state.counters["rebuild_ms"] = rebuild / n;
    state.counters["ratio"] = list > 0 ? rebuild / list : 0;
}
BENCHMARK(BM_RebuildAgainstListing)->Unit(benchmark::kMillisecond)->Iterations(10);

// One 500 ms status tick while a song plays on the real player (null
// output) in the music category: the end-of-song check, the device list
// refresh and the status sentence. Argument 0 times the tick with the
// category hidden, where only the end-of-song check runs.
void BM_StatusTick(benchmark::State& state)
{
    qtest::TempDir dir;
    SettingsStore store(wxString::FromUTF8(dir.file("config")));
    MusicSettings settings;
    settings.playlistPaths = {
        wxString::FromUTF8(qtest::MakeMedia(dir.path(), "tone.ogg", qtest::MediaKind::Ogg, 600))};
    SaveMusicSettings(store, settings);
    AudioEngineOptions options;
    options.audioOutputs = "null";
    AudioPlayer audio(options);
    AudioPlayerPlayback playback(audio);
    MusicLibrary library;
    RecordingHost host;
    host.shown = state.range(0) != 0;
    MusicController controller(library, playback, host, store);
    controller.RebuildLibrary();
    if (!controller.PlaySong(0, -1)) {
        state.SkipWithError("the song did not start");
        return;
    }
    for (auto _ : state) {
        audio.DrainEvents();
        controller.OnStatusTick();
        host.statuses.clear();
    }
    if (!playback.IsPlaying()) state.SkipWithError("the song stopped during the run");
}
BENCHMARK(BM_StatusTick)->Arg(1)->Arg(0)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
