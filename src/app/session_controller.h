#pragma once

// The one user session of the program, without the window: automatic login
// at start, the on-demand check that a login is still valid, logout, and
// what each does to the saved login settings. The window runs the calls
// under its busy cursor, shows the login dialog and follows the session
// in the home view's first row (SessionHost).

#include <functional>
#include <optional>

#include <wx/string.h>

#include "settings/login_credentials.h"
#include "settings/settings_store.h"
#include "api/account_records.h"

class ApiClient;

// Guest: not logged in and the three texts empty.
struct SessionState {
    bool loggedIn = false;
    wxString token;
    wxString cookies;
    wxString displayName;
};

class SessionHost {
public:
    virtual ~SessionHost() = default;
    // Runs one server call the way the window runs them (busy cursor).
    virtual void RunCall(const std::function<void()>& call) = 0;
    // The session changed: rebuild the home view; with `onlyIfHomeShown`
    // the list is shown again only when the home view is on screen.
    virtual void SessionChanged(bool onlyIfHomeShown) = 0;
    // The status text; with `announce` also spoken, because a dialog or
    // nothing at all would otherwise follow unexplained.
    virtual void ShowSessionStatus(const wxString& text, bool announce) = 0;
    virtual void ShowSessionError(const wxString& caption, const wxString& text) = 0;
    // The login dialog: its session when it ended with one, else nothing.
    virtual std::optional<LoginResult> AskForLogin() = 0;
};

class SessionController {
public:
    // `api` and `host` must outlive the controller.
    SessionController(const ApiClient& api, SessionHost& host, SettingsStore store = SettingsStore());

    const SessionState& State() const { return state_; }

    // Start-up: logs in with the saved credentials when automatic login is on.
    void TryAutoLogin();
    // The saved settings ask for an automatic login.
    bool WantsAutoLogin() const;
    // True when a valid session exists afterwards (asking for a login if needed).
    bool EnsureLoggedIn();
    // What the forum dialogs call: EnsureLoggedIn, then the session texts.
    bool LoginForDialog(wxString& token, wxString& cookies);
    // Ends the session and forgets the whole saved login.
    void Logout();

private:
    void Adopt(const LoginResult& result);
    void ClearSession();
    // Says once per run that the password went to settings.ini.
    void TellKeyringFallback();

    const ApiClient& api_;
    SessionHost& host_;
    SettingsStore store_;
    LoginCredentials credentials_;
    SessionState state_;
};
