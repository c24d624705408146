#include "settings/settings_file.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>
#include <wx/fileconf.h>

#include <sys/stat.h>

#include <filesystem>
#include <functional>

namespace fs = std::filesystem;

namespace {

TEST(SettingsFileTest, ReplacesTheWholeFileAndKeepsUnknownGroups)
{
    qtest::TempDir dir;
    std::string path = dir.write("settings.ini", "[other]\nkey=value\n; a comment\n");
    SettingsFile file = SettingsFile::Open(wxString::FromUTF8(path));
    file.Config().SetPath("/login");
    file.Config().Write("mobile", wxString::FromUTF8("号码"));
    ASSERT_TRUE(file.Save());
    std::string text = qtest::ReadFile(path);
    EXPECT_NE(text.find("[other]\nkey=value\n"), std::string::npos) << text;
    EXPECT_NE(text.find("; a comment\n"), std::string::npos) << text;
    EXPECT_NE(text.find("[login]\nmobile=号码"), std::string::npos) << text;
}

TEST(SettingsFileTest, LongUtf8ValuesSurviveTheReader)
{
    // Values longer than any reader chunk, with multi-byte characters at
    // every offset, must come back whole.
    qtest::TempDir dir;
    std::string value;
    for (int i = 0; i < 1500; ++i) value += (i % 7 == 0) ? "a" : "歌";
    std::string path = dir.write("settings.ini", "[x]\nfirst=1\nlong=" + value + "\nlast=2\n");
    SettingsFile file = SettingsFile::Open(wxString::FromUTF8(path));
    EXPECT_EQ(file.Config().Read("/x/long", wxString()).utf8_string(), value);
    EXPECT_EQ(file.Config().Read("/x/last", wxString()), "2");
}

TEST(SettingsFileTest, AtomicReplaceIntoMissingFolderFailsCleanly)
{
    qtest::TempDir dir;
    EXPECT_FALSE(ReplaceFileAtomically(wxString::FromUTF8(dir.file("missing/settings.ini")), "x"));
    EXPECT_TRUE(ReplaceFileAtomically(wxString::FromUTF8(dir.file("settings.ini")), "abc"));
    EXPECT_EQ(qtest::ReadFile(dir.file("settings.ini")), "abc");
    EXPECT_TRUE(ReplaceFileAtomically(wxString::FromUTF8(dir.file("settings.ini")), ""));
    EXPECT_EQ(qtest::ReadFile(dir.file("settings.ini")), "");
    EXPECT_TRUE(fs::exists(dir.file("settings.ini")));
}

TEST(SettingsFileTest, ADamagedByteSpoilsOnlyItsOwnLine)
{
    // One byte that is not UTF-8 must not turn the other lines (Chinese
    // paths) into other text, neither when read nor when written back.
    qtest::TempDir dir;
    std::string path = dir.write("settings.ini", "[localMusic/playlist]\n0=/音乐/晴天.mp3\n[login]\nmobile=1\xff\n");
    SettingsFile file = SettingsFile::Open(wxString::FromUTF8(path));
    EXPECT_EQ(file.Config().Read("/localMusic/playlist/0", wxString()).utf8_string(), "/音乐/晴天.mp3");
    EXPECT_EQ(file.Config().Read("/login/mobile", wxString()), wxString::FromUTF8("1\u00ff"));
    ASSERT_TRUE(file.Save());
    std::string text = qtest::ReadFile(path);
    EXPECT_NE(text.find("0=/音乐/晴天.mp3\n"), std::string::npos) << text;

    // The same with a UTF-8 byte-order mark in front.
    path = dir.write("bom.ini", "\xef\xbb\xbf[x]\nname=周杰伦\nbad=\xfe\n");
    SettingsFile marked = SettingsFile::Open(wxString::FromUTF8(path));
    EXPECT_EQ(marked.Config().Read("/x/name", wxString()).utf8_string(), "周杰伦");
}

}  // namespace

namespace {

std::string Mobile(const wxString& path)
{
    return SettingsFile::Open(path).View().Read("/login/mobile", wxString()).utf8_string();
}

const void* DocumentOf(const wxString& path) { return &SettingsFile::Open(path).View(); }

// The file is parsed once and kept; whatever changes it on disk (another
// instance saving, a hand edit, even in place to the same size at once) is
// read on the next open, and a handle's unsaved changes never outlive it.
TEST(SettingsFileTest, TheKeptDocumentFollowsTheFileOnDisk)
{
    qtest::TempDir dir;
    const std::string file = dir.file("settings.ini");
    const wxString path = wxString::FromUTF8(file);
    const auto saveMobile = [&](const char* mobile) {
        SettingsFile settings = SettingsFile::Open(path);
        settings.Config().Write("/login/mobile", wxString::FromUTF8(mobile));
        return settings.Save();
    };
    ASSERT_TRUE(saveMobile("111"));
    const void* kept = DocumentOf(path);
    EXPECT_EQ(DocumentOf(path), kept) << "an unchanged file is not parsed again";
    EXPECT_EQ(Mobile(path), "111");

    struct Case {
        const char* what;
        std::function<void()> change;
        std::string mobile;  // what the next open reads
    };
    const Case cases[] = {
        {"rewritten in place, same size, at once",
         [&] { dir.write("settings.ini", "[login]\nmobile=222\n"); }, "222"},
        {"replaced by another process's save",
         [&] { ASSERT_TRUE(ReplaceFileAtomically(path, "[login]\nmobile=333\n")); }, "333"},
        {"saved through another handle", [&] { ASSERT_TRUE(saveMobile("444")); }, "444"},
        {"changed but not saved",
         [&] { SettingsFile::Open(path).Config().Write("/login/mobile", wxString("555")); }, "444"},
        {"removed", [&] { fs::remove(file); }, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        c.change();
        EXPECT_EQ(Mobile(path), c.mobile);
        EXPECT_EQ(Mobile(path), c.mobile) << "the same on every open";
    }

    // Saving what the file already holds writes nothing.
    ASSERT_TRUE(saveMobile("666"));
    struct stat before {};
    ASSERT_EQ(stat(file.c_str(), &before), 0);
    ASSERT_TRUE(saveMobile("666"));
    struct stat after {};
    ASSERT_EQ(stat(file.c_str(), &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino);
    EXPECT_EQ(after.st_mtim.tv_nsec, before.st_mtim.tv_nsec);
    EXPECT_EQ(qtest::ReadFile(file), "[login]\nmobile=666\n");
}

}  // namespace
