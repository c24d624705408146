// What the login and credential dialogs decide, without their windows:
// which input is missing, how the two check boxes pull each other along,
// what is remembered after a success, and the texts of each mode.
#pragma once

#include <optional>

#include <wx/string.h>

#include "settings/settings_store.h"

// The box an input problem sends the focus to.
enum class LoginField { Account, Password, Code };

// A notice ("提示") to show before nothing is sent.
struct InputProblem {
    LoginField field;
    wxString message;
};

// Phone numbers and codes count trimmed; passwords are sent as typed.
std::optional<InputProblem> CheckLoginInput(const wxString& mobile, const wxString& password);
std::optional<InputProblem> CheckSendCodeInput(const wxString& mobile);
std::optional<InputProblem> CheckCredentialInput(const wxString& mobile, const wxString& password,
                                                 const wxString& code);

// The two check boxes: automatic login needs the remembered password.
struct RememberChoice {
    bool rememberPassword = false;
    bool autoLogin = false;
};
// After the user changed "记住密码": clearing it clears "自动登录".
RememberChoice AfterRememberChanged(RememberChoice choice);
// After the user changed "自动登录": ticking it ticks "记住密码".
RememberChoice AfterAutoLoginChanged(RememberChoice choice);

// What a successful login, registration or reset leaves in "/login".
LoginSettings SettingsAfterSuccess(const wxString& mobile, const wxString& password, RememberChoice choice);

// Register or reset: the window's title and heading, its submit button,
// and the caption of a failed submit.
struct CredentialFlowTexts {
    wxString title;
    wxString submitLabel;
    wxString failureCaption;
};
CredentialFlowTexts TextsForMode(bool resetMode);
