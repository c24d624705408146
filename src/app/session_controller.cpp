#include "app/session_controller.h"

#include "api/api_client.h"

SessionController::SessionController(const ApiClient& api, SessionHost& host, SettingsStore store)
    : api_(api), host_(host), store_(std::move(store)), credentials_(store_)
{
}

void SessionController::Adopt(const LoginResult& result)
{
    state_.loggedIn = true;
    state_.token = result.token;
    state_.cookies = result.cookies;
    state_.displayName = result.displayName;
}

void SessionController::ClearSession() { state_ = SessionState(); }

namespace {

bool AsksForAutoLogin(const LoginSettings& saved)
{
    return saved.autoLogin && !saved.mobile.empty() && !saved.password.empty();
}

}  // namespace

// The file alone decides: the password may wait in the keyring.
bool SessionController::WantsAutoLogin() const
{
    const LoginSettings saved = store_.LoadLoginSettings();
    return saved.autoLogin && !saved.mobile.empty();
}

void SessionController::TryAutoLogin()
{
    if (!WantsAutoLogin()) return;
    // The keyring is read under the same wait as the login itself.
    LoginSettings saved;
    LoginResult result;
    host_.RunCall([&] {
        saved = credentials_.Load();
        if (AsksForAutoLogin(saved)) result = api_.Login(saved.mobile, saved.password);
    });
    if (!AsksForAutoLogin(saved)) return;
    if (result.ok) {
        Adopt(result);
        host_.SessionChanged(false);
        host_.ShowSessionStatus(wxS("已自动登录。"), true);
        return;
    }
    // Only a server that turned the saved credentials down makes them
    // useless; an unreachable server says nothing about them, so the next
    // start tries again. The file is changed as it is: a password kept in
    // the keyring stays there.
    if (result.refused) {
        LoginSettings off = store_.LoadLoginSettings();
        off.autoLogin = false;
        store_.SaveLoginSettings(off);
    }
    host_.ShowSessionStatus(wxS("自动登录失败，已切换为游客浏览。"), true);
}

void SessionController::TellKeyringFallback()
{
    const wxString notice = LoginCredentials::TakeFallbackNotice();
    if (!notice.empty()) host_.ShowSessionStatus(notice, true);
}

bool SessionController::EnsureLoggedIn()
{
    const bool wasLoggedIn = state_.loggedIn;
    if (state_.loggedIn && (!state_.token.empty() || !state_.cookies.empty())) {
        UserInfo profile;
        host_.RunCall([&] { profile = api_.GetUserProfile(state_.token, state_.cookies); });
        if (profile.ok) {
            if (!profile.name.empty()) state_.displayName = profile.name;
            return true;
        }
        if (!profile.sessionExpired) {
            host_.ShowSessionError(wxS("验证登录状态失败"), profile.error);
            return false;
        }
    }
    if (wasLoggedIn) {
        ClearSession();
        LoginSettings saved = store_.LoadLoginSettings();
        saved.autoLogin = false;
        store_.SaveLoginSettings(saved);
        host_.SessionChanged(true);
        host_.ShowSessionStatus(wxS("当前登录已失效，请重新登录。"), true);
    }
    const std::optional<LoginResult> login = host_.AskForLogin();
    // A dialog that ended without a session leaves the user a guest.
    if (!login || !login->ok) return false;
    Adopt(*login);
    host_.SessionChanged(true);
    TellKeyringFallback();
    return true;
}

bool SessionController::LoginForDialog(wxString& token, wxString& cookies)
{
    if (!EnsureLoggedIn()) return false;
    token = state_.token;
    cookies = state_.cookies;
    return true;
}

void SessionController::Logout()
{
    ClearSession();
    host_.RunCall([&] { credentials_.Clear(); });
    host_.SessionChanged(true);
    host_.ShowSessionStatus(wxS("已退出当前账号。"), false);
}
