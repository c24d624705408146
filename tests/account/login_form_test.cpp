// What the login windows decide before anything is sent or stored.
#include "account/login_form.h"

#include <gtest/gtest.h>

namespace {

wxString U(const char* s) { return wxString::FromUTF8(s); }

TEST(LoginForm, MissingInputNamesTheBoxAndTheText)
{
    struct Case {
        const char* mobile;
        const char* password;
        const char* code;  // nullptr: the login window, which has no code
        std::optional<LoginField> field;
        const char* message;
    };
    const Case cases[] = {
        {"", "pw", nullptr, LoginField::Account, "请输入账号。"},
        {"   ", "pw", nullptr, LoginField::Account, "请输入账号。"},
        {"138", "", nullptr, LoginField::Password, "请输入密码。"},
        {"138", "   ", nullptr, std::nullopt, ""},  // a password of spaces is sent as typed
        {" 138 ", "pw", nullptr, std::nullopt, ""},
        {"\t", "pw", "1", LoginField::Account, "请输入手机号。"},
        {"138", "", "1", LoginField::Password, "请输入密码。"},
        {"138", "pw", "  ", LoginField::Code, "请输入验证码。"},
        {"138", " ", "1", std::nullopt, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.mobile) + "|" + c.password + "|" + (c.code ? c.code : "-"));
        const auto problem = c.code ? CheckCredentialInput(U(c.mobile), U(c.password), U(c.code))
                                    : CheckLoginInput(U(c.mobile), U(c.password));
        ASSERT_EQ(problem.has_value(), c.field.has_value());
        if (!problem) continue;
        EXPECT_EQ(problem->field, *c.field);
        EXPECT_EQ(problem->message, U(c.message));
    }
    ASSERT_TRUE(CheckSendCodeInput(U(" ")).has_value());
    EXPECT_EQ(CheckSendCodeInput(U(" "))->message, U("请输入手机号。"));
    EXPECT_FALSE(CheckSendCodeInput(U("13800000001")).has_value());
}

TEST(LoginForm, AutomaticLoginNeedsTheRememberedPassword)
{
    // Ticking "自动登录" alone ticks "记住密码"; clearing "记住密码" clears both.
    RememberChoice choice = AfterAutoLoginChanged({false, true});
    EXPECT_TRUE(choice.rememberPassword);
    EXPECT_TRUE(choice.autoLogin);
    choice = AfterRememberChanged({false, true});
    EXPECT_FALSE(choice.rememberPassword);
    EXPECT_FALSE(choice.autoLogin);
    // The other changes leave the partner alone.
    choice = AfterAutoLoginChanged({true, false});
    EXPECT_TRUE(choice.rememberPassword);
    EXPECT_FALSE(choice.autoLogin);
    choice = AfterRememberChanged({true, false});
    EXPECT_TRUE(choice.rememberPassword);
    EXPECT_FALSE(choice.autoLogin);
}

TEST(LoginForm, SuccessRemembersThePasswordOnlyWhenAsked)
{
    LoginSettings s = SettingsAfterSuccess(U(" 13800000001 "), U(" pw "), {true, true});
    EXPECT_EQ(s.mobile, U("13800000001"));
    EXPECT_EQ(s.password, U(" pw "));
    EXPECT_TRUE(s.rememberPassword);
    EXPECT_TRUE(s.autoLogin);
    s = SettingsAfterSuccess(U("13800000001"), U("pw"), {false, true});
    EXPECT_EQ(s.password, U(""));
    EXPECT_FALSE(s.rememberPassword);
    EXPECT_FALSE(s.autoLogin);
}

TEST(LoginForm, EachModeHasItsTexts)
{
    const CredentialFlowTexts reg = TextsForMode(false);
    EXPECT_EQ(reg.title, U("注册账号"));
    EXPECT_EQ(reg.submitLabel, U("注册"));
    EXPECT_EQ(reg.failureCaption, U("注册失败"));
    const CredentialFlowTexts reset = TextsForMode(true);
    EXPECT_EQ(reset.title, U("找回密码"));
    EXPECT_EQ(reset.submitLabel, U("重置密码"));
    EXPECT_EQ(reset.failureCaption, U("重置密码失败"));
}

}  // namespace
