#include "settings/settings_store.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>
#include <wx/fileconf.h>
#include <wx/utils.h>

#include <grp.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <vector>

namespace fs = std::filesystem;

namespace {

wxString U(const char* s) { return wxString::FromUTF8(s); }

// Runs check with the rights of an ordinary user who owns tree: permission
// bits do not stop root, so as root the check runs in a child process that
// has given up root (the tree is handed to that user first). Returns what
// check returned.
bool AsUnprivilegedOwner(const std::string& tree, const std::function<bool()>& check)
{
    if (geteuid() != 0) return check();
    const uid_t nobody = 65534;
    for (auto& entry : fs::recursive_directory_iterator(tree)) {
        if (lchown(entry.path().c_str(), nobody, nobody) != 0) return false;
    }
    if (lchown(tree.c_str(), nobody, nobody) != 0) return false;
    pid_t child = fork();
    if (child == 0) {
        bool ok = setgroups(0, nullptr) == 0 && setgid(nobody) == 0 && setuid(nobody) == 0 && check();
        _exit(ok ? 0 : 1);
    }
    int status = 0;
    bool ok = child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
    for (auto& entry : fs::recursive_directory_iterator(tree)) lchown(entry.path().c_str(), 0, 0);
    lchown(tree.c_str(), 0, 0);
    return ok;
}

struct SettingsStoreTest : ::testing::Test {
    qtest::TempDir dir;
    wxString folder = U((dir.path() + "/数据/澄川论坛").c_str());
    SettingsStore store{folder};

    std::string FileText() { return qtest::ReadFile(store.SettingsFilePath().utf8_string()); }
    void WriteFile(const std::string& text)
    {
        ASSERT_EQ(dir.write("数据/澄川论坛/settings.ini", text), store.SettingsFilePath().utf8_string());
    }
};

TEST_F(SettingsStoreTest, NoFileReadsDefaultsAndCreatesTheFolder)
{
    LoginSettings s = store.LoadLoginSettings();
    EXPECT_TRUE(s.mobile.empty());
    EXPECT_TRUE(s.password.empty());
    EXPECT_FALSE(s.rememberPassword);
    EXPECT_FALSE(s.autoLogin);
    EXPECT_TRUE(fs::is_directory(fs::u8path(folder.utf8_string())));
    EXPECT_FALSE(fs::exists(fs::u8path(store.SettingsFilePath().utf8_string())));
}

TEST_F(SettingsStoreTest, DefaultFolderFollowsXdgDataHome)
{
    const char* old = getenv("XDG_DATA_HOME");
    std::string saved = old ? old : "";
    setenv("XDG_DATA_HOME", "/srv/data", 1);
    EXPECT_EQ(SettingsStore::DefaultSettingsFolder(), U("/srv/data/澄川论坛"));
    // A relative value is invalid by the desktop's rules and is ignored.
    setenv("XDG_DATA_HOME", "relative/data", 1);
    EXPECT_TRUE(SettingsStore::DefaultSettingsFolder().EndsWith(U("/.local/share/澄川论坛")));
    unsetenv("XDG_DATA_HOME");
    EXPECT_EQ(SettingsStore::DefaultSettingsFolder(), wxGetHomeDir() + U("/.local/share/澄川论坛"));
    if (old) setenv("XDG_DATA_HOME", saved.c_str(), 1);
}

TEST_F(SettingsStoreTest, RememberedLoginRoundTripsWithSpacesAndDollars)
{
    LoginSettings in{U("13800138000"), U("  密码 $HOME%d\\n  "), true, true};
    ASSERT_TRUE(store.SaveLoginSettings(in));
    LoginSettings out = store.LoadLoginSettings();
    EXPECT_EQ(out.mobile, in.mobile);
    EXPECT_EQ(out.password, in.password);
    EXPECT_TRUE(out.rememberPassword);
    EXPECT_TRUE(out.autoLogin);
    std::string text = FileText();
    EXPECT_NE(text.find("[login]"), std::string::npos) << text;
    EXPECT_NE(text.find("rememberPassword=1"), std::string::npos) << text;
    EXPECT_NE(text.find("密码"), std::string::npos) << "written as UTF-8: " << text;
}

TEST_F(SettingsStoreTest, AutoLoginWithoutRememberPasswordIsNeverStoredOrLoaded)
{
    ASSERT_TRUE(store.SaveLoginSettings({U("1"), U("secret"), false, true}));
    std::string text = FileText();
    EXPECT_EQ(text.find("secret"), std::string::npos) << text;
    EXPECT_NE(text.find("autoLogin=0"), std::string::npos) << text;

    // A hand-edited file saying otherwise still loads without them.
    WriteFile("[login]\nmobile=1\npassword=secret\nrememberPassword=0\nautoLogin=1\n");
    LoginSettings s = store.LoadLoginSettings();
    EXPECT_EQ(s.mobile, "1");
    EXPECT_TRUE(s.password.empty());
    EXPECT_FALSE(s.autoLogin);
}

TEST_F(SettingsStoreTest, SavingWithoutRememberRemovesAnEarlierPassword)
{
    ASSERT_TRUE(store.SaveLoginSettings({U("1"), U("secret"), true, false}));
    ASSERT_NE(FileText().find("secret"), std::string::npos);
    ASSERT_TRUE(store.SaveLoginSettings({U("1"), U("secret"), false, false}));
    EXPECT_EQ(FileText().find("password"), std::string::npos) << FileText();
}

TEST_F(SettingsStoreTest, LogoutClearsLoginAndKeepsOtherGroupsWhole)
{
    WriteFile("[localMusic]\nglobalHotkeysEnabled=1\nplayMode=2\nplaylistCount=1\n"
              "[localMusic/playlist]\n0=/音乐/a.mp3\n[server]\nhost=127.0.0.1\n");
    ASSERT_TRUE(store.SaveLoginSettings({U("1"), U("p"), true, true}));
    ASSERT_TRUE(store.ClearLoginSettings());
    std::string text = FileText();
    EXPECT_EQ(text.find("login]"), std::string::npos) << text;
    EXPECT_EQ(text.find("mobile"), std::string::npos) << text;
    EXPECT_NE(text.find("0=/音乐/a.mp3"), std::string::npos) << text;
    EXPECT_NE(text.find("playMode=2"), std::string::npos) << text;
    EXPECT_EQ(store.LoadLoginSettings().mobile, wxString());
}

TEST_F(SettingsStoreTest, FileIsOwnerOnlyAndNoTemporaryIsLeft)
{
    ASSERT_TRUE(store.SaveLoginSettings({U("1"), U("p"), true, false}));
    struct stat st {};
    ASSERT_EQ(stat(store.SettingsFilePath().utf8_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    int files = 0;
    for (auto& e : fs::directory_iterator(fs::u8path(folder.utf8_string()))) {
        (void)e;
        ++files;
    }
    EXPECT_EQ(files, 1);
}

TEST_F(SettingsStoreTest, Utf16FileWithByteOrderMarkIsRead)
{
    std::u16string text = u"\uFEFF[login]\r\nmobile=手机123\r\nrememberPassword=1\r\npassword=密\r\n";
    std::string bytes(reinterpret_cast<const char*>(text.data()), text.size() * 2);
    WriteFile(bytes);
    LoginSettings s = store.LoadLoginSettings();
    EXPECT_EQ(s.mobile, U("手机123"));
    EXPECT_EQ(s.password, U("密"));
    // Saving rewrites it as UTF-8.
    ASSERT_TRUE(store.SaveLoginSettings(s));
    EXPECT_NE(FileText().find("mobile=手机123"), std::string::npos) << FileText();
}

TEST_F(SettingsStoreTest, CorruptFileGivesDefaultsAndKeepsItsReadableParts)
{
    WriteFile(std::string("\x01\x02garbage without group\n[login\nmobile=9\n\xff\xfe\x00zz", 41) +
              "\n[localMusic]\nplayMode=3\n");
    LoginSettings s = store.LoadLoginSettings();
    EXPECT_FALSE(s.rememberPassword);
    ASSERT_TRUE(store.SaveLoginSettings({U("2"), U(""), false, false}));
    EXPECT_EQ(store.LoadLoginSettings().mobile, "2");
    EXPECT_NE(FileText().find("playMode=3"), std::string::npos) << FileText();
}

TEST_F(SettingsStoreTest, WriteCutShortLeavesThePreviousFileWhole)
{
    ASSERT_TRUE(store.SaveLoginSettings({U("1"), U("old"), true, false}));
    std::string before = FileText();
    // A file-size limit makes the new file's write fail half-way, even for root.
    struct rlimit old {};
    getrlimit(RLIMIT_FSIZE, &old);
    void (*oldHandler)(int) = signal(SIGXFSZ, SIG_IGN);
    struct rlimit tiny = old;
    tiny.rlim_cur = 8;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &tiny), 0);
    bool saved = store.SaveLoginSettings({U("2"), U("a much longer new password"), true, false});
    setrlimit(RLIMIT_FSIZE, &old);
    signal(SIGXFSZ, oldHandler);
    EXPECT_FALSE(saved);
    EXPECT_EQ(FileText(), before);
    EXPECT_EQ(store.LoadLoginSettings().password, "old");
    int files = 0;
    for (auto& e : fs::directory_iterator(fs::u8path(folder.utf8_string()))) {
        (void)e;
        ++files;
    }
    EXPECT_EQ(files, 1) << "the cut-short temporary file is removed";
}

TEST_F(SettingsStoreTest, ReadOnlyFolderLeavesThePreviousFileWhole)
{
    ASSERT_TRUE(store.SaveLoginSettings({U("1"), U("old"), true, false}));
    std::string before = FileText();
    fs::path p = fs::u8path(folder.utf8_string());
    bool refused = AsUnprivilegedOwner(dir.path(), [&] {
        fs::permissions(p, fs::perms::owner_read | fs::perms::owner_exec);
        bool saved = store.SaveLoginSettings({U("2"), U("new"), true, false});
        fs::permissions(p, fs::perms::owner_all);
        return !saved;
    });
    EXPECT_TRUE(refused);
    EXPECT_EQ(FileText(), before);
}

TEST_F(SettingsStoreTest, FolderThatCannotBeCreatedFailsTheSave)
{
    dir.write("plain-file", "x");
    SettingsStore broken(U((dir.path() + "/plain-file/澄川论坛").c_str()));
    EXPECT_FALSE(broken.SaveLoginSettings({U("2"), U("new"), true, false}));
    EXPECT_EQ(qtest::ReadFile(dir.file("plain-file")), "x");
    EXPECT_TRUE(broken.LoadLoginSettings().mobile.empty());
}

TEST_F(SettingsStoreTest, UnreadableFileIsNeverOverwritten)
{
    ASSERT_TRUE(store.SaveLoginSettings({U("1"), U("old"), true, false}));
    std::string before = FileText();
    fs::path file = fs::u8path(store.SettingsFilePath().utf8_string());
    bool kept = AsUnprivilegedOwner(dir.path(), [&] {
        fs::permissions(file, fs::perms::none);
        bool defaults = store.LoadLoginSettings().mobile.empty();
        bool saved = store.SaveLoginSettings({U("2"), U(""), false, false});
        fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write);
        return defaults && !saved;
    });
    EXPECT_TRUE(kept);
    EXPECT_EQ(FileText(), before);
}

TEST_F(SettingsStoreTest, ServerGroupOverridesTheCompiledInEndpoint)
{
    ServerEndpoint builtIn = DefaultServerEndpoint();
    EXPECT_EQ(store.LoadServerEndpoint().host, builtIn.host);
    EXPECT_EQ(store.LoadServerEndpoint().port, builtIn.port);

    WriteFile("[server]\nhost= 127.0.0.1 \nport=8080\n");
    EXPECT_EQ(store.LoadServerEndpoint().host, "127.0.0.1");
    EXPECT_EQ(store.LoadServerEndpoint().port, 8080);

    WriteFile("[server]\nport=70000\n");
    EXPECT_EQ(store.LoadServerEndpoint().host, builtIn.host);
    EXPECT_EQ(store.LoadServerEndpoint().port, builtIn.port);
    WriteFile("[server]\nport=abc\n");
    EXPECT_EQ(store.LoadServerEndpoint().port, builtIn.port);
    EXPECT_FALSE(store.LoadServerEndpoint().https);
}

TEST_F(SettingsStoreTest, SchemeHttpsTakesPort443AndAnExtraCaFile)
{
    struct Case {
        const char* file;
        bool https;
        int port;
        const char* caFile;
    };
    const Case cases[] = {
        {"[server]\nscheme=http\n", false, 80, ""},
        {"[server]\nscheme=https\n", true, 443, ""},
        {"[server]\nscheme= HTTPS \nport=8443\ncaFile= /etc/站点/ca.pem \n", true, 8443, "/etc/站点/ca.pem"},
        // A mistyped scheme never falls back to plain text.
        {"[server]\nscheme=htps\n", true, 443, ""},
        {"[server]\nscheme=\n", false, 80, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        WriteFile(c.file);
        const ServerEndpoint e = store.LoadServerEndpoint();
        EXPECT_EQ(e.https, c.https);
        EXPECT_EQ(e.port, c.port);
        EXPECT_EQ(e.caFile, U(c.caFile));
    }
}

}  // namespace

namespace {

// A hand-edited or merged file naming keys and groups twice: each key loads
// from its last line, and once the store deletes a key or a group not one
// of its lines is left in the file, so the next load cannot find it again.
TEST_F(SettingsStoreTest, RepeatedKeysLoadFromTheirLastLineAndLeaveNothingWhenDeleted)
{
    const std::string twice = "[login]\nmobile=1\npassword=old\nrememberPassword=1\npassword=new\n";
    const std::string split = "[login]\npassword=old\n[localMusic/playlist]\n0=/a.mp3\n0=/b.mp3\n"
                              "[login]\nrememberPassword=1\n  password = new\n";
    struct Case {
        const char* what;
        std::string file;
        std::function<bool(const SettingsStore&)> forget;
    };
    const auto saveWithoutPassword = [](const SettingsStore& s) {
        return s.SaveLoginSettings({U("1"), U("new"), false, false});
    };
    const auto logOut = [](const SettingsStore& s) { return s.ClearLoginSettings(); };
    std::vector<Case> cases = {
        {"key twice, 记住密码 off", twice, saveWithoutPassword},
        {"key twice, logged out", twice, logOut},
        {"group twice, 记住密码 off", split, saveWithoutPassword},
        {"group twice, logged out", split, logOut},
    };
    // The same key or group written as the toolkit also reads it: another
    // letter case, escapes, leading \v, the read-only mark "!", a path
    // through "..", lines ended by a lone CR.
    for (const char* file : {"[login]\nPassword=old\nrememberPassword=1\npassword=new\n",
                             "[login]\n\vpassword=old\nrememberPassword=1\npassword=new\n",
                             "[login]\npass\\word=old\nrememberPassword=1\npassword=new\n",
                             "[login]\n!password=old\nrememberPassword=1\npassword=new\n",
                             "[LOGIN]\npassword=old\n[x/../lo\\gin]\nrememberPassword=1\npassword=new\n",
                             "[login]\r\npassword=old\rrememberPassword=1\rpassword=new\r"}) {
        cases.push_back({file, file, saveWithoutPassword});
        cases.push_back({file, file, logOut});
    }
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        WriteFile(c.file);
        EXPECT_EQ(store.LoadLoginSettings().password, U("new"));
        EXPECT_EQ(store.LoadLoginSettings().password, U("new")) << "the same on every load";
        ASSERT_TRUE(c.forget(store));
        std::string text = FileText();
        EXPECT_EQ(text.find("password"), std::string::npos) << text;
        EXPECT_EQ(text.find("old"), std::string::npos) << text;
        EXPECT_EQ(store.LoadLoginSettings().password, wxString());
    }

    // A list rewritten group by group keeps its new entries only.
    WriteFile(split);
    {
        SettingsFile file = store.Open();
        EXPECT_EQ(file.Config().Read("/localMusic/playlist/0", wxString()), U("/b.mp3"));
        file.Config().DeleteGroup("/localMusic");
        file.Config().Write("/localMusic/playlist/0", U("/c.mp3"));
        ASSERT_TRUE(file.Save());
    }
    for (int load = 0; load < 2; ++load) {
        SettingsFile file = store.Open();
        EXPECT_EQ(file.Config().Read("/localMusic/playlist/0", wxString()), U("/c.mp3")) << FileText();
        ASSERT_TRUE(file.Save());
    }
    EXPECT_EQ(FileText().find(".mp3\n0="), std::string::npos) << FileText();
    EXPECT_EQ(FileText().find("/a.mp3"), std::string::npos) << FileText();

    // A file without repetitions is written back exactly as it was.
    const std::string plain = "; kept\n[login]\nmobile=2\n[server]\nhost=h\n";
    WriteFile(plain);
    ASSERT_TRUE(store.Open().Save());
    EXPECT_EQ(FileText(), plain);
}

}  // namespace

namespace {

int g_toolkitAsserts = 0;

void CountAssert(const wxString&, int, const wxString&, const wxString&, const wxString&)
{
    ++g_toolkitAsserts;
}

// A line with no key name ("=x", "  =x") sets nothing; the toolkit's reader
// fails an assertion on it, which the program would show as a debug box.
TEST_F(SettingsStoreTest, LineWithoutKeyNameIsDroppedWithoutToolkitAssertion)
{
    g_toolkitAsserts = 0;
    const wxAssertHandler_t previous = wxSetAssertHandler(CountAssert);
    WriteFile("[login]\n=x\nmobile=1\n \t=y\nrememberPassword=1\rpassword=p\r\r=z\n");
    const LoginSettings loaded = store.LoadLoginSettings();
    EXPECT_EQ(loaded.mobile, U("1"));
    EXPECT_EQ(loaded.password, U("p"));
    ASSERT_TRUE(store.SaveLoginSettings(loaded));
    wxSetAssertHandler(previous);
    EXPECT_EQ(g_toolkitAsserts, 0);
    EXPECT_EQ(FileText().find("=x"), std::string::npos) << FileText();
    EXPECT_EQ(FileText().find("=y"), std::string::npos) << FileText();
    EXPECT_EQ(FileText().find("=z"), std::string::npos) << FileText();
}

// UTF-16 with two low surrogates in a row, which the toolkit's reader joins
// into a code point beyond Unicode: the line keeps U+FFFD in its place, the
// others load, and no toolkit assertion fires.
TEST_F(SettingsStoreTest, Utf16FileWithBrokenSurrogatesKeepsItsOtherLines)
{
    std::string file = "\xFE\xFF";
    for (char16_t c : u"[login]\nmobile=1\nnote=a\xDCDC\xDCDC" "b\n") {
        if (c == 0) break;
        file += static_cast<char>(c >> 8);
        file += static_cast<char>(c & 0xFF);
    }
    g_toolkitAsserts = 0;
    const wxAssertHandler_t previous = wxSetAssertHandler(CountAssert);
    WriteFile(file);
    const LoginSettings loaded = store.LoadLoginSettings();
    ASSERT_TRUE(store.SaveLoginSettings(loaded));
    wxSetAssertHandler(previous);
    EXPECT_EQ(g_toolkitAsserts, 0);
    EXPECT_EQ(loaded.mobile, U("1"));
    EXPECT_NE(FileText().find("note=a\xEF\xBF\xBD" "b"), std::string::npos) << FileText();
}

}  // namespace
