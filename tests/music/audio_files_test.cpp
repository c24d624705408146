#include "music/audio_files.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

namespace {

wxString U(const std::string& s) { return wxString::FromUTF8(s); }

TEST(AudioFilesTest, SupportedExtensionsIgnoreCase)
{
    for (const char* path : {"/m/a.mp3", "/m/b.MP3", "/m/c.Flac", "/m/d.wav", "/m/e.m4a", "/m/f.AAC",
                             "/m/g.ogg", "/m/h.wma", "/m/歌 曲.mp3", "/m.x/a.b.ogg"}) {
        EXPECT_TRUE(IsSupportedAudio(U(path))) << path;
    }
    for (const char* path : {"/m/a.mp4", "/m/mp3", "/m/a.mp3.txt", "/m.mp3/readme", "", "/m/a.", "/m/.mp3"}) {
        EXPECT_FALSE(IsSupportedAudio(U(path))) << path;
    }
}

TEST(AudioFilesTest, AlbumAndSongNames)
{
    EXPECT_EQ(AlbumNameOf(U("/home/u/音乐/周杰伦")), U("周杰伦"));
    EXPECT_EQ(AlbumNameOf(U("/home/u/Music/Live/")), U("Live"));
    EXPECT_EQ(AlbumNameOf(U("/")), U("/"));
    EXPECT_EQ(SongNameOf(U("/m/晴天.live.mp3")), U("晴天.live"));
    EXPECT_EQ(SongNameOf(U("/m/noext")), U("noext"));
}

TEST(AudioFilesTest, ScanListsVisibleAudioFilesSortedWithoutCase)
{
    qtest::TempDir dir;
    for (const char* name : {"b.mp3", "A.flac", "c.MP3", ".hidden.mp3", "notes.txt", "video.mp4", "sub/inner.mp3",
                             "晴天.ogg", "bad \xff name.mp3"}) {
        dir.write(name, "");
    }
    std::filesystem::create_directory(dir.file("folder.mp3"));  // a folder with an audio name
    AlbumScan scan = ScanAlbumFolder(U(dir.path()));
    ASSERT_TRUE(scan.opened);
    wxString expectedName = AlbumNameOf(U(dir.path()));
    std::vector<wxString> names;
    for (const Song& s : scan.album.songs) {
        names.push_back(s.name);
        EXPECT_EQ(s.source, expectedName);
        EXPECT_EQ(s.path, U(dir.path()) + "/" + s.path.AfterLast('/'));
    }
    EXPECT_EQ(names, (std::vector<wxString>{"A", "b", "c", U("晴天")}));
}

TEST(AudioFilesTest, ScanOfMissingOrEmptyFolder)
{
    qtest::TempDir dir;
    EXPECT_FALSE(ScanAlbumFolder(U(dir.file("missing"))).opened);
    EXPECT_FALSE(ScanAlbumFolder(U(dir.write("file.mp3", ""))).opened);
    AlbumScan empty = ScanAlbumFolder(U(dir.path()));
    EXPECT_TRUE(empty.opened);
    EXPECT_EQ(empty.album.songs.size(), 1u);  // the file written just above
    std::filesystem::create_directory(dir.file("empty"));
    AlbumScan none = ScanAlbumFolder(U(dir.file("empty")));
    EXPECT_TRUE(none.opened);
    EXPECT_TRUE(none.album.songs.empty());
}

// The rebuild learns which playlist files exist from one listing per
// folder; it must say exactly what asking for each file says, links,
// folders, duplicates and odd spellings included.
TEST(AudioFilesTest, ExistenceFromListingsAgreesWithAskingEachFile)
{
    namespace fs = std::filesystem;
    qtest::TempDir dir;
    std::string many = dir.path() + "/many";  // enough wanted files to be listed
    std::string few = dir.path() + "/few";    // asked file by file
    fs::create_directories(many + "/sub.mp3");
    fs::create_directories(few);
    for (int i = 0; i < 12; ++i) dir.write("many/s" + std::to_string(i) + ".mp3", "");
    dir.write("few/one.mp3", "");
    fs::create_symlink(many + "/s1.mp3", many + "/link.mp3");
    fs::create_symlink(many + "/gone.mp3", many + "/dangling.mp3");
    fs::create_symlink(many + "/sub.mp3", many + "/dirlink.mp3");
    std::vector<std::string> raw;
    for (int i = 0; i < 14; ++i) raw.push_back(many + "/s" + std::to_string(i) + ".mp3");  // s12, s13 missing
    for (const char* name : {"/link.mp3", "/dangling.mp3", "/dirlink.mp3", "/sub.mp3", "/s3.mp3", "/", "/.",
                             "/..", "/S3.mp3", "/sub.mp3/x.mp3", "/../few/one.mp3"}) {
        raw.push_back(many + name);
    }
    for (const char* name : {"/one.mp3", "/two.mp3", ""}) raw.push_back(few + name);
    raw.push_back("");
    raw.push_back(few + "/one.mp3/");
    std::vector<wxString> paths;
    for (const std::string& p : raw) paths.push_back(U(p));

    std::vector<bool> exists = AudioFilesExist(paths);
    ASSERT_EQ(exists.size(), paths.size());
    for (size_t i = 0; i < paths.size(); ++i) EXPECT_EQ(exists[i], AudioFileExists(paths[i])) << raw[i];
    EXPECT_EQ(std::count(exists.begin(), exists.end(), true), 12 + 1 + 1 + 1 + 1);  // s0–s11, link, s3 again, ../few, one
}

// The sort keys fold case once per song; the order must be the one a
// case-insensitive comparison of the names gives, equal names by path.
TEST(AudioFilesTest, SortOrdersAsCaseInsensitiveComparison)
{
    std::vector<Song> songs;
    int n = 0;
    for (const char* name : {"b", "B", "_x", "Zed", "zeta", "Äpfel", "äpfel", "apfel", "Ωmega", "ωmega", "晴天", "10",
                             "9", "a b", "A", "ab", "ÄB", "Élan", "elan", "é"}) {
        wxString path = wxString::Format("/m/%02d.mp3", n++);
        songs.push_back(Song{path, U(name), wxString()});
    }
    std::vector<Song> expected = songs;
    std::sort(expected.begin(), expected.end(), [](const Song& a, const Song& b) {
        int c = a.name.CmpNoCase(b.name);
        return c != 0 ? c < 0 : a.path < b.path;
    });
    SortSongs(songs);
    ASSERT_EQ(songs.size(), expected.size());
    for (size_t i = 0; i < songs.size(); ++i) {
        EXPECT_EQ(songs[i].name, expected[i].name) << i;
        EXPECT_EQ(songs[i].path, expected[i].path) << i;
    }
}

}  // namespace
