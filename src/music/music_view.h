// What the main list and the status bar show in the 本地音乐 category:
// the rows of the three music levels and the player's status sentence.
#pragma once

#include "music/music_library.h"

#include <wx/string.h>

#include <optional>
#include <utility>
#include <vector>

// Row kinds; the values are the main list's entry types for music rows.
enum class MusicRowType : int {
    Playlist = 4,
    Hotkeys = 5,
    Album = 6,
    Song = 7,
    Notice = 21,
};

struct MusicRow {
    MusicRowType type = MusicRowType::Notice;
    wxString text;
    int albumIndex = -1;  // album rows and album songs; -1 for the playlist
    int songIndex = -1;   // song rows
};

struct MusicViewRows {
    wxString label;  // the list's label
    std::vector<MusicRow> rows;
    int selectRow = 0;  // select it when it lies within rows
};

// The player's state as the rows' markers need it.
struct PlayerMarks {
    bool playing = false;
    bool paused = false;
};

// Builds the rows of the library's music level. An open album that no
// longer exists sends the library back to the overview first.
MusicViewRows BuildMusicRows(MusicLibrary& library, PlayerMarks marks);

// What a rendered view was built from. A later render that differs only in
// the current song or the player's marks rewrites just the rows that carry
// a marker instead of refilling a list of thousands.
struct MusicViewStamp {
    bool valid = false;
    unsigned revision = 0;
    int level = 0;
    int openAlbum = -1;
    bool hotkeysEnabled = false;
    size_t rowCount = 0;
    int markedRow = -1;  // the row that carries the marker, -1 none
};

// The stamp of view, just built from library by BuildMusicRows.
MusicViewStamp StampMusicView(const MusicLibrary& library, const MusicViewRows& view);

struct MusicRowUpdate {
    std::vector<std::pair<int, MusicRow>> rows;  // row index and its content now
    int selectRow = 0;                           // as BuildMusicRows would select
};

// The rows that may differ from the view stamped by shown, when nothing but
// the current song and the marks changed; the stamp then describes the view
// after the update. Nullopt when the whole view must be built again.
std::optional<MusicRowUpdate> UpdateMusicRows(const MusicLibrary& library, PlayerMarks marks, MusicViewStamp& shown);

// The line of one song row: marker when current, name, and in the playlist
// view " | " plus its source when that is not empty.
wxString FormatSongLine(const MusicLibrary& library, const Song& song, int songIndex, int albumIndex,
                        PlayerMarks marks);

// Whole seconds as "%02d:%02d" with uncapped minutes; negative (and
// non-numbers) as 00:00.
wxString FormatClock(double seconds);

struct MusicStatus {
    int playMode = 0;
    wxString deviceName;        // empty: no usable device
    const Song* song = nullptr;  // the current song, null when none
    bool playing = false;
    bool paused = false;
    double position = 0;
    double length = 0;
    bool hotkeysEnabled = false;
    int musicLevel = 0;
};

// The status bar's sentence in the 本地音乐 category.
wxString FormatMusicStatus(const MusicStatus& status);
