#include "music/audio_files.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

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
                             "晴天.ogg"}) {
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

}  // namespace
