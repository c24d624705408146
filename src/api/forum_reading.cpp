// The forum's reading operations. Each sends its request, judges the
// envelope, checks the shape of "data" step by step with its own message,
// and keeps only the entries that pass their record's keep rule.
#include "api/api_client.h"

#include "api/auth_variants.h"
#include "api/body_encoding.h"
#include "api/envelope.h"
#include "api/forum_parsers.h"

struct ApiClient::ListTexts {
    const wchar_t* title;
    const wchar_t* failure;    // the operation's failure text
    const wchar_t* badFormat;  // "data" is not an object
    const wchar_t* noList;     // "data.list" is missing or not an array
};

namespace {

PostListPage StartPage(const wxString& title, int32_t pageNum, int32_t pageSize)
{
    PostListPage page;
    page.title = title;
    page.pageInfo = PageInfo{pageNum, pageSize, 1, 0};
    return page;
}

PostDetailResult ReadDetail(bool answered, const rapidjson::Document& doc, const wxString& message,
                            bool manage)
{
    PostDetailResult result;
    if (!answered) {
        result.error = message;
        return result;
    }
    const JsonValue* data = JsonData(&doc);
    if (!data || !data->IsObject()) {
        result.error = manage ? wxS("管理帖子详情数据格式不正确。") : wxS("帖子详情数据格式不正确。");
        return result;
    }
    result.detail = ReadPostDetail(*data);
    if (result.detail.id == 0) {
        result.error = manage ? wxS("管理帖子详情缺少帖子编号。") : wxS("帖子详情缺少帖子编号。");
        return result;
    }
    result.ok = true;
    return result;
}

PostDetailResult SessionDetail(const ApiClient& client, const wxString& path, const wxString& token,
                               const wxString& cookies, bool manage)
{
    rapidjson::Document doc;
    wxString message;
    const bool answered = client.SendGet(path, token, cookies,
                                         manage ? wxS("获取管理帖子详情失败") : wxS("获取帖子详情失败"),
                                         doc, message);
    return ReadDetail(answered, doc, message, manage);
}

}  // namespace

wxString ApiClient::AppendPaging(const wxString& path, int32_t pageNum, int32_t pageSize)
{
    return path + (path.Contains(wxS("?")) ? wxS("&") : wxS("?")) + wxS("pageNum=") + PathNumber(pageNum) +
           wxS("&pageSize=") + PathNumber(pageSize);
}

void ApiClient::ParsePostPage(const rapidjson::Value* holder, int32_t pageNum, int32_t pageSize,
                              PostListPage& page, const wxString& missingListText)
{
    // A holder that is not an object has no list either.
    FillPostListPage(holder, pageNum, pageSize, page, missingListText, missingListText,
                     ParsePostSummaryLoose);
}

bool ApiClient::PlainGet(const wxString& path, const wxString& failureText, rapidjson::Document& document,
                         wxString& message) const
{
    const HttpResponse response =
        SendRequest(wxS("GET"), path, {{wxS("Accept"), wxS("application/json")}}, std::string());
    return EvaluateResponse(response, document, message, failureText);
}

PostListPage ApiClient::LoadPostList(const wxString& path, int32_t pageNum, int32_t pageSize,
                                     const ListTexts& texts) const
{
    PostListPage page = StartPage(texts.title, pageNum, pageSize);
    rapidjson::Document doc;
    if (!PlainGet(path, texts.failure, doc, page.error)) return page;
    FillPostListPage(JsonData(&doc), pageNum, pageSize, page, texts.badFormat, texts.noList);
    return page;
}

PostListPage ApiClient::GetHotPosts(int32_t pageNum, int32_t pageSize) const
{
    static const ListTexts texts{L"热门帖子", L"获取热门帖子失败", L"热门帖子数据格式不正确。", L"热门帖子列表缺失。"};
    return LoadPostList(AppendPaging(wxS("/api/post/hot"), pageNum, pageSize), pageNum, pageSize, texts);
}

PostListPage ApiClient::GetNewPosts(int32_t pageNum, int32_t pageSize) const
{
    static const ListTexts texts{L"最新话题", L"获取最新话题失败", L"最新话题数据格式不正确。", L"最新话题列表缺失。"};
    return LoadPostList(AppendPaging(wxS("/api/post/new"), pageNum, pageSize), pageNum, pageSize, texts);
}

PostListPage ApiClient::GetNewReplies(int32_t pageNum, int32_t pageSize) const
{
    static const ListTexts texts{L"最新回复", L"获取最新回复失败", L"最新回复数据格式不正确。", L"最新回复列表缺失。"};
    return LoadPostList(AppendPaging(wxS("/api/post/new-reply"), pageNum, pageSize), pageNum, pageSize,
                        texts);
}

PostListPage ApiClient::SearchPosts(const wxString& keyword, int32_t pageNum, int32_t pageSize) const
{
    static const ListTexts texts{L"搜索结果", L"搜索帖子失败", L"搜索结果数据格式不正确。", L"搜索结果列表缺失。"};
    const wxString path = AppendPaging(wxS("/api/post/search?keyword=") + UrlEncode(keyword), pageNum, pageSize);
    return LoadPostList(path, pageNum, pageSize, texts);
}

PostListPage ApiClient::GetSectionPosts(int32_t sectionId, int32_t pageNum, int32_t pageSize) const
{
    PostListPage page = StartPage(wxString(), pageNum, pageSize);
    page.sectionId = sectionId;
    rapidjson::Document doc;
    const wxString path = AppendPaging(wxS("/api/section/") + PathNumber(sectionId), pageNum, pageSize);
    if (!PlainGet(path, wxS("获取帖子列表失败"), doc, page.error)) return page;
    const JsonValue* data = JsonData(&doc);
    if (!data || !data->IsObject()) {
        page.error = wxS("帖子列表数据格式不正确。");
        return page;
    }
    page.sectionId = JsonInt(data, "id", sectionId);
    page.title = JsonText(data, "name");
    FillPostListPage(JsonMember(data, "postPage"), pageNum, pageSize, page, wxS("帖子分页数据格式不正确。"),
                     wxS("帖子列表缺失。"));
    return page;
}

SectionList ApiClient::GetSections() const
{
    SectionList list;
    rapidjson::Document doc;
    if (!PlainGet(wxS("/api/section"), wxS("获取版块失败"), doc, list.error)) return list;
    const JsonValue* data = JsonData(&doc);
    if (!data || !data->IsArray()) {
        list.error = wxS("版块数据格式不正确。");
        return list;
    }
    list.sections = ReadEntries(*data, ReadSectionInfo, KeepSectionInfo);
    list.ok = true;
    return list;
}

ReplyPage ApiClient::GetReplies(int32_t postId, int32_t pageNum, int32_t pageSize) const
{
    ReplyPage page;
    page.postId = postId;
    page.pageInfo = PageInfo{pageNum, pageSize, 1, 0};
    rapidjson::Document doc;
    const wxString path = AppendPaging(wxS("/api/reply?postId=") + PathNumber(postId), pageNum, pageSize);
    if (!PlainGet(path, wxS("获取回帖列表失败"), doc, page.error)) return page;
    FillReplyPage(JsonData(&doc), pageNum, pageSize, page);
    return page;
}

PostDetailResult ApiClient::GetPost(int32_t postId) const
{
    rapidjson::Document doc;
    wxString message;
    const bool answered = PlainGet(wxS("/api/post/") + PathNumber(postId), wxS("获取帖子详情失败"), doc, message);
    return ReadDetail(answered, doc, message, false);
}

PostDetailResult ApiClient::GetPostWithSession(int32_t postId, const wxString& token,
                                               const wxString& cookies) const
{
    return SessionDetail(*this, wxS("/api/post/") + PathNumber(postId), token, cookies, false);
}

PostDetailResult ApiClient::GetManagedPost(int32_t postId, const wxString& token,
                                           const wxString& cookies) const
{
    return SessionDetail(*this, wxS("/api/post/manage/") + PathNumber(postId), token, cookies, true);
}

ManagerCheck ApiClient::CheckSectionManager(const wxString& token, const wxString& cookies,
                                            int32_t sectionId) const
{
    const wxString failure = wxS("获取管理员权限失败");
    const wxString path = wxS("/api/post/manager?sectionId=") + PathNumber(sectionId);
    ManagerCheck check;
    wxString last;
    for (const wxString& target : BuildPathCandidates(path, token)) {
        for (const HeaderList& headers : BuildAuthHeaderSets(token, cookies, false)) {
            const HttpResponse response = SendRequest(wxS("GET"), target, headers, std::string());
            rapidjson::Document doc;
            if (EvaluateResponse(response, doc, last, failure)) {
                check.answered = true;
                check.isManager = true;
                return check;
            }
            // Not being a manager comes as a failure code of its own.
            const int code = JsonInt(&doc, "code", -1);
            if (code == 1 || code == -101) {
                check.answered = true;
                return check;
            }
            if (response.unreachable) {
                check.error = last;
                return check;
            }
        }
    }
    check.error = last.empty() ? failure + wxS("。") : last;
    return check;
}
