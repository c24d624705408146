// The music library rebuilt from a "/localMusic" group. "@DIR@" in the
// input stands for a folder that holds a few songs and albums, so the
// fuzzer can name files that exist.
#include <cstdint>

#include <wx/log.h>

#include "fuzz_files.h"
#include "fuzz_toolkit.h"
#include "music/music_library.h"
#include "fuzz_check.h"

namespace {

const std::string& MusicFolder()
{
    static const std::string dir = [] {
        const std::string d = fuzz::Folder() + "/music";
        for (const char* sub : {"/album", "/Album", "/empty", "/album/deeper"}) {
            std::filesystem::create_directories(d + sub);
        }
        for (const char* file : {"/a.mp3", "/b.FLAC", "/c.txt", "/album/1.ogg", "/album/2.wav",
                                 "/album/.hidden.mp3", "/Album/x.m4a", "/album/deeper/3.mp3"}) {
            fuzz::WriteFile(d + file, "");
        }
        return d;
    }();
    return dir;
}

bool Same(const MusicSettings& a, const MusicSettings& b)
{
    return a.globalHotkeysEnabled == b.globalHotkeysEnabled && a.playMode == b.playMode &&
           a.playlistPaths == b.playlistPaths && a.albumFolders == b.albumFolders;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // wxFileConfig reports unreadable lines through the toolkit's log;
    // thousands of runs a second would drown the fuzzer's own output.
    wxLog::EnableLogging(false);
    fuzz::FailOnToolkitAssertion();
    std::string group(reinterpret_cast<const char*>(data), size);
    for (size_t at; (at = group.find("@DIR@")) != std::string::npos;) {
        group.replace(at, 5, MusicFolder());
    }
    const std::string folder = fuzz::Folder() + "/library";
    std::filesystem::create_directories(folder);
    const std::string file = folder + "/settings.ini";
    fuzz::ReplaceFile(file, "[localMusic]\n" + group);
    const SettingsStore store{wxString::FromUTF8(folder)};

    MusicLibrary library;
    library.Rebuild(LoadMusicSettings(store));
    const MusicSettings kept = library.ToSettings();
    // What the library keeps describes it again, saved or not.
    MusicLibrary again;
    again.Rebuild(kept);
    FUZZ_CHECK(Same(again.ToSettings(), kept));
    FUZZ_CHECK(SaveMusicSettings(store, kept));
    fuzz::Reread(file);
    FUZZ_CHECK(Same(LoadMusicSettings(store), kept));

    for (int album = -1; album < static_cast<int>(library.Albums().size()); ++album) {
        const int count = library.SongCount(album);
        FUZZ_CHECK(count >= 0 && (album < 0 || count > 0));
        for (int song = 0; song < count; ++song) {
            FUZZ_CHECK(library.SongAt(song, album));
        }
        FUZZ_CHECK(album < 0 || library.ShowAlbum(album));
        if (count > 0) {
            library.SetCurrent(count - 1, album);
            FUZZ_CHECK(library.CurrentSongRecord());
        }
    }
    while (!library.Albums().empty()) {
        FUZZ_CHECK(library.RemoveAlbum(0));
    }
    while (library.SongCount(-1) > 0) {
        FUZZ_CHECK(library.RemoveSong(0, -1));
    }
    FUZZ_CHECK(!library.HasCurrent());
    return 0;
}
