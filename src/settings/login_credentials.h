// The saved login with its password in the desktop keyring. settings.ini
// keeps the mobile number and the two flags; the password goes to the
// Secret Service when one answers, and to settings.ini (owner-only) only
// when none does. Each call may wait for the keyring for a bounded time:
// windows make them under the responsive wait.
#pragma once

#include "settings/settings_store.h"

#include <wx/string.h>

class LoginCredentials {
public:
    explicit LoginCredentials(SettingsStore store = SettingsStore());

    // The "/login" group with the password from the keyring, or, when the
    // keyring has none, the one still in settings.ini (a file from before,
    // or a desktop without keyring).
    LoginSettings Load() const;
    // Writes the group. A remembered password goes to the keyring and
    // leaves settings.ini (so an old file's password moves at the next
    // save); without a keyring it stays in the file. A password no longer
    // remembered, or an account changed, leaves the keyring too.
    void Save(const LoginSettings& settings) const;
    // Forgets the whole saved login, keyring item included.
    void Clear() const;

    // "未找到系统密钥环，密码保存在设置文件中。" the first time it is asked
    // after a save found no keyring in this run; empty otherwise.
    static wxString TakeFallbackNotice();

private:
    void Forget(const LoginSettings& saved) const;

    SettingsStore store_;
};
