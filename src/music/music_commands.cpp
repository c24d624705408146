#include "music/music_commands.h"

#include "music/music_types.h"

#include <wx/defs.h>

namespace {

struct KeyName {
    int keyCode;
    const char* gtkName;
};

const KeyName kKeyNames[] = {
    {WXK_LEFT, "Left"},       {WXK_RIGHT, "Right"},        {WXK_UP, "Up"},
    {WXK_DOWN, "Down"},       {WXK_HOME, "Home"},          {WXK_END, "End"},
    {WXK_PAGEUP, "Page_Up"},  {WXK_PAGEDOWN, "Page_Down"},
};

}  // namespace

const std::vector<MusicHotkey>& MusicHotkeys()
{
    static const int C = HotkeyCtrl;
    static const int CS = HotkeyCtrl | HotkeyShift;
    static const std::vector<MusicHotkey> table = {
        {6037, CS, 'Z', MusicCommand::ToggleWindow},
        {6038, C, 'I', MusicCommand::ImportAlbum},
        {6039, C, 'O', MusicCommand::AddFiles},
        {6040, C, WXK_LEFT, MusicCommand::SeekBack},
        {6041, C, WXK_RIGHT, MusicCommand::SeekForward},
        {6042, C, WXK_UP, MusicCommand::VolumeUp},
        {6043, C, WXK_DOWN, MusicCommand::VolumeDown},
        {6044, C, WXK_HOME, MusicCommand::PauseOrResume},
        {6045, C, WXK_END, MusicCommand::PlayFromStart},
        {6046, C, WXK_PAGEUP, MusicCommand::PreviousSong},
        {6047, C, WXK_PAGEDOWN, MusicCommand::NextSong},
        {6048, CS, WXK_PAGEUP, MusicCommand::PreviousDevice},
        {6049, CS, WXK_PAGEDOWN, MusicCommand::NextDevice},
    };
    return table;
}

const MusicHotkey* FindMusicHotkey(int id)
{
    for (const MusicHotkey& hotkey : MusicHotkeys()) {
        if (hotkey.id == id) return &hotkey;
    }
    return nullptr;
}

wxString AcceleratorFor(int modifiers, int keyCode)
{
    wxString key;
    if ((keyCode >= 'A' && keyCode <= 'Z') || (keyCode >= 'a' && keyCode <= 'z')) {
        // Grabs follow the key, not the letter's case; GTK names it in lower case.
        key = wxString(static_cast<wxChar>(keyCode)).Lower();
    } else {
        for (const KeyName& name : kKeyNames) {
            if (name.keyCode == keyCode) key = name.gtkName;
        }
    }
    if (key.empty()) return key;
    wxString prefix;
    if (modifiers & HotkeyCtrl) prefix += "<Ctrl>";
    if (modifiers & HotkeyShift) prefix += "<Shift>";
    return prefix + key;
}

std::optional<MusicCommand> MusicKeyCommand(int keyCode, bool ctrl, bool shift)
{
    if (!ctrl) return std::nullopt;
    switch (keyCode) {
    case 'I': case 'i': return MusicCommand::ImportAlbum;
    case 'O': case 'o': return MusicCommand::AddFiles;
    case WXK_END: return MusicCommand::PlayFromStart;
    case WXK_HOME: return MusicCommand::PauseOrResume;
    case WXK_LEFT: return MusicCommand::SeekBack;
    case WXK_RIGHT: return MusicCommand::SeekForward;
    case WXK_UP: return MusicCommand::VolumeUp;
    case WXK_DOWN: return MusicCommand::VolumeDown;
    case WXK_PAGEUP: return shift ? MusicCommand::PreviousDevice : MusicCommand::PreviousSong;
    case WXK_PAGEDOWN: return shift ? MusicCommand::NextDevice : MusicCommand::NextSong;
    default: return std::nullopt;
    }
}

int PlayModeOfMenuId(int id)
{
    switch (id) {
    case IdPlayInOrder: return PlayInOrder;
    case IdRepeatOne: return PlayRepeatOne;
    case IdRepeatList: return PlayRepeatList;
    case IdReverse: return PlayReverse;
    case IdRandom: return PlayRandom;
    default: return -1;
    }
}
