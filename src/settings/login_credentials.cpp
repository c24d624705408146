#include "settings/login_credentials.h"

#include "platform/keyring.h"

#include <atomic>

namespace {

enum NoticeState { kNoNotice, kNoticePending, kNoticeTold };
std::atomic<int> gFallbackNotice{kNoNotice};

platform::KeyringAccount AccountOf(const SettingsStore& store, const wxString& mobile)
{
    const ServerEndpoint endpoint = store.LoadServerEndpoint();
    return platform::KeyringAccount{endpoint.host.utf8_string(), endpoint.port, mobile.utf8_string()};
}

// What a person sees in the keyring's list: "澄川论坛 登录密码（138…）".
std::string LabelFor(const wxString& mobile)
{
    return (wxS("澄川论坛 登录密码（") + mobile.Left(3) + wxS("…）")).utf8_string();
}

}  // namespace

LoginCredentials::LoginCredentials(SettingsStore store) : store_(std::move(store)) {}

LoginSettings LoginCredentials::Load() const
{
    LoginSettings settings = store_.LoadLoginSettings();
    if (!settings.rememberPassword || settings.mobile.empty()) return settings;
    const platform::KeyringSecret secret = platform::KeyringLookup(AccountOf(store_, settings.mobile));
    if (secret.status == platform::KeyringStatus::Done) {
        settings.password = wxString::FromUTF8(secret.password.c_str());
    }
    return settings;
}

void LoginCredentials::Save(const LoginSettings& settings) const
{
    const LoginSettings before = store_.LoadLoginSettings();
    LoginSettings toFile = settings;
    // NotFound: nothing to store.
    platform::KeyringStatus stored = platform::KeyringStatus::NotFound;
    if (settings.rememberPassword && !settings.password.empty() && !settings.mobile.empty()) {
        stored = platform::KeyringStore(AccountOf(store_, settings.mobile), LabelFor(settings.mobile),
                                        settings.password.utf8_string());
        if (stored == platform::KeyringStatus::Done) {
            toFile.password.clear();
        } else {
            int expected = kNoNotice;
            gFallbackNotice.compare_exchange_strong(expected, kNoticePending);
        }
    }
    // An item no longer wanted, or one that would hold a stale password
    // beside the file's new one; a keyring that just failed to answer is
    // not asked again.
    const bool inKeyring = stored == platform::KeyringStatus::Done;
    if (stored != platform::KeyringStatus::Unavailable && (!inKeyring || before.mobile != settings.mobile)) {
        Forget(before);
    }
    store_.SaveLoginSettings(toFile);
}

void LoginCredentials::Clear() const
{
    Forget(store_.LoadLoginSettings());
    store_.ClearLoginSettings();
}

void LoginCredentials::Forget(const LoginSettings& saved) const
{
    // Nothing was ever put in the keyring for a login not remembered.
    if (saved.rememberPassword && !saved.mobile.empty()) {
        platform::KeyringRemove(AccountOf(store_, saved.mobile));
    }
}

wxString LoginCredentials::TakeFallbackNotice()
{
    int expected = kNoticePending;
    if (!gFallbackNotice.compare_exchange_strong(expected, kNoticeTold)) return wxString();
    return wxS("未找到系统密钥环，密码保存在设置文件中。");
}
