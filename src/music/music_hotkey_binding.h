// The thirteen music hotkeys bound through the system-wide hotkey layer.
// The main window owns one and forwards each press (by id) to
// MusicController::HandleHotkey.
#pragma once

#include "platform/hotkeys.h"

#include <functional>

class MusicHotkeyBinding {
public:
    explicit MusicHotkeyBinding(std::function<void(int id)> onHotkey);

    // Registers every combination of MusicHotkeys(); a combination another
    // program holds simply does not work. Returns how many were registered.
    int RegisterAll();
    void UnregisterAll();
    // Whether the combination of hotkey `id` is held now; false for ids
    // outside the table.
    bool IsRegistered(int id) const;

private:
    GlobalHotkeys hotkeys_;
    std::function<void(int id)> onHotkey_;
};
