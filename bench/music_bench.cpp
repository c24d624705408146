// Libraries of playlist songs and albums of 50 songs, as real (empty)
// files in a temporary folder: 10,000 + 200 albums (20,000 songs) as the
// everyday large case, 25,000 + 500 albums (50,000 songs) as the largest.
// ListFolders is the floor any rebuild must pay: one readdir pass over
// every folder the library reads. RebuildAgainstListing alternates the two
// sides in one run and reports the median of the per-round ratios.
#include "median.h"
#include "music/audio_player_playback.h"
#include "music/music_controller.h"
#include "music/music_fakes.h"
#include "music/music_library.h"
#include "music/music_settings.h"
#include "music/music_view.h"
#include "support/temp_dir.h"
#include "support/test_media.h"

#include <benchmark/benchmark.h>
#include <wx/log.h>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <map>
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
    MusicSettings settings;

    LargeLibrary(int playlistSongs, int albums)
    {
        std::string singles = dir.path() + "/singles";
        fs::create_directories(singles);
        folders.push_back(singles);
        char name[64];
        for (int i = 0; i < playlistSongs; ++i) {
            std::snprintf(name, sizeof name, "/Song %05d.mp3", i);
            std::FILE* f = std::fopen((singles + name).c_str(), "wb");
            if (f) std::fclose(f);
            settings.playlistPaths.push_back(wxString::FromUTF8(singles + name));
        }
        for (int a = 0; a < albums; ++a) {
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

LargeLibrary& Library(int playlistSongs = kPlaylistSongs, int albums = kAlbums)
{
    static std::map<std::pair<int, int>, std::unique_ptr<LargeLibrary>> libraries;
    auto& library = libraries[{playlistSongs, albums}];
    if (!library) library = std::make_unique<LargeLibrary>(playlistSongs, albums);
    return *library;
}

size_t ListFolders(const std::vector<std::string>& folders)
{
    size_t entries = 0;
    for (const std::string& folder : folders) {
        DIR* d = opendir(folder.c_str());
        if (!d) continue;
        while (const dirent* e = readdir(d)) {
            benchmark::DoNotOptimize(std::strlen(e->d_name));
            ++entries;
        }
        closedir(d);
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
        state.PauseTiming();
        MusicSettings settings = lib.settings;
        library = MusicLibrary();
        state.ResumeTiming();
        library.Rebuild(std::move(settings));
        benchmark::DoNotOptimize(library.Albums().size());
    }
    if (library.Playlist().size() != kPlaylistSongs || library.Albums().size() != kAlbums) {
        state.SkipWithError("the library did not load every song");
    }
}
BENCHMARK(BM_RebuildLibrary)->Unit(benchmark::kMillisecond);

// The settings file alone: 10,200 list keys to read. Argument 1 touches
// the file before each read, so it is read and parsed as a new process
// finds it; 0 reads the document the process already holds.
void BM_LoadMusicSettings(benchmark::State& state)
{
    LargeLibrary& lib = Library();
    const std::string path = lib.store->SettingsFilePath().utf8_string();
    for (auto _ : state) {
        if (state.range(0)) {
            state.PauseTiming();
            utimensat(AT_FDCWD, path.c_str(), nullptr, 0);
            state.ResumeTiming();
        }
        benchmark::DoNotOptimize(LoadMusicSettings(*lib.store).playlistPaths.size());
    }
}
BENCHMARK(BM_LoadMusicSettings)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// What start-up reads from settings.ini, in its order: the forum server,
// the music group, the login group. The file is touched first, as a new
// process would find it: read from disk, not from what an earlier round
// kept.
void BM_StartupSettingsReads(benchmark::State& state)
{
    LargeLibrary& lib = Library();
    const std::string path = lib.store->SettingsFilePath().utf8_string();
    for (auto _ : state) {
        state.PauseTiming();
        utimensat(AT_FDCWD, path.c_str(), nullptr, 0);
        state.ResumeTiming();
        benchmark::DoNotOptimize(lib.store->LoadServerEndpoint().port);
        benchmark::DoNotOptimize(LoadMusicSettings(*lib.store).playlistPaths.size());
        benchmark::DoNotOptimize(lib.store->LoadLoginSettings().autoLogin);
    }
}
BENCHMARK(BM_StartupSettingsReads)->Unit(benchmark::kMillisecond);

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

// Both sides in every round, in alternating order, so the ratio comes from
// the same machine state. The rebuild starts from the settings already
// read (reading them is BM_LoadMusicSettings); rebuild_with_load_ms adds
// the read as start-up pays it (MusicController::RebuildLibrary). Arguments: playlist songs, albums of 50.
void BM_RebuildAgainstListing(benchmark::State& state)
{
    LargeLibrary& lib = Library(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    size_t songs = lib.settings.playlistPaths.size() + lib.settings.albumFolders.size() * kSongsPerAlbum;
    MusicLibrary library;
    std::vector<double> ratios, rebuilds, lists, withLoad;
    using Clock = std::chrono::steady_clock;
    auto ms = [](Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); };
    bool listFirst = true;
    for (auto _ : state) {
        double list = 0;
        double rebuild = 0;
        // Start-up rebuilds an empty library from settings just read: the
        // copy and the previous round's library are made and freed untimed.
        MusicSettings settings = lib.settings;
        library = MusicLibrary();
        for (int side = 0; side < 2; ++side) {
            auto t0 = Clock::now();
            if ((side == 0) == listFirst) {
                benchmark::DoNotOptimize(ListFolders(lib.folders));
                list = ms(Clock::now() - t0);
            } else {
                library.Rebuild(std::move(settings));
                benchmark::DoNotOptimize(library.Albums().data());
                rebuild = ms(Clock::now() - t0);
            }
        }
        listFirst = !listFirst;
        library = MusicLibrary();
        auto t0 = Clock::now();
        library.Rebuild(LoadMusicSettings(*lib.store));
        withLoad.push_back(ms(Clock::now() - t0));
        lists.push_back(list);
        rebuilds.push_back(rebuild);
        ratios.push_back(list > 0 ? rebuild / list : 0);
    }
    size_t loaded = library.Playlist().size();
    for (const Album& album : library.Albums()) loaded += album.songs.size();
    if (loaded != songs) state.SkipWithError("the library did not load every song");
    state.counters["songs"] = static_cast<double>(songs);
    state.counters["list_ms"] = Median(lists);
    state.counters["rebuild_ms"] = Median(rebuilds);
    state.counters["rebuild_with_load_ms"] = Median(withLoad);
    state.counters["ratio"] = Median(ratios);
}
BENCHMARK(BM_RebuildAgainstListing)
    ->Args({kPlaylistSongs, kAlbums})
    ->Args({25000, 500})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(15);

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

// The program's own log level (see main.cpp): the toolkit's trace lines
// are then dropped before their texts are built, as they are in the program.
int main(int argc, char** argv)
{
    wxLog::SetLogLevel(5);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
