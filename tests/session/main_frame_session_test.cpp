// The real main window's session against the local forum server: automatic
// login at start, the login dialog from the home view, an expired session,
// and logout while another view is shown.
#include "account/login_dialog.h"
#include "account/modal_script.h"
#include "settings/settings_store.h"
#include "api/api_client.h"
#include "app/gtk_keys.h"
#include "app/main_frame.h"
#include "request_forms/gui_pump.h"
#include "support/forum_profile.h"
#include "support/local_forum_process.h"

#include <atk/atk.h>
#include <gtest/gtest.h>
#include <gtk/gtk.h>
#include <wx/listbox.h>
#include <wx/statusbr.h>
#include <wx/textctrl.h>
#include <wx/weakref.h>

#include <memory>
#include <ostream>

void PrintTo(const wxString& text, std::ostream* out) { *out << '"' << text.utf8_string() << '"'; }

namespace {

using guitest::WhenModal;

wxString U(const char* s) { return wxString::FromUTF8(s); }

const char* const kUser = qtest::LocalForumProcess::kUserMobile;
const char* const kPassword = qtest::LocalForumProcess::kUserPassword;

class SessionWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        forum = std::make_unique<qtest::LocalForumProcess>(std::vector<std::string>{"--fixed-code", "135790"});
        ASSERT_TRUE(forum->ok()) << forum->error();
        profile = std::make_unique<qtest::ForumProfile>(forum->host(), forum->port());
    }
    void Start() {
        frame = new MainFrame();
        frame->Show();
        qtest::Settle();
    }
    void TearDown() override {
        if (frame) frame->Destroy();
        qtest::Settle();
        profile.reset();
    }
    wxString Status() const { return frame->GetStatusBar()->GetStatusText(0); }
    wxString FirstRow() const { return frame->MainList()->GetCount() ? frame->MainList()->GetString(0) : wxString(); }
    void Open(const char* prefix) {
        wxListBox* list = frame->MainList();
        for (unsigned i = 0; i < list->GetCount(); ++i) {
            if (list->GetString(i).StartsWith(U(prefix))) {
                list->SetSelection(static_cast<int>(i));
                list->SetFocus();
                qtest::PressKey(frame, GDK_KEY_Return);
                return;
            }
        }
        ADD_FAILURE() << "no row starts with " << prefix;
    }

    std::unique_ptr<qtest::LocalForumProcess> forum;
    std::unique_ptr<qtest::ForumProfile> profile;
    wxWeakRef<MainFrame> frame;
};

TEST_F(SessionWindowTest, AutomaticLoginThenLogoutWhileFloorsAreShown) {
    SettingsStore().SaveLoginSettings(LoginSettings{U(kUser), U(kPassword), true, true});
    Start();
    EXPECT_EQ(Status(), U("已自动登录。"));
    EXPECT_EQ(FirstRow(), U("个人中心（小澄同学）"));
    EXPECT_TRUE(frame->Session().loggedIn);

    Open("读屏软件交流");
    Open("NVDA 与 Orca");
    const wxArrayString floors = frame->MainList()->GetStrings();
    ASSERT_GT(floors.size(), 3u);
    frame->Logout();
    EXPECT_FALSE(frame->Session().loggedIn);
    EXPECT_EQ(frame->MainList()->GetStrings(), floors);  // the floors stay on screen
    EXPECT_EQ(Status(), U("已退出当前账号。"));
    const std::string settings = profile->settingsText();
    EXPECT_EQ(settings.find("[login]"), std::string::npos) << settings;
    EXPECT_NE(settings.find("[server]"), std::string::npos) << settings;
    qtest::PressKey(frame, GDK_KEY_BackSpace);
    qtest::PressKey(frame, GDK_KEY_BackSpace);
    EXPECT_EQ(FirstRow(), U("登录"));
}

TEST_F(SessionWindowTest, TheLoginRowOpensTheDialogAndItsSessionShowsAtOnce) {
    Start();
    EXPECT_EQ(FirstRow(), U("登录"));
    {
        // Cancelled: still a guest.
        WhenModal<LoginDialog> cancel([](LoginDialog* d) { qtest::PressKey(d, GDK_KEY_Escape); });
        Open("登录");
        EXPECT_TRUE(cancel.Ran());
    }
    EXPECT_EQ(FirstRow(), U("登录"));
    EXPECT_FALSE(frame->Session().loggedIn);
    {
        WhenModal<LoginDialog> login([](LoginDialog* d) {
            dynamic_cast<wxTextCtrl*>(wxWindow::FindWindowByName(U("账号输入框"), d))->ChangeValue(U(kUser));
            auto* password = dynamic_cast<wxTextCtrl*>(wxWindow::FindWindowByName(U("密码输入框"), d));
            password->ChangeValue(U(kPassword));
            password->SetFocus();
            qtest::PressKey(password, GDK_KEY_Return);
        });
        Open("登录");
        EXPECT_TRUE(login.Ran());
    }
    EXPECT_TRUE(frame->Session().loggedIn);
    EXPECT_EQ(FirstRow(), U("个人中心（小澄同学）"));
}

TEST_F(SessionWindowTest, AnExpiredSessionSaysSoAndAsksForALoginAtOnce) {
    SettingsStore().SaveLoginSettings(LoginSettings{U(kUser), U(kPassword), true, true});
    Start();
    ASSERT_TRUE(frame->Session().loggedIn);
    // The password is reset elsewhere, which ends every session of the account.
    ApiClient other(ServerEndpoint{U("127.0.0.1"), forum->port()});
    ASSERT_TRUE(other.SendVerifyCode(U(kUser)).success);
    ASSERT_TRUE(other.ResetPassword(U(kUser), U(kPassword), U("135790")).ok);

    wxString statusWhenAsked, rowWhenAsked;
    std::string spokenWhenAsked;
    WhenModal<LoginDialog> cancel([&](LoginDialog* d) {
        statusWhenAsked = Status();
        rowWhenAsked = FirstRow();
        // Said aloud too, so the dialog does not appear unexplained.
        if (wxWindow* announcer = wxWindow::FindWindowByName(wxS("quillery-announcer"), frame)) {
            const char* name = atk_object_get_name(gtk_widget_get_accessible(announcer->GetHandle()));
            spokenWhenAsked = name ? name : "";
        }
        qtest::PressKey(d, GDK_KEY_Escape);
    });
    Open("个人中心（");
    ASSERT_TRUE(cancel.Ran());
    EXPECT_EQ(statusWhenAsked, U("当前登录已失效，请重新登录。"));
    EXPECT_EQ(rowWhenAsked, U("登录"));
    EXPECT_EQ(spokenWhenAsked, "当前登录已失效，请重新登录。");
    EXPECT_FALSE(frame->Session().loggedIn);
    EXPECT_EQ(FirstRow(), U("登录"));
    EXPECT_FALSE(SettingsStore().LoadLoginSettings().autoLogin);
}

}  // namespace
