// settings.ini as found on disk: every group the program reads is loaded,
// saved and loaded again, and must come back with the same values.
#include <cstdint>

#include "settings/settings_store.h"
#include <wx/fileconf.h>
#include <wx/log.h>

#include "fuzz_files.h"
#include "fuzz_toolkit.h"
#include "music/music_settings.h"
#include "fuzz_check.h"

namespace {

bool Same(const LoginSettings& a, const LoginSettings& b)
{
    return a.mobile == b.mobile && a.password == b.password && a.rememberPassword == b.rememberPassword &&
           a.autoLogin == b.autoLogin;
}

bool Same(const MusicSettings& a, const MusicSettings& b)
{
    return a.globalHotkeysEnabled == b.globalHotkeysEnabled && a.playMode == b.playMode &&
           a.playlistPaths == b.playlistPaths && a.albumFolders == b.albumFolders;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // wxFileConfig reports unreadable lines through the toolkit's log;
    // thousands of runs a second would drown the fuzzer's own output.
    wxLog::EnableLogging(false);
    fuzz::FailOnToolkitAssertion();
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::string folder = fuzz::Folder() + "/settings";
    std::filesystem::create_directories(folder);
    const std::string file = folder + "/settings.ini";
    fuzz::ReplaceFile(file, text);
    const SettingsStore store{wxString::FromUTF8(folder)};

    const LoginSettings login = store.LoadLoginSettings();
    const ServerEndpoint server = store.LoadServerEndpoint();
    const MusicSettings music = LoadMusicSettings(store);
    FUZZ_CHECK(store.SaveLoginSettings(login));
    FUZZ_CHECK(SaveMusicSettings(store, music));
    fuzz::Reread(file);

    FUZZ_CHECK(Same(store.LoadLoginSettings(), login));
    const ServerEndpoint again = store.LoadServerEndpoint();
    FUZZ_CHECK(again.host == server.host && again.port == server.port);
    FUZZ_CHECK(Same(LoadMusicSettings(store), music));

    // A forgotten password, or a logged-out account, leaves nothing a later
    // load could find, and the other groups stay as they were.
    FUZZ_CHECK(store.SaveLoginSettings(LoginSettings{login.mobile, wxString(), false, false}));
    fuzz::Reread(file);
    FUZZ_CHECK(!store.Open().Config().HasEntry("/login/password"));
    FUZZ_CHECK(store.LoadLoginSettings().password.empty());
    FUZZ_CHECK(store.ClearLoginSettings());
    fuzz::Reread(file);
    FUZZ_CHECK(!store.Open().Config().HasGroup("/login"));
    FUZZ_CHECK(Same(store.LoadLoginSettings(), LoginSettings{}));
    FUZZ_CHECK(Same(LoadMusicSettings(store), music));
    return 0;
}
