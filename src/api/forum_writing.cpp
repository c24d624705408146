// Publishing, saving and deleting posts, and replies. None of them reads
// the answer's data: success alone matters, and the caller reloads.
#include "api/api_client.h"

#include "api/auth_variants.h"
#include "api/body_encoding.h"
#include "api/envelope.h"
#include "api/post_body.h"

ApiResult ApiClient::SavePost(const wxString& method, const wxString& path, const wxString& token,
                              const wxString& cookies, const PostInput& input, const wxString& failureText,
                              const wxString& finalText) const
{
    Walk walk = WalkFallbacks(method, path, token, cookies, BuildPostBody(input), failureText);
    ApiResult& result = walk.result;
    if (result.success) return result;
    if (!walk.lastLabel.empty()) result.message += wxS(" [") + walk.lastLabel + wxS("]");
    if (result.message.empty()) result.message = finalText;
    return result;
}

ApiResult ApiClient::CreatePost(const wxString& token, const wxString& cookies, const PostInput& input) const
{
    return SavePost(wxS("POST"), wxS("/api/post"), token, cookies, input, wxS("发布帖子失败"),
                    wxS("发布帖子失败。"));
}

ApiResult ApiClient::EditPost(const wxString& token, const wxString& cookies, const PostInput& input,
                              bool asManager) const
{
    return SavePost(wxS("PUT"), asManager ? wxS("/api/post/manage") : wxS("/api/post"), token, cookies, input,
                    wxS("编辑帖子失败"), wxS("编辑帖子失败。"));
}

ApiResult ApiClient::DeletePost(const wxString& token, const wxString& cookies, int32_t postId) const
{
    const BodyVariant noBody{wxS("无请求体"), wxS("application/json"), std::nullopt};
    ApiResult result =
        WalkFallbacks(wxS("DELETE"), wxS("/api/post/") + PathNumber(postId), token, cookies, {noBody},
                      wxS("删除帖子失败"))
            .result;
    result.debugInfo.clear();
    if (!result.success && result.message.empty()) result.message = wxS("删除帖子失败。");
    return result;
}

ApiResult ApiClient::CreateReply(const wxString& token, const wxString& cookies, int32_t postId,
                                 const wxString& text, int32_t parentId, bool isFloorReply) const
{
    const wxString failureText = wxS("发送回帖失败");
    const wxString body =
        isFloorReply ? wxString::Format(wxS("{\"postId\":%d,\"body\":\"%s\",\"parentId\":%d}"), postId,
                                        EscapeJsonText(text), parentId)
                     : wxString::Format(wxS("{\"postId\":%d,\"body\":\"%s\"}"), postId, EscapeJsonText(text));
    const std::string bytes = ToUtf8(body);
    ApiResult result;
    for (const wxString& target : BuildPathCandidates(wxS("/api/reply"), token)) {
        for (const HeaderList& headers : BuildAuthHeaderSets(token, cookies, true)) {
            const HttpResponse response = SendRequest(wxS("POST"), target, headers, bytes);
            rapidjson::Document document;
            wxString message;
            const WriteVerdict verdict = JudgeWriteAttempt(response, document, message, failureText);
            if (verdict == WriteVerdict::Accepted) return ApiResult{true, wxString(), wxString()};
            result.message = message;
            // The reply may be on the floor already: never post it twice.
            if (verdict == WriteVerdict::Unsure) return result;
        }
    }
    if (result.message.empty()) result.message = wxS("发送回帖失败。");
    return result;
}
