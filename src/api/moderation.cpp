// Moderation, complaints, moving and site messages: each picks its failure
// text and path from the wanted state and hands its bodies to the shared
// attempt walk.
#include "api/api_client.h"

#include "api/body_encoding.h"
#include "api/moderation_variants.h"

namespace {

// The failure text of a switch: the first when switching on.
wxString Pick(bool on, const wxString& onText, const wxString& offText)
{
    return on ? onText : offText;
}

}  // namespace

ApiResult ApiClient::SendToggle(const wxString& path, const char* field, int32_t postId, bool on,
                                const wxString& token, const wxString& cookies,
                                const wxString& failureText) const
{
    return SendWithFallbacks(wxS("PATCH"), path, token, cookies, ToggleVariants(postId, on, field),
                             failureText);
}

ApiResult ApiClient::SetEssence(const wxString& token, const wxString& cookies, int32_t postId, bool on) const
{
    return SendToggle(wxS("/api/post/essence"), "essence", postId, on, token, cookies,
                      Pick(on, wxS("设为精华失败"), wxS("取消精华失败")));
}

ApiResult ApiClient::SetLocked(const wxString& token, const wxString& cookies, int32_t postId, bool on) const
{
    return SendToggle(wxS("/api/post/lock"), "lock", postId, on, token, cookies,
                      Pick(on, wxS("锁定帖子失败"), wxS("取消锁定失败")));
}

ApiResult ApiClient::SetSunk(const wxString& token, const wxString& cookies, int32_t postId, bool on) const
{
    return SendToggle(wxS("/api/post/sink"), "sink", postId, on, token, cookies,
                      Pick(on, wxS("沉底帖子失败"), wxS("取消沉底失败")));
}

ApiResult ApiClient::SetTop(const wxString& token, const wxString& cookies, int32_t postId, bool on) const
{
    return SendToggle(wxS("/api/post/top"), "top", postId, on, token, cookies,
                      Pick(on, wxS("置顶帖子失败"), wxS("取消置顶失败")));
}

ApiResult ApiClient::SetShielded(const wxString& token, const wxString& cookies, int32_t postId, bool on) const
{
    const wxString path = wxS("/api/post/") + PathNumber(postId) + (on ? wxS("/shield") : wxS("/unshield"));
    return SendWithoutBody(wxS("PATCH"), path, token, cookies, Pick(on, wxS("屏蔽帖子失败"), wxS("取消屏蔽失败")));
}

ApiResult ApiClient::SetTopAll(const wxString& token, const wxString& cookies, int32_t postId, bool on,
                               const std::vector<int32_t>& sectionIds) const
{
    const wxString path = wxS("/api/post/") + PathNumber(postId) + wxS("/top-all");
    const wxString failure = Pick(on, wxS("全局置顶失败"), wxS("取消全局置顶失败"));
    if (!on) return SendWithoutBody(wxS("DELETE"), path, token, cookies, failure);
    return SendWithFallbacks(wxS("POST"), path, token, cookies, TopAllVariants(sectionIds), failure);
}

ApiResult ApiClient::SetBanned(const wxString& token, const wxString& cookies, int32_t userId, bool on) const
{
    const wxString path = wxS("/api/user/") + PathNumber(userId) + (on ? wxS("/ban") : wxS("/cancelBan"));
    return SendWithoutBody(wxS("PATCH"), path, token, cookies, Pick(on, wxS("封禁失败"), wxS("取消封禁失败")));
}

ApiResult ApiClient::SetSilenced(const wxString& token, const wxString& cookies, int32_t userId, bool on) const
{
    const wxString path = wxS("/api/user/") + PathNumber(userId) + (on ? wxS("/silence") : wxS("/cancelSilence"));
    return SendWithoutBody(wxS("PATCH"), path, token, cookies, Pick(on, wxS("禁言失败"), wxS("取消禁言失败")));
}

ApiResult ApiClient::ReportPost(const wxString& token, const wxString& cookies, int32_t postId,
                                const wxString& reason) const
{
    return SendWithFallbacks(wxS("POST"), wxS("/api/complaint"), token, cookies,
                             ComplaintVariants(postId, reason), wxS("举报帖子失败"));
}

ApiResult ApiClient::MovePost(const wxString& token, const wxString& cookies, int32_t postId,
                              int32_t sectionId) const
{
    return SendWithFallbacks(wxS("PATCH"), wxS("/api/post/move"), token, cookies,
                             MoveVariants(postId, sectionId), wxS("移动帖子失败"));
}

ApiResult ApiClient::SendSiteMessage(const wxString& token, const wxString& cookies, int32_t userId,
                                     const wxString& text) const
{
    return SendWithFallbacks(wxS("POST"), wxS("/api/msg"), token, cookies, MessageVariants(userId, text),
                             wxS("发送站内消息失败"));
}
