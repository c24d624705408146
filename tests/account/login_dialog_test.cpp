// The login and credential windows as real dialogs under Xvfb against the
// local forum server: what they show and speak, and what the keys do.
#include "account/credential_flow_dialog.h"
#include "account/login_dialog.h"
#include "settings/settings_store.h"
#include "account/modal_script.h"
#include "app/gtk_keys.h"
#include "request_forms/gui_pump.h"
#include "support/forum_profile.h"
#include "support/local_forum_process.h"

#include <atk/atk.h>
#include <gtest/gtest.h>
#include <gtk/gtk.h>
#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/textctrl.h>

#include <functional>
#include <memory>
#include <ostream>
#include <regex>

void PrintTo(const wxString& text, std::ostream* out) { *out << '"' << text.utf8_string() << '"'; }

namespace {

using guitest::DialogAnswerer;
using guitest::PumpUntil;
using guitest::WhenModal;

wxString U(const char* s) { return wxString::FromUTF8(s); }

template <class T>
T* Named(wxWindow* dialog, const char* name) {
    return dynamic_cast<T*>(wxWindow::FindWindowByName(U(name), dialog));
}

AtkObject* Accessible(wxWindow* control) { return gtk_widget_get_accessible(control->GetConnectWidget()); }

std::string AccName(wxWindow* control) {
    const char* name = atk_object_get_name(Accessible(control));
    return name ? name : "";
}

std::string AccDescription(wxWindow* control) {
    const char* text = atk_object_get_description(Accessible(control));
    return text ? text : "";
}

bool AccChecked(wxWindow* control) {
    AtkStateSet* states = atk_object_ref_state_set(Accessible(control));
    const bool checked = atk_state_set_contains_state(states, ATK_STATE_CHECKED);
    g_object_unref(states);
    return checked;
}

// Queues a key press and release the way the X server delivers them while
// the window is busy: they wait in GDK's queue until the loop runs again.
void QueueKey(wxWindow* anyControl, guint keyval) {
    GtkWidget* toplevel = gtk_widget_get_toplevel(anyControl->GetHandle());
    GdkWindow* window = gtk_widget_get_window(toplevel);
    GdkDisplay* display = gdk_window_get_display(window);
    for (GdkEventType type : {GDK_KEY_PRESS, GDK_KEY_RELEASE}) {
        GdkEvent* event = gdk_event_new(type);
        event->key.window = GDK_WINDOW(g_object_ref(window));
        event->key.send_event = TRUE;
        event->key.time = GDK_CURRENT_TIME;
        event->key.keyval = keyval;
        GdkKeymapKey* keys = nullptr;
        gint count = 0;
        if (gdk_keymap_get_entries_for_keyval(gdk_keymap_get_for_display(display), keyval, &keys, &count) &&
            count > 0) {
            event->key.hardware_keycode = static_cast<guint16>(keys[0].keycode);
            event->key.group = static_cast<guint8>(keys[0].group);
        }
        g_free(keys);
        gdk_event_set_device(event, gdk_seat_get_keyboard(gdk_display_get_default_seat(display)));
        gdk_event_put(event);
        gdk_event_free(event);
    }
}

int CountOf(const std::string& text, const std::string& what) {
    int n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
}

class LoginDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        forum = std::make_unique<qtest::LocalForumProcess>();
        ASSERT_TRUE(forum->ok()) << forum->error();
        profile = std::make_unique<qtest::ForumProfile>(forum->host(), forum->port());
        client = ApiClient(ServerEndpoint{U("127.0.0.1"), forum->port()});
    }
    void TearDown() override {
        qtest::Settle();
        profile.reset();
    }
    LoginSettings Stored() const { return SettingsStore().LoadLoginSettings(); }

    std::unique_ptr<qtest::LocalForumProcess> forum;
    std::unique_ptr<qtest::ForumProfile> profile;
    ApiClient client;
};

TEST_F(LoginDialogTest, OpensWithTheRememberedValuesAndNamesEveryControl) {
    SettingsStore().SaveLoginSettings(LoginSettings{U("13800000001"), U(" user123 "), true, true});
    auto* dialog = new LoginDialog(nullptr, client);
    dialog->Show();
    qtest::Settle();
    EXPECT_EQ(dialog->GetTitle(), U("登录"));
    EXPECT_GE(dialog->GetSize().x, 440);
    EXPECT_GE(dialog->GetSize().y, 280);
    auto* account = Named<wxTextCtrl>(dialog, "账号输入框");
    auto* password = Named<wxTextCtrl>(dialog, "密码输入框");
    auto* remember = Named<wxCheckBox>(dialog, "记住密码复选框");
    auto* autoLogin = Named<wxCheckBox>(dialog, "自动登录复选框");
    ASSERT_TRUE(account && password && remember && autoLogin);
    EXPECT_EQ(account->GetValue(), U("13800000001"));
    EXPECT_EQ(password->GetValue(), U(" user123 "));
    EXPECT_TRUE(remember->GetValue());
    EXPECT_TRUE(autoLogin->GetValue());
    EXPECT_TRUE(qtest::HasWindowFocus(account));

    EXPECT_EQ(AccName(account), "账号输入框");
    EXPECT_EQ(AccDescription(account), "请输入手机号");
    EXPECT_EQ(AccName(password), "密码输入框");
    // A screen reader hears the label, the check-box role and the state.
    EXPECT_EQ(AccName(remember), "记住密码");
    EXPECT_EQ(AccDescription(remember), "勾选后保存当前密码。");
    EXPECT_EQ(atk_object_get_role(Accessible(remember)), ATK_ROLE_CHECK_BOX);
    EXPECT_TRUE(AccChecked(remember));
    EXPECT_EQ(AccName(autoLogin), "自动登录");
    EXPECT_EQ(AccDescription(autoLogin), "勾选后下次启动自动使用已保存密码登录。");

    // Clearing "记住密码" with the keyboard clears both; the state is spoken.
    remember->SetFocus();
    qtest::PressKey(remember, GDK_KEY_space);
    EXPECT_FALSE(remember->GetValue());
    EXPECT_FALSE(autoLogin->GetValue());
    EXPECT_FALSE(AccChecked(remember));
    EXPECT_FALSE(AccChecked(autoLogin));
    // Ticking "自动登录" alone ticks "记住密码" again.
    autoLogin->SetFocus();
    qtest::PressKey(autoLogin, GDK_KEY_space);
    EXPECT_TRUE(remember->GetValue());
    EXPECT_TRUE(autoLogin->GetValue());

    // Alt+P selects the password, Alt+A the account.
    qtest::PressKey(account, GDK_KEY_p, GDK_MOD1_MASK);
    EXPECT_TRUE(qtest::HasWindowFocus(password));
    long from = 0, to = 0;
    password->GetSelection(&from, &to);
    EXPECT_EQ(to - from, 9);
    qtest::PressKey(account, GDK_KEY_a, GDK_MOD1_MASK);
    EXPECT_TRUE(qtest::HasWindowFocus(account));
    dialog->Destroy();
}

TEST_F(LoginDialogTest, LogsInWithTheKeyboardAfterAWrongPasswordAndStoresTheChoice) {
    // An earlier remembered password must go when "记住密码" is cleared.
    SettingsStore().SaveLoginSettings(LoginSettings{U("13800000009"), U("old"), true, false});
    DialogAnswerer answerer(GTK_RESPONSE_OK);
    LoginDialog dialog(nullptr, client);
    WhenModal<LoginDialog> script([&](LoginDialog* d) {
        auto* account = Named<wxTextCtrl>(d, "账号输入框");
        auto* password = Named<wxTextCtrl>(d, "密码输入框");
        // Only spaces: nothing is sent, the account box gets the focus.
        account->ChangeValue(U("   "));
        password->SetFocus();
        qtest::PressKey(password, GDK_KEY_Return);
        EXPECT_TRUE(qtest::HasWindowFocus(account));
        account->ChangeValue(U(" 13800000001 "));
        password->ChangeValue(U("wrong"));
        qtest::PressKey(account, GDK_KEY_Return);
        EXPECT_TRUE(d->IsModal());
        EXPECT_EQ(password->GetValue(), U("wrong"));  // kept for correcting
        auto* remember = Named<wxCheckBox>(d, "记住密码复选框");
        remember->SetFocus();
        qtest::PressKey(remember, GDK_KEY_space);  // clear it
        password->ChangeValue(U("user123"));
        password->SetFocus();
        qtest::PressKey(password, GDK_KEY_Return);
    });
    EXPECT_EQ(dialog.ShowModal(), wxID_OK);
    ASSERT_TRUE(script.Ran());
    ASSERT_EQ(answerer.Seen().size(), 2u);
    EXPECT_EQ(answerer.Seen()[0].title, "提示");
    EXPECT_EQ(answerer.Seen()[0].text, "请输入账号。");
    EXPECT_EQ(answerer.Seen()[1].title, "登录失败");
    EXPECT_EQ(answerer.Seen()[1].text, "手机号或密码错误。");
    const LoginResult& r = dialog.GetLoginResult();
    EXPECT_TRUE(r.ok);
    EXPECT_FALSE(r.token.empty());
    EXPECT_FALSE(r.cookies.empty());
    EXPECT_EQ(r.displayName, U("小澄同学"));
    const LoginSettings s = Stored();
    EXPECT_EQ(s.mobile, U("13800000001"));
    EXPECT_EQ(s.password, U(""));
    EXPECT_FALSE(s.rememberPassword);
    EXPECT_FALSE(s.autoLogin);
    EXPECT_EQ(profile->settingsText().find("password="), std::string::npos);
}

TEST_F(LoginDialogTest, RegistersWithTheLoggedCodeAndClosesBothWindows) {
    DialogAnswerer answerer(GTK_RESPONSE_OK);
    LoginDialog dialog(nullptr, client);
    WhenModal<LoginDialog> openRegistration([&](LoginDialog* d) {
        Named<wxCheckBox>(d, "自动登录复选框")->SetFocus();
        qtest::PressKey(d, GDK_KEY_space);  // ticks both
        qtest::PressKey(d, GDK_KEY_r, GDK_MOD1_MASK);
    });
    WhenModal<CredentialFlowDialog> registration([&](CredentialFlowDialog* d) {
        EXPECT_EQ(d->GetTitle(), U("注册账号"));
        auto* mobile = Named<wxTextCtrl>(d, "手机号输入框");
        EXPECT_TRUE(qtest::HasWindowFocus(mobile));
        EXPECT_EQ(mobile->GetValue(), U(""));  // never copied from the login window
        mobile->ChangeValue(U(" 13912345678 "));
        auto* send = dynamic_cast<wxButton*>(wxWindow::FindWindowByLabel(U("发送验证码"), d));
        ASSERT_NE(send, nullptr);
        send->SetFocus();
        qtest::PressKey(send, GDK_KEY_space);
        auto* code = Named<wxTextCtrl>(d, "验证码输入框");
        EXPECT_TRUE(qtest::HasWindowFocus(code));
        code->ChangeValue(U(forum->LastVerifyCode("13912345678").c_str()));
        Named<wxTextCtrl>(d, "密码输入框")->ChangeValue(U("secret 1"));
        qtest::PressKey(code, GDK_KEY_Return);
    });
    EXPECT_EQ(dialog.ShowModal(), wxID_OK);
    ASSERT_TRUE(registration.Ran());
    ASSERT_EQ(answerer.Seen().size(), 1u);
    EXPECT_EQ(answerer.Seen()[0].text, "验证码已发送，请查收短信。");
    const LoginResult& r = dialog.GetLoginResult();
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(r.displayName, U("用户5678"));
    const LoginSettings s = Stored();
    EXPECT_EQ(s.mobile, U("13912345678"));
    EXPECT_EQ(s.password, U("secret 1"));
    EXPECT_TRUE(s.autoLogin);
    // The new account logs in with what was just stored.
    EXPECT_TRUE(client.Login(s.mobile, s.password).ok);
}

TEST_F(LoginDialogTest, APasswordResetLogsInWithTheNewPassword) {
    DialogAnswerer answerer(GTK_RESPONSE_OK);
    LoginDialog dialog(nullptr, client);
    WhenModal<LoginDialog> open([](LoginDialog* d) { qtest::PressKey(d, GDK_KEY_f, GDK_MOD1_MASK); });
    WhenModal<CredentialFlowDialog> reset([&](CredentialFlowDialog* d) {
        Named<wxTextCtrl>(d, "手机号输入框")->ChangeValue(U("13800000002"));
        auto* send = wxWindow::FindWindowByLabel(U("发送验证码"), d);
        send->SetFocus();
        qtest::PressKey(send, GDK_KEY_space);
        Named<wxTextCtrl>(d, "验证码输入框")->ChangeValue(U(forum->LastVerifyCode("13800000002").c_str()));
        auto* password = Named<wxTextCtrl>(d, "密码输入框");
        password->ChangeValue(U("changed1"));
        password->SetFocus();
        qtest::PressKey(password, GDK_KEY_Return);
    });
    EXPECT_EQ(dialog.ShowModal(), wxID_OK);
    ASSERT_TRUE(reset.Ran());
    EXPECT_TRUE(dialog.GetLoginResult().ok);
    EXPECT_EQ(dialog.GetLoginResult().displayName, U("澄川琴师"));
    EXPECT_EQ(Stored().mobile, U("13800000002"));
    EXPECT_FALSE(client.Login(U("13800000002"), U("author123")).ok);
    EXPECT_TRUE(client.Login(U("13800000002"), U("changed1")).ok);
}

TEST_F(LoginDialogTest, EscapeInTheResetWindowChangesNothingAndAFailedResetSaysWhy) {
    DialogAnswerer answerer(GTK_RESPONSE_OK);
    LoginDialog dialog(nullptr, client);
    int opened = 0;
    std::unique_ptr<WhenModal<CredentialFlowDialog>> second;
    WhenModal<LoginDialog> start([&](LoginDialog* d) {
        Named<wxTextCtrl>(d, "账号输入框")->ChangeValue(U("13800000001"));
        qtest::PressKey(d, GDK_KEY_f, GDK_MOD1_MASK);
        EXPECT_EQ(Named<wxTextCtrl>(d, "账号输入框")->GetValue(), U("13800000001"));
        EXPECT_EQ(opened, 1);
        // A wrong code keeps the window open with everything typed.
        second = std::make_unique<WhenModal<CredentialFlowDialog>>([&](CredentialFlowDialog* c) {
            ++opened;
            Named<wxTextCtrl>(c, "手机号输入框")->ChangeValue(U("13800000001"));
            Named<wxTextCtrl>(c, "密码输入框")->ChangeValue(U("newpass1"));
            Named<wxTextCtrl>(c, "验证码输入框")->ChangeValue(U("000000"));
            qtest::PressKey(c, GDK_KEY_Return);
            EXPECT_TRUE(c->IsModal());
            EXPECT_EQ(Named<wxTextCtrl>(c, "验证码输入框")->GetValue(), U("000000"));
            qtest::PressKey(c, GDK_KEY_Escape);
        });
        qtest::PressKey(d, GDK_KEY_f, GDK_MOD1_MASK);
        EXPECT_EQ(opened, 2);
        qtest::PressKey(d, GDK_KEY_Escape);
    });
    WhenModal<CredentialFlowDialog> first([&](CredentialFlowDialog* c) {
        ++opened;
        EXPECT_EQ(c->GetTitle(), U("找回密码"));
        EXPECT_NE(wxWindow::FindWindowByLabel(U("重置密码"), c), nullptr);
        Named<wxTextCtrl>(c, "手机号输入框")->ChangeValue(U("13800000001"));
        qtest::PressKey(c, GDK_KEY_Escape);
    });
    EXPECT_EQ(dialog.ShowModal(), wxID_CANCEL);
    EXPECT_FALSE(dialog.GetLoginResult().ok);
    ASSERT_EQ(answerer.Seen().size(), 1u);
    EXPECT_EQ(answerer.Seen()[0].title, "重置密码失败");
    EXPECT_EQ(answerer.Seen()[0].text, "验证码错误或已过期。");
    EXPECT_EQ(profile->settingsText().find("[login]"), std::string::npos);  // nothing written
    EXPECT_TRUE(client.Login(U("13800000001"), U("user123")).ok);
}

TEST_F(LoginDialogTest, KeysPressedDuringACallDoNotStartItAgain) {
    DialogAnswerer answerer(GTK_RESPONSE_OK);
    LoginDialog dialog(nullptr, client);
    WhenModal<LoginDialog> script([&](LoginDialog* d) {
        auto* account = Named<wxTextCtrl>(d, "账号输入框");
        account->ChangeValue(U("13800000001"));
        Named<wxTextCtrl>(d, "密码输入框")->ChangeValue(U("wrong"));
        account->SetFocus();
        qtest::Settle();
        // Enter pressed four times in quick succession: the first starts
        // the login, the others arrive while it runs.
        for (int i = 0; i < 4; ++i) QueueKey(d, GDK_KEY_Return);
        EXPECT_TRUE(PumpUntil([&] { return !answerer.Seen().empty(); }));
        guitest::PumpFor(std::chrono::milliseconds(300));
        EXPECT_TRUE(d->FindWindow(wxID_OK)->IsEnabled());
        EXPECT_TRUE(qtest::HasWindowFocus(account));
        d->EndModal(wxID_CANCEL);
    });
    EXPECT_EQ(dialog.ShowModal(), wxID_CANCEL);
    ASSERT_TRUE(script.Ran());
    EXPECT_EQ(CountOf(forum->log(), "POST /api/user/login"), 1);
    ASSERT_EQ(answerer.Seen().size(), 1u);
    EXPECT_EQ(answerer.Seen()[0].title, "登录失败");
}

}  // namespace
