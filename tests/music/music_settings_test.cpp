#include "music/music_library.h"
#include "music/music_settings.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

wxString U(const std::string& s) { return wxString::FromUTF8(s); }

struct MusicSettingsTest : ::testing::Test {
    qtest::TempDir dir;
    SettingsStore store{U(dir.file("config"))};
    std::string FileText() { return qtest::ReadFile(store.SettingsFilePath().utf8_string()); }
    void WriteFile(const std::string& text)
    {
        ASSERT_EQ(dir.write("config/settings.ini", text), store.SettingsFilePath().utf8_string());
    }
};

TEST_F(MusicSettingsTest, SavesTheExactKeysInOrderAndReadsThemBack)
{
    MusicSettings in;
    in.globalHotkeysEnabled = true;
    in.playMode = 3;
    in.playlistPaths = {U("/音乐/a.mp3"), U("/m/b c.flac")};
    in.albumFolders = {U("/专辑/一")};
    ASSERT_TRUE(SaveMusicSettings(store, in));
    EXPECT_EQ(FileText(),
              "[localMusic]\nglobalHotkeysEnabled=1\nplayMode=3\nplaylistCount=2\nalbumCount=1\n"
              "[localMusic/playlist]\n0=/音乐/a.mp3\n1=/m/b c.flac\n[localMusic/album]\n0=/专辑/一\n");
    MusicSettings out = LoadMusicSettings(store);
    EXPECT_TRUE(out.globalHotkeysEnabled);
    EXPECT_EQ(out.playMode, 3);
    EXPECT_EQ(out.playlistPaths, in.playlistPaths);
    EXPECT_EQ(out.albumFolders, in.albumFolders);
}

TEST_F(MusicSettingsTest, SavingReplacesTheGroupAndLeavesLoginAlone)
{
    SettingsStore(store).SaveLoginSettings({U("138"), U("pw"), true, true});
    MusicSettings big;
    big.playlistPaths = {U("/a.mp3"), U("/b.mp3"), U("/c.mp3")};
    ASSERT_TRUE(SaveMusicSettings(store, big));
    MusicSettings small;
    small.playlistPaths = {U("/z.mp3")};
    ASSERT_TRUE(SaveMusicSettings(store, small));
    EXPECT_EQ(LoadMusicSettings(store).playlistPaths, small.playlistPaths);
    EXPECT_EQ(FileText().find("/b.mp3"), std::string::npos) << FileText();
    LoginSettings login = store.LoadLoginSettings();
    EXPECT_EQ(login.password, "pw");
    EXPECT_TRUE(login.autoLogin);
}

TEST_F(MusicSettingsTest, MissingEmptyAndOutOfCountEntriesAreSkipped)
{
    WriteFile("[localMusic]\nplaylistCount=3\nalbumCount=9223372036854775807\n"
              "[localMusic/playlist]\n0=/a.mp3\n1=\n2=/c.mp3\n3=/beyond.mp3\n-1=/neg.mp3\n"
              "[localMusic/album]\n5=/five\n0=/zero\n");
    MusicSettings s = LoadMusicSettings(store);
    EXPECT_FALSE(s.globalHotkeysEnabled);
    EXPECT_EQ(s.playMode, 0);
    EXPECT_EQ(s.playlistPaths, (std::vector<wxString>{"/a.mp3", "/c.mp3"}));
    // A huge count reads what is there, in index order, without looping over every index.
    EXPECT_EQ(s.albumFolders, (std::vector<wxString>{"/zero", "/five"}));

    WriteFile("[localMusic]\nplaylistCount=-4\n[localMusic/playlist]\n0=/a.mp3\n");
    EXPECT_TRUE(LoadMusicSettings(store).playlistPaths.empty());
}

TEST_F(MusicSettingsTest, RebuildDropsVanishedFilesAndFolders)
{
    std::string music = dir.path() + "/音乐";
    std::string a = dir.write("音乐/单曲/a.MP3", "");
    std::string gone = dir.file("音乐/单曲/gone.mp3");
    std::string video = dir.write("音乐/单曲/v.mp4", "");
    std::string text = dir.write("音乐/单曲/t.txt", "");
    std::string b = dir.write("音乐/单曲/b.flac", "");
    dir.write("音乐/Album One/02 second.ogg", "");
    dir.write("音乐/Album One/01 First.mp3", "");
    dir.write("音乐/Album One/.cover.mp3", "");
    dir.write("音乐/Album One/disc2/03.mp3", "");
    dir.write("音乐/没有歌/readme.txt", "");
    MusicSettings stored;
    stored.globalHotkeysEnabled = true;
    stored.playMode = 2;
    stored.playlistPaths = {U(a), U(gone), U(video), U(text), U(b), U(music + "/Album One")};
    stored.albumFolders = {U(music + "/missing"), U(music + "/没有歌"), U(music + "/Album One/"), U(a)};
    ASSERT_TRUE(SaveMusicSettings(store, stored));

    MusicLibrary library;
    library.Rebuild(LoadMusicSettings(store));
    EXPECT_TRUE(library.HotkeysEnabled());
    EXPECT_EQ(library.PlayMode(), 2);
    ASSERT_EQ(library.Playlist().size(), 2u);
    EXPECT_EQ(library.Playlist()[0].name, "a");
    EXPECT_EQ(library.Playlist()[0].source, U("播放列表"));
    EXPECT_EQ(library.Playlist()[1].path, U(b));
    ASSERT_EQ(library.Albums().size(), 1u);
    const Album& album = library.Albums()[0];
    EXPECT_EQ(album.name, "Album One");
    ASSERT_EQ(album.songs.size(), 2u);
    EXPECT_EQ(album.songs[0].name, "01 First");
    EXPECT_EQ(album.songs[1].name, "02 second");
    EXPECT_EQ(album.songs[1].source, "Album One");

    // Dropped entries stay in the file until the next save.
    EXPECT_NE(FileText().find("gone.mp3"), std::string::npos);
    ASSERT_TRUE(SaveMusicSettings(store, library.ToSettings()));
    EXPECT_EQ(FileText().find("gone.mp3"), std::string::npos);
    EXPECT_EQ(LoadMusicSettings(store).albumFolders.size(), 1u);
}

TEST_F(MusicSettingsTest, StoredPlayModesOutsideTheRangeLoadAsInOrder)
{
    MusicLibrary library;
    for (const char* stored : {"7", "-1", "abc", "99999999999999999999"}) {
        WriteFile(std::string("[localMusic]\nplayMode=") + stored + "\n");
        library.Rebuild(LoadMusicSettings(store));
        EXPECT_EQ(library.PlayMode(), PlayInOrder) << stored;
        EXPECT_EQ(PlayModeName(library.PlayMode()), U("按顺序播放"));
    }
    WriteFile("[localMusic]\nplayMode=4\n");
    library.Rebuild(LoadMusicSettings(store));
    EXPECT_EQ(library.PlayMode(), PlayRandom);
}

}  // namespace
