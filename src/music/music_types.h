// Records of the local music library.
#pragma once

#include <wx/string.h>

#include <vector>

struct Song {
    wxString path;    // full file path
    wxString name;    // file name without folder and extension
    wxString source;  // shown after the name in the playlist view
};

struct Album {
    wxString name;    // last component of the folder path
    wxString folder;  // full folder path
    std::vector<Song> songs;  // sorted by name, case-insensitively
};

// Stored as a plain int ("playMode"); values outside 0–4 load as PlayInOrder.
enum PlayMode : int {
    PlayInOrder = 0,
    PlayRepeatOne = 1,
    PlayRepeatList = 2,
    PlayReverse = 3,
    PlayRandom = 4,
};

// What is playing: nothing, a playlist song or an album song.
enum MusicSourceKind : int {
    SourceNone = 0,
    SourcePlaylist = 1,
    SourceAlbum = 2,
};

// The name of a mode as the user hears it; unknown values read as in order.
wxString PlayModeName(int mode);
bool IsValidPlayMode(int mode);

// The source text of songs added to the playlist as single files.
wxString PlaylistSourceText();
