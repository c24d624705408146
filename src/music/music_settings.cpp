#include "music/music_settings.h"

#include <wx/fileconf.h>

#include <algorithm>
#include <climits>

namespace {

// Reads "<list>/0" … "<list>/count-1" in index order. The count comes from
// the file, so a damaged value such as 9223372036854775807 must not make a
// loop over every index run for ever: the entries present are enumerated
// instead, which gives the same values.
std::vector<wxString> ReadList(const wxFileConfig& config, const wxString& countKey, const wxString& list)
{
    std::vector<wxString> values;
    long count = config.ReadLong(countKey, 0);
    if (count <= 0 || !config.HasGroup(list)) return values;
    // The enumeration walks the current group; the changer restores the
    // document's path when it goes.
    wxConfigPathChanger inList(&config, list + "/");
    std::vector<std::pair<long, wxString>> indexed;
    wxString key;
    long cookie = 0;
    for (bool more = config.GetFirstEntry(key, cookie); more; more = config.GetNextEntry(key, cookie)) {
        long index = -1;
        // Only the plain decimal form the writer produces names an entry.
        if (key.empty() || !key.IsNumber() || key.StartsWith("-") || key.StartsWith("+")) continue;
        if (key.length() > 1 && key.StartsWith("0")) continue;
        if (!key.ToLong(&index) || index < 0 || index >= count) continue;
        wxString value = config.Read(key, wxString());
        if (!value.empty()) indexed.emplace_back(index, value);
    }
    std::sort(indexed.begin(), indexed.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    for (auto& entry : indexed) values.push_back(entry.second);
    return values;
}

}  // namespace

MusicSettings LoadMusicSettings(const SettingsStore& store)
{
    SettingsFile file = store.Open();
    const wxFileConfig& config = file.View();
    MusicSettings settings;
    settings.globalHotkeysEnabled = config.ReadBool("/localMusic/globalHotkeysEnabled", false);
    long mode = config.ReadLong("/localMusic/playMode", 0);
    // Any value outside the modes loads as in order; only a value that
    // would not even fit an int is settled here.
    settings.playMode = (mode < INT_MIN || mode > INT_MAX) ? 0 : static_cast<int>(mode);
    settings.playlistPaths = ReadList(config, "/localMusic/playlistCount", "/localMusic/playlist");
    settings.albumFolders = ReadList(config, "/localMusic/albumCount", "/localMusic/album");
    return settings;
}

bool SaveMusicSettings(const SettingsStore& store, const MusicSettings& settings)
{
    SettingsFile file = store.Open();
    wxFileConfig& config = file.Config();
    config.DeleteGroup("/localMusic");
    config.SetPath("/localMusic");
    config.Write("globalHotkeysEnabled", settings.globalHotkeysEnabled);
    config.Write("playMode", settings.playMode);
    config.Write("playlistCount", static_cast<long>(settings.playlistPaths.size()));
    config.Write("albumCount", static_cast<long>(settings.albumFolders.size()));
    unsigned long long i = 0;
    for (const wxString& path : settings.playlistPaths) {
        config.Write(wxString::Format("playlist/%llu", i++), path);
    }
    i = 0;
    for (const wxString& folder : settings.albumFolders) {
        config.Write(wxString::Format("album/%llu", i++), folder);
    }
    return file.Save();
}
