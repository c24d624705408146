#include "account/login_form.h"

namespace {

wxString Trimmed(const wxString& text)
{
    wxString copy = text;
    return copy.Trim(true).Trim(false);
}

}  // namespace

std::optional<InputProblem> CheckLoginInput(const wxString& mobile, const wxString& password)
{
    if (Trimmed(mobile).empty()) return InputProblem{LoginField::Account, wxS("请输入账号。")};
    if (password.empty()) return InputProblem{LoginField::Password, wxS("请输入密码。")};
    return std::nullopt;
}

std::optional<InputProblem> CheckSendCodeInput(const wxString& mobile)
{
    if (Trimmed(mobile).empty()) return InputProblem{LoginField::Account, wxS("请输入手机号。")};
    return std::nullopt;
}

std::optional<InputProblem> CheckCredentialInput(const wxString& mobile, const wxString& password,
                                                 const wxString& code)
{
    if (Trimmed(mobile).empty()) return InputProblem{LoginField::Account, wxS("请输入手机号。")};
    if (password.empty()) return InputProblem{LoginField::Password, wxS("请输入密码。")};
    if (Trimmed(code).empty()) return InputProblem{LoginField::Code, wxS("请输入验证码。")};
    return std::nullopt;
}

RememberChoice AfterRememberChanged(RememberChoice choice)
{
    if (!choice.rememberPassword) choice.autoLogin = false;
    return choice;
}

RememberChoice AfterAutoLoginChanged(RememberChoice choice)
{
    if (choice.autoLogin) choice.rememberPassword = true;
    return choice;
}

LoginSettings SettingsAfterSuccess(const wxString& mobile, const wxString& password, RememberChoice choice)
{
    LoginSettings settings;
    settings.mobile = Trimmed(mobile);
    settings.rememberPassword = choice.rememberPassword;
    settings.password = choice.rememberPassword ? password : wxString();
    settings.autoLogin = choice.rememberPassword && choice.autoLogin;
    return settings;
}

CredentialFlowTexts TextsForMode(bool resetMode)
{
    if (resetMode) return {wxS("找回密码"), wxS("重置密码"), wxS("重置密码失败")};
    return {wxS("注册账号"), wxS("注册"), wxS("注册失败")};
}
