// The session rules without a window: a recording host stands in for the
// main window, the real client talks to the local forum server or to a
// loopback test server, and the settings live in a temporary folder.
#include "app/session_controller.h"

#include "api/api_client.h"
#include "support/http_test_server.h"
#include "support/local_forum_process.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <ostream>

void PrintTo(const wxString& text, std::ostream* out) { *out << '"' << text.utf8_string() << '"'; }

namespace {

wxString U(const char* s) { return wxString::FromUTF8(s); }

class RecordingHost : public SessionHost {
public:
    void RunCall(const std::function<void()>& call) override {
        ++calls;
        call();
    }
    void SessionChanged(bool onlyIfHomeShown) override { changes.push_back(onlyIfHomeShown); }
    void ShowSessionStatus(const wxString& text, bool announce) override {
        status = text;
        if (announce) announced.push_back(text);
    }
    void ShowSessionError(const wxString& caption, const wxString& text) override {
        errorCaption = caption;
        errorText = text;
    }
    std::optional<LoginResult> AskForLogin() override {
        ++loginDialogs;
        return dialogAnswer;
    }

    int calls = 0;
    std::vector<bool> changes;
    wxString status;
    std::vector<wxString> announced;
    wxString errorCaption, errorText;
    int loginDialogs = 0;
    std::optional<LoginResult> dialogAnswer;  // what the login dialog ends with
};

ApiClient ClientFor(int port) {
    ApiClient client(ServerEndpoint{U("127.0.0.1"), port});
    client.SetTimeouts(platform::HttpTimeouts{2000, 1000});
    return client;
}

const char* const kUser = qtest::LocalForumProcess::kUserMobile;
const char* const kPassword = qtest::LocalForumProcess::kUserPassword;

class SessionTest : public ::testing::Test {
protected:
    SettingsStore Store() const { return SettingsStore(U(folder.path().c_str())); }
    void Save(const char* mobile, const char* password, bool remember, bool autoLogin) {
        Store().SaveLoginSettings(LoginSettings{U(mobile), U(password), remember, autoLogin});
    }
    qtest::TempDir folder;
    RecordingHost host;
};

TEST_F(SessionTest, AutomaticLoginFollowsTheServersAnswer) {
    qtest::LocalForumProcess forum;
    ASSERT_TRUE(forum.ok()) << forum.error();
    const ApiClient client = ClientFor(forum.port());

    // Right credentials: logged in, the home view rebuilt and shown.
    Save(kUser, kPassword, true, true);
    SessionController session(client, host, Store());
    session.TryAutoLogin();
    EXPECT_TRUE(session.State().loggedIn);
    EXPECT_FALSE(session.State().token.empty());
    EXPECT_FALSE(session.State().cookies.empty());
    EXPECT_EQ(session.State().displayName, U("小澄同学"));
    EXPECT_EQ(host.changes, std::vector<bool>{false});
    EXPECT_EQ(host.status, U("已自动登录。"));

    // A password the server turns down: guest, and no automatic login next time.
    RecordingHost refusedHost;
    Save(kUser, "wrong", true, true);
    SessionController refused(client, refusedHost, Store());
    refused.TryAutoLogin();
    EXPECT_FALSE(refused.State().loggedIn);
    EXPECT_TRUE(refused.State().token.empty());
    EXPECT_TRUE(refusedHost.changes.empty());
    EXPECT_EQ(refusedHost.status, U("自动登录失败，已切换为游客浏览。"));
    EXPECT_EQ(refusedHost.announced, std::vector<wxString>{U("自动登录失败，已切换为游客浏览。")});
    const LoginSettings after = Store().LoadLoginSettings();
    EXPECT_EQ(after.mobile, U(kUser));
    EXPECT_EQ(after.password, U("wrong"));
    EXPECT_TRUE(after.rememberPassword);
    EXPECT_FALSE(after.autoLogin);
}

TEST_F(SessionTest, AnUnreachableServerLeavesTheSavedLoginAlone) {
    Save(kUser, kPassword, true, true);
    const std::string before = qtest::ReadFile(Store().SettingsFilePath().utf8_string());
    const ApiClient client = ClientFor(qtest::UnusedLoopbackPort());
    SessionController session(client, host, Store());
    session.TryAutoLogin();
    EXPECT_FALSE(session.State().loggedIn);
    EXPECT_EQ(host.status, U("自动登录失败，已切换为游客浏览。"));
    EXPECT_EQ(host.announced.size(), 1u);
    EXPECT_EQ(qtest::ReadFile(Store().SettingsFilePath().utf8_string()), before);
    EXPECT_TRUE(Store().LoadLoginSettings().autoLogin);
}

TEST_F(SessionTest, NoAutomaticLoginWithoutEverySavedValue) {
    qtest::HttpTestServer server;
    struct Case {
        const char* mobile;
        const char* password;
        bool remember, autoLogin;
    };
    const Case cases[] = {
        {kUser, "", true, true},        // no password
        {"", kPassword, true, true},    // no number
        {kUser, kPassword, true, false},  // not asked for
        {kUser, kPassword, false, true},  // not remembered: the store drops both
    };
    for (const Case& c : cases) {
        Save(c.mobile, c.password, c.remember, c.autoLogin);
        const ApiClient client = ClientFor(server.Port());
        SessionController session(client, host, Store());
        session.TryAutoLogin();
        EXPECT_FALSE(session.State().loggedIn);
    }
    EXPECT_EQ(server.RequestCount(), 0u);
    // Only the first case asks the keyring for the password, under the wait.
    EXPECT_EQ(host.calls, 1);
    EXPECT_TRUE(host.status.empty());
}

TEST_F(SessionTest, AnExpiredSessionIsClearedAndTheLoginDialogAsked) {
    qtest::LocalForumProcess forum({"--fixed-code", "246810"});
    ASSERT_TRUE(forum.ok()) << forum.error();
    const ApiClient client = ClientFor(forum.port());
    Save(kUser, kPassword, true, true);
    SessionController session(client, host, Store());
    session.TryAutoLogin();
    ASSERT_TRUE(session.State().loggedIn);

    // A valid session is checked with the server and kept.
    wxString token, cookies;
    EXPECT_TRUE(session.LoginForDialog(token, cookies));
    EXPECT_EQ(token, session.State().token);
    EXPECT_EQ(cookies, session.State().cookies);
    EXPECT_EQ(host.loginDialogs, 0);

    // A password reset elsewhere ends every session of the account.
    ASSERT_TRUE(client.SendVerifyCode(U(kUser)).success);
    ASSERT_TRUE(client.ResetPassword(U(kUser), U(kPassword), U("246810")).ok);
    host.changes.clear();
    wxString keptToken = U("dialog's own");
    EXPECT_FALSE(session.LoginForDialog(keptToken, cookies));  // the dialog is cancelled
    EXPECT_EQ(keptToken, U("dialog's own"));
    EXPECT_EQ(host.loginDialogs, 1);
    EXPECT_FALSE(session.State().loggedIn);
    EXPECT_TRUE(session.State().token.empty());
    EXPECT_TRUE(session.State().cookies.empty());
    EXPECT_TRUE(session.State().displayName.empty());
    EXPECT_EQ(host.changes, std::vector<bool>{true});
    EXPECT_EQ(host.status, U("当前登录已失效，请重新登录。"));
    EXPECT_EQ(host.announced.back(), U("当前登录已失效，请重新登录。"));
    const LoginSettings saved = Store().LoadLoginSettings();
    EXPECT_FALSE(saved.autoLogin);
    EXPECT_EQ(saved.password, U(kPassword));

    // A guest that logs in through the dialog has its session; a dialog
    // result without one is no login.
    host.dialogAnswer = LoginResult{};
    EXPECT_FALSE(session.EnsureLoggedIn());
    EXPECT_FALSE(session.State().loggedIn);
    host.dialogAnswer = client.Login(U(kUser), U(kPassword));
    ASSERT_TRUE(host.dialogAnswer->ok);
    EXPECT_TRUE(session.EnsureLoggedIn());
    EXPECT_TRUE(session.State().loggedIn);
    EXPECT_EQ(session.State().token, host.dialogAnswer->token);
    EXPECT_EQ(session.State().displayName, U("小澄同学"));
    EXPECT_EQ(host.changes.back(), true);
}

TEST_F(SessionTest, OnlyASessionEveryFormFoundExpiredIsLoggedOut) {
    // The profile check walks many session forms; a server that knows only
    // some of them refuses the rest as not logged in. The session is gone
    // only when every form the server answered was refused that way.
    const qtest::ScriptedAnswer html{500, {{"Content-Type", "text/html"}}, "<html>Bad Gateway</html>"};
    struct Case {
        const char* name;
        std::vector<qtest::ScriptedAnswer> first;  // answers once, in order
        qtest::ScriptedAnswer rest;                // every later form
        bool expired;
        const char* error;  // the box's text when kept
    };
    const Case cases[] = {
        {"all -100", {}, qtest::Fail(-100), true, ""},
        {"未登录 and -100", {qtest::Fail(401, "用户未登录")}, qtest::Fail(-100), true, ""},
        {"-100 then 500", {qtest::Fail(-100)}, qtest::Fail(500, "服务器忙"), false, "服务器忙"},
        {"500 then -100", {qtest::Fail(500, "服务器忙")}, qtest::Fail(-100), false, "服务器忙"},
        {"-100 then HTML", {qtest::Fail(-100)}, html, false, nullptr},
        {"500 only", {}, qtest::Fail(500, "服务器忙"), false, "服务器忙"},
        {"code=-1000", {}, qtest::Fail(-1000), false, "获取用户资料失败（code=-1000）"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        qtest::HttpTestServer server;
        server.Answer("POST", "/api/user/login", qtest::Ok(R"("tok")"));
        server.Answer("GET", "/api/user", qtest::Ok(R"({"id":1,"name":"甲"})"));
        Save(kUser, kPassword, true, true);
        const ApiClient client = ClientFor(server.Port());
        RecordingHost watcher;
        SessionController session(client, watcher, Store());
        session.TryAutoLogin();
        ASSERT_TRUE(session.State().loggedIn);
        const std::string saved = qtest::ReadFile(Store().SettingsFilePath().utf8_string());
        for (const qtest::ScriptedAnswer& answer : c.first) server.AnswerOnce("GET", "/api/user", answer);
        server.Answer("GET", "/api/user", c.rest);
        server.ClearRequests();

        EXPECT_FALSE(session.EnsureLoggedIn());
        // Every form was tried: 2 quick sets, then 3 paths by 10 header sets.
        EXPECT_EQ(server.RequestCount(), 32u);
        EXPECT_EQ(session.State().loggedIn, !c.expired);
        EXPECT_EQ(Store().LoadLoginSettings().autoLogin, !c.expired);
        EXPECT_EQ(watcher.loginDialogs, c.expired ? 1 : 0);
        if (c.expired) {
            EXPECT_TRUE(session.State().token.empty());
            EXPECT_EQ(watcher.announced.back(), U("当前登录已失效，请重新登录。"));
            EXPECT_TRUE(watcher.errorCaption.empty());
            continue;
        }
        EXPECT_EQ(session.State().token, U("tok"));
        EXPECT_EQ(watcher.errorCaption, U("验证登录状态失败"));
        if (c.error) EXPECT_EQ(watcher.errorText, U(c.error));
        else EXPECT_TRUE(watcher.errorText.StartsWith(U("JSON 解析失败"))) << watcher.errorText;
        // The saved login is not touched at all.
        EXPECT_EQ(qtest::ReadFile(Store().SettingsFilePath().utf8_string()), saved);
    }
}

TEST_F(SessionTest, ANewProfileNameReplacesTheLoginsName) {
    qtest::HttpTestServer server;
    server.Answer("POST", "/api/user/login", qtest::Ok(R"("tok")"));
    server.Answer("GET", "/api/user", qtest::Ok(R"({"id":1,"name":"甲"})"));
    Save(kUser, kPassword, true, true);
    const ApiClient client = ClientFor(server.Port());
    SessionController session(client, host, Store());
    session.TryAutoLogin();
    ASSERT_TRUE(session.State().loggedIn);
    server.Answer("GET", "/api/user", qtest::Ok(R"({"id":1,"name":"乙"})"));
    EXPECT_TRUE(session.EnsureLoggedIn());
    EXPECT_EQ(session.State().displayName, U("乙"));
}

TEST_F(SessionTest, LogoutForgetsTheSavedLoginButNotTheMusic) {
    qtest::HttpTestServer server;
    server.Answer("POST", "/api/user/login", qtest::Ok(R"("tok")"));
    Save(kUser, kPassword, true, true);
    // The music keeps its own group in the same file.
    const std::string path = Store().SettingsFilePath().utf8_string();
    ASSERT_EQ(path, folder.file("settings.ini"));
    folder.write("settings.ini", qtest::ReadFile(path) + "[localMusic]\nvolume=40\n");
    const ApiClient client = ClientFor(server.Port());
    SessionController session(client, host, Store());
    session.TryAutoLogin();
    ASSERT_TRUE(session.State().loggedIn);
    host.changes.clear();

    session.Logout();
    EXPECT_FALSE(session.State().loggedIn);
    EXPECT_TRUE(session.State().token.empty());
    EXPECT_TRUE(session.State().displayName.empty());
    EXPECT_EQ(host.changes, std::vector<bool>{true});
    EXPECT_EQ(host.status, U("已退出当前账号。"));
    const std::string text = qtest::ReadFile(path);
    EXPECT_EQ(text.find("[login]"), std::string::npos) << text;
    EXPECT_EQ(text.find("password"), std::string::npos) << text;
    EXPECT_NE(text.find("[localMusic]"), std::string::npos) << text;
    EXPECT_NE(text.find("volume=40"), std::string::npos) << text;
}

}  // namespace
