// A library over real files in a temporary folder, driven through the
// controller with the recording player and host.
#pragma once

#include "music/music_controller.h"
#include "music/music_fakes.h"
#include "support/temp_dir.h"

#include <deque>
#include <memory>

class MusicFixture {
public:
    // playlistSongs files in the playlist; one album per entry of albumSizes.
    MusicFixture(int playlistSongs, std::vector<int> albumSizes);

    qtest::TempDir dir;
    SettingsStore store;
    MusicLibrary library;
    RecordingPlayer player;
    RecordingHost host;
    // Draws come from here when not empty, else 0.
    std::deque<int> draws;
    std::vector<int> drawBounds;  // the n of every draw
    std::unique_ptr<MusicController> controller;

    const wxString& PathOf(int songIndex, int albumIndex) const;
    // The playlist or album song the player has open: {songIndex, albumIndex}.
    std::pair<int, int> Current() const { return {library.CurrentSong(), library.CurrentAlbum()}; }
};
