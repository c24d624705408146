// The program's persistent settings: "settings.ini" in the folder "澄川论坛"
// of the user's local data folder. The file is read once per process and
// kept (see SettingsFile); each save writes it when something changed. Any
// number of stores may name the same folder: they share one document.
#pragma once

#include "settings/settings_file.h"
#include "api/server_endpoint.h"

#include <wx/string.h>

// The "/login" group.
struct LoginSettings {
    wxString mobile;
    wxString password;
    bool rememberPassword = false;
    bool autoLogin = false;
};

class SettingsStore {
public:
    // folder: where settings.ini lives; empty means DefaultSettingsFolder().
    explicit SettingsStore(wxString folder = wxString());

    // $XDG_DATA_HOME/澄川论坛, or ~/.local/share/澄川论坛 when XDG_DATA_HOME is
    // unset or not absolute (the desktop's rule).
    static wxString DefaultSettingsFolder();

    // Full path of settings.ini; creates its folder (owner-only) so the
    // first save never fails for a missing folder.
    wxString SettingsFilePath() const;

    // The whole document, for a reader or writer of one group.
    SettingsFile Open() const;

    // A missing or unreadable file reads as all defaults. Without
    // rememberPassword there is no password and no auto-login.
    LoginSettings LoadLoginSettings() const;
    // The saves return whether the file was written; callers may ignore it.
    bool SaveLoginSettings(const LoginSettings& settings) const;
    // Forgets the whole "/login" group (the phone number too); other groups stay.
    bool ClearLoginSettings() const;

    // The forum server: the compiled-in one, with "host" (non-empty),
    // "scheme" ("http" or "https"; port then 443), "port" (1–65535) and
    // "caFile" of the "/server" group taking precedence.
    ServerEndpoint LoadServerEndpoint() const;

private:
    wxString folder_;
};
