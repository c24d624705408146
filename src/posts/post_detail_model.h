// What the post detail window shows, computed without a window: the media
// lines built from a post, the header and reply-target texts, and the
// player status line. The window only puts these texts on its controls.
#pragma once

#include "api/forum_records.h"
#include "posts/post_detail_results.h"

#include <wx/string.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

// Takes the dialog's session texts, makes sure the user is logged in
// through the main window, copies its session texts in and returns true;
// false when the user did not log in.
using LoginCallback = std::function<bool(wxString& token, wxString& cookies)>;

// The floor a reply answers.
struct ReplyTarget {
    int32_t replyId = 0;  // sent as the reply's parent
    int32_t floor = 0;    // shown to the user
    wxString userName;
};

// One line of the media list.
struct MediaEntry {
    wxString displayText;
    wxString url;   // handed to the player
    wxString name;  // desc, else fileName; may be empty
};

// Audio items first, then video items (whose sound tracks are played).
std::vector<MediaEntry> BuildMediaEntries(const PostDetail& post);

// "标题：…\n作者：…\n时间：…"
wxString PostHeaderText(const PostDetail& post);
// "当前回复目标：回复 3 楼（name）" or "当前回复目标：回复主题".
wxString ReplyTargetText(const std::optional<ReplyTarget>& target);

// The player facts the status line is made of.
struct PlaybackSnapshot {
    bool hasMedia = false;
    bool playing = false;
    bool paused = false;
    double volume = 1.0;  // 0.0 – 1.0
    double position = 0;  // seconds
    double length = 0;    // seconds
};

// Seconds rounded half up, as "%02d:%02d"; minutes go past 59 (75:00).
wxString FormatMediaClock(double seconds);
// "播放状态：播放中，音量 80%，进度 00:05 / 03:20"
wxString FormatPlaybackStatus(const PlaybackSnapshot& s);

// The reply box counts as empty when only white space is in it.
bool IsReplyBlank(const wxString& reply);

// Why the reply box's text cannot be sent to `post`, or nothing:
// "当前帖子不允许回复。" or "请输入回帖内容。".
std::optional<wxString> ReplyProblem(const PostDetail& post, const wxString& reply);
