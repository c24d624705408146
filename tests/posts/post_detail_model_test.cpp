// The texts of the post detail window, without a window.
#include "posts/post_detail_model.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

wxString U8(const char* s) { return wxString::FromUTF8(s); }

MediaItem Item(const char* url, const char* desc, const char* fileName) {
    MediaItem item;
    item.url = U8(url);
    item.desc = U8(desc);
    item.fileName = U8(fileName);
    return item;
}

TEST(PostMedia, AudioLinesComeBeforeVideoLinesWithTheirNames) {
    PostDetail post;
    post.videoList = {Item("http://h/v.mp4", "现场录像", "v.mp4")};
    post.audioList = {Item("http://h/a.mp3", "第一首", "a.mp3"), Item("http://h/b.mp3", "", "第二首.mp3")};
    auto entries = BuildMediaEntries(post);
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].displayText, U8("音频：第一首"));
    EXPECT_EQ(entries[0].url, U8("http://h/a.mp3"));
    EXPECT_EQ(entries[0].name, U8("第一首"));
    EXPECT_EQ(entries[1].displayText, U8("音频：第二首.mp3"));  // no desc: the file name
    EXPECT_EQ(entries[1].name, U8("第二首.mp3"));
    EXPECT_EQ(entries[2].displayText, U8("视频音轨：现场录像"));
    EXPECT_EQ(entries[2].url, U8("http://h/v.mp4"));
}

TEST(PostMedia, UnnamedItemsGetAPlaceholderButKeepAnEmptyName) {
    PostDetail post;
    post.audioList = {Item("http://h/a.mp3", "", "")};
    post.videoList = {Item("http://h/v.mp4", "", "")};
    auto entries = BuildMediaEntries(post);
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].displayText, U8("音频：未命名音频"));
    EXPECT_TRUE(entries[0].name.empty());
    EXPECT_EQ(entries[1].displayText, U8("视频音轨：未命名视频"));
    // A "%" in a name is shown as it stands, never read as a format.
    post.audioList = {Item("http://h/a.mp3", "100%s 满分", "")};
    EXPECT_EQ(BuildMediaEntries(post)[0].displayText, U8("音频：100%s 满分"));
    EXPECT_TRUE(BuildMediaEntries(PostDetail{}).empty());
}

TEST(PostTexts, HeaderAndReplyTarget) {
    PostDetail post;
    post.title = U8("春天的歌");
    post.userName = U8("小明");
    post.createTime = U8("2026-03-01 10:00");
    EXPECT_EQ(PostHeaderText(post), U8("标题：春天的歌\n作者：小明\n时间：2026-03-01 10:00"));
    EXPECT_EQ(ReplyTargetText(std::nullopt), U8("当前回复目标：回复主题"));
    EXPECT_EQ(ReplyTargetText(ReplyTarget{77, 3, U8("阿花")}), U8("当前回复目标：回复 3 楼（阿花）"));
}

TEST(PostTexts, ClockRoundsHalfUpAndDoesNotWrapMinutes) {
    EXPECT_EQ(FormatMediaClock(0), wxS("00:00"));
    EXPECT_EQ(FormatMediaClock(61.6), wxS("01:02"));
    EXPECT_EQ(FormatMediaClock(61.4), wxS("01:01"));
    EXPECT_EQ(FormatMediaClock(59.5), wxS("01:00"));
    EXPECT_EQ(FormatMediaClock(3599.5), wxS("60:00"));
    EXPECT_EQ(FormatMediaClock(4500), wxS("75:00"));
    EXPECT_EQ(FormatMediaClock(-3), wxS("00:00"));
    // Broken player values: nothing overflows, nothing goes negative.
    EXPECT_EQ(FormatMediaClock(std::numeric_limits<double>::quiet_NaN()), wxS("00:00"));
    EXPECT_EQ(FormatMediaClock(std::numeric_limits<double>::infinity()), wxS("00:00"));
    EXPECT_EQ(FormatMediaClock(1e300), wxS("35791394:07"));  // INT_MAX seconds
}

TEST(PostTexts, StatusLineInEveryState) {
    PlaybackSnapshot s;
    EXPECT_EQ(FormatPlaybackStatus(s), U8("播放状态：未开始，音量 100%"));
    s.hasMedia = true;
    s.playing = true;
    s.volume = 0.35f;  // as the player keeps it: 34.99999…, rounds to 35
    s.position = 61.6;
    s.length = 3599.5;
    EXPECT_EQ(FormatPlaybackStatus(s), U8("播放状态：播放中，音量 35%，进度 01:02 / 60:00"));
    s.playing = false;
    s.paused = true;
    s.volume = 0.004;
    EXPECT_EQ(FormatPlaybackStatus(s), U8("播放状态：已暂停，音量 0%，进度 01:02 / 60:00"));
    s.paused = false;
    s.volume = 0.005;
    s.length = 0;  // a live stream
    EXPECT_EQ(FormatPlaybackStatus(s), U8("播放状态：已停止，音量 1%，进度 01:02 / 00:00"));
}

TEST(PostTexts, BlankRepliesAreOnlyWhiteSpace) {
    EXPECT_TRUE(IsReplyBlank(wxString()));
    EXPECT_TRUE(IsReplyBlank(wxS(" \n\t  \r\n")));
    EXPECT_FALSE(IsReplyBlank(wxS("  好\n")));
}

}  // namespace
