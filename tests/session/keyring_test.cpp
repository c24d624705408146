// Where a remembered password lives, against the local forum server and a
// real Secret Service. Run through with-keyring.sh: "KeyringTest.*" on a
// private bus with GNOME Keyring unlocked, "NoKeyringTest.*" on a bus where no
// Secret Service can start. A recording host stands in for the window.
#include "app/session_controller.h"

#include "account/login_form.h"
#include "api/api_client.h"
#include "support/local_forum_process.h"
#include "support/temp_dir.h"
#include "platform/keyring.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <ostream>
#include <thread>

extern char** environ;

void PrintTo(const wxString& text, std::ostream* out) { *out << '"' << text.utf8_string() << '"'; }

namespace {

wxString U(const char* s) { return wxString::FromUTF8(s); }

const char* const kUser = qtest::LocalForumProcess::kUserMobile;
const char* const kPassword = qtest::LocalForumProcess::kUserPassword;
const wxString kFallbackNotice = U("未找到系统密钥环，密码保存在设置文件中。");

class RecordingHost : public SessionHost {
public:
    void RunCall(const std::function<void()>& call) override { call(); }
    void SessionChanged(bool) override {}
    void ShowSessionStatus(const wxString& text, bool announce) override {
        if (announce) announced.push_back(text);
    }
    void ShowSessionError(const wxString&, const wxString& text) override { errors.push_back(text); }
    std::optional<LoginResult> AskForLogin() override
    {
        if (!dialog) return std::nullopt;
        return dialog();
    }

    std::vector<wxString> announced;
    std::function<LoginResult()> dialog;  // what the login dialog does
    std::vector<wxString> errors;
};

// What secret-tool prints for `args`, or "exit N" when it failed.
std::string SecretTool(const std::string& args)
{
    std::string out;
    FILE* pipe = popen(("secret-tool " + args + " 2>/dev/null").c_str(), "r");
    if (!pipe) return "cannot run secret-tool";
    char buffer[512];
    while (size_t n = fread(buffer, 1, sizeof buffer, pipe)) out.append(buffer, n);
    const int status = pclose(pipe);
    return status == 0 ? out : "exit " + std::to_string(status);
}

class KeyringTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(forum.ok()) << forum.error(); }

    SettingsStore Store() const { return SettingsStore(U(folder.path().c_str())); }
    std::string FileText() const { return qtest::ReadFile(Store().SettingsFilePath().utf8_string()); }
    void WriteFile(const std::string& text) const { folder.write("settings.ini", text); }
    // Points the settings at the forum server, as a user's [server] group would.
    void UseForum() const { WriteFile("[server]\nhost=127.0.0.1\nport=" + std::to_string(forum.port()) + "\n"); }
    std::string Lookup(const char* mobile = kUser) const
    {
        return SecretTool("lookup server 127.0.0.1 port " + std::to_string(forum.port()) + " mobile " + mobile);
    }
    // A fresh start of the program: automatic login from the saved settings.
    bool Restart(RecordingHost& host) const
    {
        SessionController session(client, host, Store());
        session.TryAutoLogin();
        return session.State().loggedIn;
    }

    qtest::LocalForumProcess forum{{"--no-media"}};
    qtest::TempDir folder;
    ApiClient client{ServerEndpoint{U("127.0.0.1"), forum.port()}};
};

TEST_F(KeyringTest, RememberedPasswordLivesInTheKeyringUntilLogout)
{
    UseForum();
    // The login dialog's save after a login with 记住密码 and 自动登录 ticked.
    LoginCredentials(Store()).Save(SettingsAfterSuccess(U(kUser), U(kPassword), RememberChoice{true, true}));
    EXPECT_EQ(FileText().find("password="), std::string::npos) << FileText();
    EXPECT_NE(FileText().find("rememberPassword=1"), std::string::npos) << FileText();
    EXPECT_EQ(Lookup(), kPassword);
    // A label a person recognises in the keyring's list.
    EXPECT_NE(SecretTool("search --all mobile " + std::string(kUser)).find("label = 澄川论坛 登录密码（138…）"),
              std::string::npos);

    // The next start logs in with the keyring's password, and says nothing
    // about a missing keyring.
    RecordingHost host;
    EXPECT_TRUE(Restart(host));
    EXPECT_EQ(host.announced, std::vector<wxString>{U("已自动登录。")});

    // Logout forgets the number and the keyring item.
    SessionController session(client, host, Store());
    session.TryAutoLogin();
    session.Logout();
    EXPECT_EQ(Lookup(), "exit 256");
    EXPECT_EQ(FileText().find("[login]"), std::string::npos) << FileText();
}

TEST_F(KeyringTest, AnOldFilesPasswordMovesUntickingOrAnotherAccountRemovesIt)
{
    WriteFile("[server]\nhost=127.0.0.1\nport=" + std::to_string(forum.port()) + "\n[login]\nmobile=" + kUser +
              "\npassword=" + kPassword + "\nrememberPassword=1\nautoLogin=1\n");
    // Read from the file while the keyring has none.
    RecordingHost host;
    EXPECT_TRUE(Restart(host));
    // The next save (the login dialog's) moves it.
    LoginCredentials(Store()).Save(SettingsAfterSuccess(U(kUser), U(kPassword), RememberChoice{true, true}));
    EXPECT_EQ(FileText().find("password="), std::string::npos) << FileText();
    EXPECT_EQ(Lookup(), kPassword);
    // And the start after that reads it from the keyring.
    EXPECT_TRUE(Restart(host));

    // The login dialog's save with 记住密码 unticked.
    LoginCredentials(Store()).Save(SettingsAfterSuccess(U(kUser), U(kPassword), RememberChoice{false, false}));
    EXPECT_EQ(Lookup(), "exit 256");
    EXPECT_EQ(FileText().find("password="), std::string::npos) << FileText();
    EXPECT_NE(FileText().find(std::string("mobile=") + kUser), std::string::npos) << FileText();
    EXPECT_TRUE(host.errors.empty());

    // Another account remembered in its place: the first one's item goes.
    LoginCredentials(Store()).Save(SettingsAfterSuccess(U(kUser), U(kPassword), RememberChoice{true, false}));
    const char* other = qtest::LocalForumProcess::kAuthorMobile;
    LoginCredentials(Store()).Save(SettingsAfterSuccess(U(other), U("author123"), RememberChoice{true, false}));
    EXPECT_EQ(Lookup(), "exit 256");
    EXPECT_EQ(Lookup(other), "author123");
}

// The same, run on a bus without Secret Service.
using NoKeyringTest = KeyringTest;

TEST_F(NoKeyringTest, PasswordStaysInTheFileAndTheStatusSaysSoOnce)
{
    UseForum();
    // The login dialog with 记住密码 and 自动登录 ticked: it logs in and saves.
    RecordingHost host;
    host.dialog = [&] {
        LoginCredentials(Store()).Save(SettingsAfterSuccess(U(kUser), U(kPassword), RememberChoice{true, true}));
        return client.Login(U(kUser), U(kPassword));
    };
    SessionController session(client, host, Store());
    ASSERT_TRUE(session.EnsureLoggedIn());
    EXPECT_NE(FileText().find(std::string("password=") + kPassword), std::string::npos) << FileText();
    EXPECT_EQ(host.announced, std::vector<wxString>{kFallbackNotice});
    // Said once: the next login through the dialog is quiet about it.
    session.Logout();
    ASSERT_TRUE(session.EnsureLoggedIn());
    EXPECT_EQ(std::count(host.announced.begin(), host.announced.end(), kFallbackNotice), 1);

    // The next start logs in from the file.
    RecordingHost again;
    EXPECT_TRUE(Restart(again));
    EXPECT_EQ(again.announced, std::vector<wxString>{U("已自动登录。")});

    // Logout still forgets everything.
    session.Logout();
    EXPECT_EQ(FileText().find("password="), std::string::npos) << FileText();
    EXPECT_TRUE(host.errors.empty());
}

// A service that holds the name and never answers: each call gives up at
// its limit and counts as no keyring, so start-up goes on.
TEST_F(NoKeyringTest, AServiceThatNeverAnswersCountsAsAbsent)
{
    const char* script =
        "import time\n"
        "from gi.repository import Gio\n"
        "bus = Gio.bus_get_sync(Gio.BusType.SESSION, None)\n"
        "bus.call_sync('org.freedesktop.DBus', '/org/freedesktop/DBus', 'org.freedesktop.DBus',\n"
        "    'RequestName', __import__('gi').repository.GLib.Variant('(su)', ('org.freedesktop.secrets', 4)),\n"
        "    None, 0, -1, None)\n"
        "print('owned', flush=True)\n"
        "time.sleep(600)\n";
    int out[2];
    ASSERT_EQ(pipe(out), 0);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    const char* argv[] = {"/usr/bin/python3", "-c", script, nullptr};
    pid_t pid = -1;
    ASSERT_EQ(posix_spawn(&pid, argv[0], &actions, nullptr, const_cast<char**>(argv), environ), 0);
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    char word[8] = {};
    const ssize_t n = read(out[0], word, 5);
    close(out[0]);
    ASSERT_EQ(std::string(word, n > 0 ? n : 0), "owned");
    // Stopped, it holds the name and reads nothing.
    kill(pid, SIGSTOP);

    const platform::KeyringAccount account{"127.0.0.1", 1, kUser};
    EXPECT_EQ(platform::KeyringLookup(account, std::chrono::milliseconds(300)).status,
              platform::KeyringStatus::Unavailable);
    EXPECT_EQ(platform::KeyringStore(account, "x", "y", std::chrono::milliseconds(300)),
              platform::KeyringStatus::Unavailable);
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
}

}  // namespace
