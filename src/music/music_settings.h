// The "/localMusic" group of settings.ini.
#pragma once

#include "settings/settings_store.h"

#include <wx/string.h>

#include <vector>

struct MusicSettings {
    bool globalHotkeysEnabled = false;
    int playMode = 0;  // as stored; the library validates it
    std::vector<wxString> playlistPaths;
    std::vector<wxString> albumFolders;
};

// Reads the group; missing keys read as defaults, missing or empty list
// entries are skipped.
MusicSettings LoadMusicSettings(const SettingsStore& store);

// Replaces the whole group and writes the file; other groups stay as they
// are. Returns whether the file was written.
bool SaveMusicSettings(const SettingsStore& store, const MusicSettings& settings);
