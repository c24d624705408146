// The music player's commands and the keys that give them: the Ctrl keys
// inside the main window, the thirteen global hotkeys and the context menu.
#pragma once

#include <wx/string.h>

#include <optional>
#include <vector>

enum class MusicCommand {
    ToggleWindow,
    ImportAlbum,
    AddFiles,
    SeekBack,
    SeekForward,
    VolumeUp,
    VolumeDown,
    PauseOrResume,
    PlayFromStart,
    PreviousSong,
    NextSong,
    PreviousDevice,
    NextDevice,
};

// In-window keys report failures in the status bar; hotkeys stay quieter.
enum class CommandOrigin { Window, Hotkey };

// Menu and hotkey ids of the main window.
enum MusicMenuId : int {
    IdPlayInOrder = 6029,
    IdRepeatOne = 6030,
    IdRepeatList = 6031,
    IdReverse = 6032,
    IdRandom = 6033,
    IdDeleteSong = 6034,
    IdDeleteAlbum = 6035,
    IdFirstMusicHotkey = 6037,
    IdLastMusicHotkey = 6049,
};

// Modifier bits of a hotkey (the toolkit's wxMOD_CONTROL and wxMOD_SHIFT).
enum HotkeyModifier : int { HotkeyCtrl = 0x0002, HotkeyShift = 0x0004 };

struct MusicHotkey {
    int id;
    int modifiers;    // HotkeyModifier bits
    int keyCode;      // the toolkit's key code (WXK_… or an upper-case letter)
    MusicCommand command;
};

// The thirteen global hotkeys, ids 6037–6049 in order.
const std::vector<MusicHotkey>& MusicHotkeys();
const MusicHotkey* FindMusicHotkey(int id);

// A toolkit key code with modifiers as a GTK accelerator ("<Ctrl><Shift>Page_Up"),
// the form the system-wide grab takes; empty for keys this table does not use.
wxString AcceleratorFor(int modifiers, int keyCode);

// The command of an in-window key, or none when the music key handler
// leaves the key alone (every key without Ctrl, and unknown keys).
std::optional<MusicCommand> MusicKeyCommand(int keyCode, bool ctrl, bool shift);

// The play mode of menu ids 6029–6033, or -1.
int PlayModeOfMenuId(int id);
