#include "posts/post_detail_model.h"

#include <cmath>
#include <limits>

namespace {

// Half up: 61.5 s reads 01:02. Negative or broken values count as 0, and
// absurd ones (a stream reporting a length of 1e300 s) stop at the largest
// int instead of overflowing the conversion.
long RoundHalfUp(double value) {
    if (!std::isfinite(value) || value <= 0) return 0;
    constexpr long kLargest = std::numeric_limits<int>::max();
    if (value >= static_cast<double>(kLargest)) return kLargest;
    return static_cast<long>(value + 0.5);
}

void AddEntries(const std::vector<MediaItem>& items, const char* format, const char* unnamed,
                std::vector<MediaEntry>& out) {
    for (const MediaItem& item : items) {
        MediaEntry entry;
        entry.url = item.url;
        entry.name = item.desc.empty() ? item.fileName : item.desc;
        const wxString shown = entry.name.empty() ? wxString::FromUTF8(unnamed) : entry.name;
        entry.displayText = wxString::Format(wxString::FromUTF8(format), shown);
        out.push_back(entry);
    }
}

}  // namespace

std::vector<MediaEntry> BuildMediaEntries(const PostDetail& post) {
    std::vector<MediaEntry> entries;
    AddEntries(post.audioList, "音频：%s", "未命名音频", entries);
    AddEntries(post.videoList, "视频音轨：%s", "未命名视频", entries);
    return entries;
}

wxString PostHeaderText(const PostDetail& post) {
    return wxString::Format(wxString::FromUTF8("标题：%s\n作者：%s\n时间：%s"), post.title, post.userName,
                            post.createTime);
}

wxString ReplyTargetText(const std::optional<ReplyTarget>& target) {
    if (!target) return wxString::FromUTF8("当前回复目标：回复主题");
    return wxString::Format(wxString::FromUTF8("当前回复目标：回复 %d 楼（%s）"), target->floor, target->userName);
}

wxString FormatMediaClock(double seconds) {
    const long whole = RoundHalfUp(seconds);
    return wxString::Format(wxS("%02ld:%02ld"), whole / 60, whole % 60);
}

wxString FormatPlaybackStatus(const PlaybackSnapshot& s) {
    const char* state = !s.hasMedia ? "未开始" : s.playing ? "播放中" : s.paused ? "已暂停" : "已停止";
    wxString text = wxString::FromUTF8("播放状态：") + wxString::FromUTF8(state);
    text += wxString::Format(wxString::FromUTF8("，音量 %ld%%"), RoundHalfUp(s.volume * 100));
    if (s.hasMedia) {
        text += wxString::Format(wxString::FromUTF8("，进度 %s / %s"), FormatMediaClock(s.position),
                                 FormatMediaClock(s.length));
    }
    return text;
}

bool IsReplyBlank(const wxString& reply) {
    wxString trimmed = reply;
    trimmed.Trim(true).Trim(false);
    return trimmed.empty();
}

std::optional<wxString> ReplyProblem(const PostDetail& post, const wxString& reply) {
    if (!post.isReply || post.replyForbidden != 0) return wxString::FromUTF8("当前帖子不允许回复。");
    if (IsReplyBlank(reply)) return wxString::FromUTF8("请输入回帖内容。");
    return std::nullopt;
}
