#include "music/music_hotkey_binding.h"

#include "music/music_commands.h"

#include <string>

namespace {

std::string AcceleratorOf(const MusicHotkey& hotkey)
{
    return AcceleratorFor(hotkey.modifiers, hotkey.keyCode).utf8_string();
}

}  // namespace

MusicHotkeyBinding::MusicHotkeyBinding(std::function<void(int id)> onHotkey)
    : onHotkey_(std::move(onHotkey))
{
}

int MusicHotkeyBinding::RegisterAll()
{
    int registered = 0;
    for (const MusicHotkey& hotkey : MusicHotkeys()) {
        std::string accelerator = AcceleratorOf(hotkey);
        if (hotkeys_.IsRegistered(accelerator)) {
            ++registered;
            continue;
        }
        int id = hotkey.id;
        if (hotkeys_.Register(accelerator, [this, id] { onHotkey_(id); })) ++registered;
    }
    return registered;
}

void MusicHotkeyBinding::UnregisterAll()
{
    hotkeys_.UnregisterAll();
}

bool MusicHotkeyBinding::IsRegistered(int id) const
{
    const MusicHotkey* hotkey = FindMusicHotkey(id);
    return hotkey && hotkeys_.IsRegistered(AcceleratorOf(*hotkey));
}
