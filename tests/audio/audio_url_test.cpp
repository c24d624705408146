// The player on http URLs served from loopback by a small file server with
// Range support, plus a live stream, a slow server, a refused port and
// answers that are not audio.
#include "audio/audio_test_support.h"
#include "audio/media_server.h"
#include "support/http_test_server.h"
#include "support/temp_dir.h"
#include "support/test_media.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

using qtest::MediaServer;
using qtest::NullOutput;
using qtest::U8;

std::string Name(const std::string& path) { return std::filesystem::path(path).filename().string(); }

// Opens a URL and waits until it has loaded and its length is settled.
void OpenAndSettle(AudioPlayer& player, const wxString& url) {
    bool lengthKnown = false;
    player.SetNoticeHandler([&](AudioPlayer::Notice n) { lengthKnown |= n == AudioPlayer::Notice::LengthKnown; });
    ASSERT_TRUE(player.OpenUrl(url)) << player.GetLastError().utf8_string();
    EXPECT_TRUE(player.HasMedia());
    EXPECT_EQ(player.GetSource(), url);
    ASSERT_TRUE(player.WaitUntil([&] { return lengthKnown || !player.HasMedia(); }, 10));
    player.SetNoticeHandler({});
}

TEST(AudioUrl, EveryFormatPlaysOverHttpWithItsExactLength) {
    const auto& m = qtest::SharedMedia();
    MediaServer server(m.dir);
    AudioPlayer player(NullOutput());
    for (const std::string& path : {m.wav, m.mp3, m.mp3NoXing, m.flac, m.ogg, m.m4a, m.mp4}) {
        SCOPED_TRACE(path);
        OpenAndSettle(player, server.Url("/media/" + Name(path)));
        ASSERT_TRUE(player.HasMedia()) << player.GetLastError().utf8_string();
        EXPECT_NEAR(player.GetLength(), m.seconds, path == m.mp3NoXing ? 0.06 : 0.03);
        EXPECT_FALSE(player.IsPlaying());
        ASSERT_TRUE(player.Play(false));
        EXPECT_TRUE(player.WaitUntil([&] { return player.IsPlaying(); }, 5));
        EXPECT_TRUE(qtest::WaitForPosition(player, 0.2));
    }
}

TEST(AudioUrl, LongVbrMp3WithoutXingAndSeeksOverHttp) {
    qtest::TempDir dir;
    qtest::MakeMedia(dir.path(), "long.mp3", qtest::MediaKind::Mp3NoXing, 40.0);
    MediaServer server(dir.path());
    AudioPlayer player(NullOutput());
    OpenAndSettle(player, server.Url("/media/long.mp3"));
    EXPECT_NEAR(player.GetLength(), 40.0, 0.06);
    ASSERT_TRUE(player.Play(false));
    ASSERT_TRUE(player.WaitUntil([&] { return player.IsPlaying(); }, 5));
    ASSERT_TRUE(player.SeekBy(+5));
    EXPECT_TRUE(player.WaitUntil([&] { return player.GetPosition() >= 5.0; }, 3));
    EXPECT_LT(player.GetPosition(), 6.0);
    ASSERT_TRUE(player.SeekBy(-10));
    EXPECT_LT(player.GetPosition(), 0.5);
}

// A URL's exact-length count starts after its first sound; a seek asked
// for before the count has ended waits for it, so the seek is bounded by
// the exact length and the status shows it at once. A URL opened paused is
// counted once it has loaded.
TEST(AudioUrl, ASeekRightAfterTheFirstSoundKnowsTheLength) {
    qtest::TempDir dir;
    // Without a Xing header mpv's own guess is 64 s: only the count says 40.
    qtest::MakeMedia(dir.path(), "long.mp3", qtest::MediaKind::Mp3NoXing, 40.0);
    MediaServer server(dir.path());
    AudioPlayer player(NullOutput());
    bool lengthKnown = false;
    player.SetNoticeHandler([&](AudioPlayer::Notice n) { lengthKnown |= n == AudioPlayer::Notice::LengthKnown; });
    ASSERT_TRUE(player.OpenUrl(server.Url("/media/long.mp3")));
    ASSERT_TRUE(player.Play(true));
    ASSERT_TRUE(player.WaitUntil([&] { return player.GetPosition() > 0; }, 5));
    ASSERT_TRUE(player.SeekBy(+5));
    EXPECT_NEAR(player.GetLength(), 40.0, 0.06);
    EXPECT_TRUE(player.WaitUntil([&] { return player.GetPosition() >= 5.0; }, 3));
    EXPECT_LT(player.GetPosition(), 6.0);
    // Beyond the end is the end, not mpv's 64 s.
    ASSERT_TRUE(player.SeekBy(+100));
    EXPECT_LE(player.GetPosition(), 40.06);

    // A seek before the medium has even loaded waits for the count too.
    ASSERT_TRUE(player.OpenUrl(server.Url("/media/long.mp3")));
    ASSERT_TRUE(player.SeekBy(+100));
    EXPECT_NEAR(player.GetLength(), 40.0, 0.06);

    // Opened and left paused: counted once loaded, without a Play.
    lengthKnown = false;
    ASSERT_TRUE(player.OpenUrl(server.Url("/media/long.mp3")));
    ASSERT_TRUE(player.WaitUntil([&] { return lengthKnown; }, 10));
    EXPECT_NEAR(player.GetLength(), 40.0, 0.06);
    EXPECT_FALSE(player.IsPlaying());
    player.SetNoticeHandler({});
}

TEST(AudioUrl, PlayBeforeLoadingEndsStartsOnceLoaded) {
    const auto& m = qtest::SharedMedia();
    MediaServer server(m.dir);
    AudioPlayer player(NullOutput());
    ASSERT_TRUE(player.OpenUrl(server.Url("/media/" + Name(m.ogg))));
    ASSERT_TRUE(player.Play(true));
    EXPECT_TRUE(player.WaitUntil([&] { return player.IsPlaying(); }, 5));
}

TEST(AudioUrl, ALiveStreamHasNoLengthAndSeeksWithoutUpperBound) {
    const auto& m = qtest::SharedMedia();
    MediaServer server(m.dir);
    AudioPlayer player(NullOutput());
    OpenAndSettle(player, server.Url("/live.mp3"));
    ASSERT_TRUE(player.HasMedia()) << player.GetLastError().utf8_string();
    EXPECT_EQ(player.GetLength(), 0.0);
    ASSERT_TRUE(player.Play(false));
    ASSERT_TRUE(player.WaitUntil([&] { return player.IsPlaying(); }, 5));
    EXPECT_TRUE(player.SeekBy(+5));
    EXPECT_TRUE(player.SeekBy(-50));
    // Whatever the stream allowed, the position goes on moving afterwards.
    player.WaitUntil([] { return false; }, 1.5);
    double before = player.GetPosition();
    EXPECT_TRUE(qtest::WaitForPosition(player, before + 0.2, 2)) << before;
}

TEST(AudioUrl, FailuresDropTheMediumWithTheirTexts) {
    const auto& m = qtest::SharedMedia();
    MediaServer server(m.dir);
    AudioPlayer player(NullOutput());
    struct Case {
        wxString url;
        const char* text;
    } cases[] = {
        {U8("http://127.0.0.1:" + std::to_string(qtest::UnusedLoopbackPort()) + "/a.mp3"), "加载网络音频失败：无法连接网络音频"},
        {server.Url("/media/none.mp3"), "加载网络音频失败：无法连接网络音频"},
        {server.Url("/media/" + Name(m.garbage)), "加载网络音频失败：音频格式不支持"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.url.utf8_string());
        int failed = 0;
        player.SetNoticeHandler([&](AudioPlayer::Notice n) { failed += n == AudioPlayer::Notice::MediaFailed; });
        ASSERT_TRUE(player.OpenUrl(c.url));  // loading starts; the answer comes later
        ASSERT_TRUE(player.WaitUntil([&] { return failed > 0; }, 10));
        EXPECT_EQ(failed, 1);
        EXPECT_FALSE(player.HasMedia());
        EXPECT_TRUE(player.GetSource().empty());
        EXPECT_EQ(player.GetLastError(), wxString::FromUTF8(c.text));
        EXPECT_FALSE(player.Play(false));
    }
}

TEST(AudioUrl, ASilentServerTimesOut) {
    const auto& m = qtest::SharedMedia();
    MediaServer server(m.dir);
    AudioPlayer player(NullOutput(1.0));
    ASSERT_TRUE(player.OpenUrl(server.Url("/slow.mp3")));
    ASSERT_TRUE(player.WaitUntil([&] { return !player.HasMedia(); }, 5));
    EXPECT_EQ(player.GetLastError(), wxString::FromUTF8("加载网络音频失败：网络请求超时"));
}

TEST(AudioUrl, OnlyWebAddressesAreOpened) {
    const auto& m = qtest::SharedMedia();
    AudioPlayer player(NullOutput());
    ASSERT_TRUE(player.OpenFile(U8(m.wav)));
    for (const std::string& url : {"file://" + m.wav, std::string("av://lavfi:sine"), m.wav, std::string()}) {
        SCOPED_TRACE(url);
        EXPECT_FALSE(player.OpenUrl(U8(url)));
        EXPECT_EQ(player.GetLastError(), wxString::FromUTF8("加载网络音频失败：无法连接网络音频"));
        EXPECT_FALSE(player.HasMedia());
    }
}

}  // namespace
