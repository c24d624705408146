#include "music/music_fixture.h"

#include "music/music_settings.h"

MusicFixture::MusicFixture(int playlistSongs, std::vector<int> albumSizes)
    : store(wxString::FromUTF8(dir.file("config")))
{
    MusicSettings settings;
    for (int i = 0; i < playlistSongs; ++i) {
        settings.playlistPaths.push_back(wxString::FromUTF8(dir.write("single/s" + std::to_string(i) + ".mp3", "")));
    }
    for (size_t a = 0; a < albumSizes.size(); ++a) {
        std::string folder = "album" + std::to_string(a);
        for (int i = 0; i < albumSizes[a]; ++i) {
            dir.write(folder + "/t" + std::to_string(i) + ".ogg", "");
        }
        settings.albumFolders.push_back(wxString::FromUTF8(dir.file(folder)));
    }
    SaveMusicSettings(store, settings);
    controller = std::make_unique<MusicController>(library, player, host, store, [this](int n) {
        drawBounds.push_back(n);
        if (draws.empty()) return 0;
        int v = draws.front();
        draws.pop_front();
        return v;
    });
    controller->RebuildLibrary();
}

const wxString& MusicFixture::PathOf(int songIndex, int albumIndex) const
{
    return library.SongAt(songIndex, albumIndex)->path;
}
