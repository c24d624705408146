// Command ids of the main window: window ids, menu and accelerator ids, and
// the global hotkey ids (handed to the desktop, so unique in the program).
#pragma once

namespace MainId {

enum : int {
    Category = 6001,        // category selector; selection re-renders the list
    List = 6002,            // the main list
    FocusCategory = 6020,   // Alt+S
    FocusList = 6021,       // Alt+L
    ForumCategory = 6022,   // Alt+1
    MusicCategory = 6023,   // Alt+2
    ToggleFocus = 6024,     // F6
    ReplyToFloor = 6025,    // floor context menu
    EditPost = 6026,        // post context menu
    DeletePost = 6027,      // post context menu
    PlayModeFirst = 6029,   // music context menu radio items, play modes 0-4
    PlayModeLast = 6033,
    DeleteSong = 6034,
    DeleteAlbum = 6035,
    ToggleWindow = 6036,    // Ctrl+Shift+Z inside the window
    HotkeyFirst = 6037,     // global hotkeys; 6037 is Ctrl+Shift+Z
    HotkeyToggleWindow = 6037,
    HotkeyLast = 6049,
};

}  // namespace MainId

// Rows of the category selector.
namespace CategoryRow {
enum : int { Forum = 0, Music = 1 };
}
