// The personal centre's reads. All of them carry the session in every form
// (SendGet) and judge the shape of "data" with the operation's own message.
#include "api/api_client.h"

#include "api/body_encoding.h"
#include "api/forum_parsers.h"
#include "api/personal_parsers.h"

struct ApiClient::RecordTexts {
    const wchar_t* title;
    const wchar_t* failure;    // the operation's failure text
    const wchar_t* badFormat;  // "data" is not an object
    const wchar_t* noList;     // "data.list" is missing or not an array
};

AlbumList ApiClient::GetAlbums(const wxString& token, const wxString& cookies) const
{
    AlbumList result;
    rapidjson::Document doc;
    if (!SendGet(wxS("/api/album"), token, cookies, wxS("获取专辑列表失败"), doc, result.error)) return result;
    const JsonValue* data = JsonData(&doc);
    if (!data || !data->IsArray()) {
        result.error = wxS("专辑列表数据格式不正确。");
        return result;
    }
    result.albums = ReadEntries(*data, ReadAlbumEntry, KeepAlbumEntry);
    result.ok = true;
    return result;
}

FollowList ApiClient::GetFollowing(const wxString& token, const wxString& cookies) const
{
    FollowList result;
    rapidjson::Document doc;
    if (!SendGet(wxS("/api/follow/followed"), token, cookies, wxS("获取关注列表失败"), doc, result.error))
        return result;
    const JsonValue* data = JsonData(&doc);
    if (!data || !data->IsArray()) {
        result.error = wxS("关注列表数据格式不正确。");
        return result;
    }
    result.users = ReadEntries(*data, ReadFollowEntry, KeepFollowEntry);
    result.ok = true;
    return result;
}

PostListPage ApiClient::LoadMyPostList(const wxString& path, const wxString& token, const wxString& cookies,
                                       int32_t pageNum, int32_t pageSize, const RecordTexts& texts) const
{
    PostListPage page;
    page.title = texts.title;
    rapidjson::Document doc;
    if (!SendGet(AppendPaging(path, pageNum, pageSize), token, cookies, texts.failure, doc, page.error))
        return page;
    const JsonValue* data = JsonData(&doc);
    if (!data || !data->IsObject()) {
        page.error = texts.badFormat;
        return page;
    }
    ParsePostPage(data, pageNum, pageSize, page, texts.noList);
    return page;
}

PostListPage ApiClient::GetMyPosts(const wxString& token, const wxString& cookies, int32_t pageNum,
                                   int32_t pageSize) const
{
    static const RecordTexts texts{L"我的帖子", L"获取我的帖子失败", L"我的帖子数据格式不正确。", L"我的帖子列表缺失。"};
    return LoadMyPostList(wxS("/api/post/my"), token, cookies, pageNum, pageSize, texts);
}

PostListPage ApiClient::GetMyReplies(const wxString& token, const wxString& cookies, int32_t pageNum,
                                     int32_t pageSize) const
{
    static const RecordTexts texts{L"与我相关", L"获取与我相关失败", L"与我相关数据格式不正确。", L"与我相关列表缺失。"};
    return LoadMyPostList(wxS("/api/post/my-reply"), token, cookies, pageNum, pageSize, texts);
}

PersonalListPage ApiClient::LoadRecordList(const wxString& path, const wxString& token, const wxString& cookies,
                                           int32_t pageNum, int32_t pageSize, const wxString& what) const
{
    PersonalListPage page;
    page.pageInfo = PageInfo{pageNum, pageSize, 1, 0};
    rapidjson::Document doc;
    if (!SendGet(AppendPaging(path, pageNum, pageSize), token, cookies, wxS("获取") + what + wxS("失败"), doc,
                 page.error))
        return page;
    const JsonValue* data = JsonData(&doc);
    if (!data) {
        page.error = what + wxS("数据格式不正确。");
        return page;
    }
    return ParsePersonalList(*data, pageNum, pageSize);
}

PersonalListPage ApiClient::GetMyMessages(const wxString& token, const wxString& cookies, int32_t pageNum,
                                 int32_t pageSize) const
{
    return LoadRecordList(wxS("/api/msg/my"), token, cookies, pageNum, pageSize, wxS("我的消息"));
}

PersonalListPage ApiClient::GetMyQuestions(const wxString& token, const wxString& cookies, int32_t pageNum,
                                 int32_t pageSize) const
{
    return LoadRecordList(wxS("/api/question/mine"), token, cookies, pageNum, pageSize, wxS("我的问卷"));
}

PersonalListPage ApiClient::GetBoughtGoods(const wxString& token, const wxString& cookies, int32_t pageNum,
                                 int32_t pageSize) const
{
    return LoadRecordList(wxS("/api/post/buy-goods"), token, cookies, pageNum, pageSize, wxS("购买物品"));
}

PersonalListPage ApiClient::GetBoughtPosts(const wxString& token, const wxString& cookies, int32_t pageNum,
                                 int32_t pageSize) const
{
    return LoadRecordList(wxS("/api/post/buy-post"), token, cookies, pageNum, pageSize, wxS("购买帖子"));
}

PersonalListPage ApiClient::GetCrowdfundSummary(const wxString& token, const wxString& cookies, int32_t pageNum,
                                 int32_t pageSize) const
{
    return LoadRecordList(wxS("/api/crowdfund/order/my-channel"), token, cookies, pageNum, pageSize, wxS("众筹汇总"));
}

PersonalListPage ApiClient::GetAttachmentSales(const wxString& token, const wxString& cookies, int32_t pageNum,
                                 int32_t pageSize) const
{
    return LoadRecordList(wxS("/api/transaction/sale-attachment"), token, cookies, pageNum, pageSize, wxS("附件收费记录"));
}

PersonalListPage ApiClient::GetSoldGoods(const wxString& token, const wxString& cookies, int32_t pageNum,
                                 int32_t pageSize) const
{
    return LoadRecordList(wxS("/api/post/sale-goods"), token, cookies, pageNum, pageSize, wxS("售出物品"));
}

PersonalListPage ApiClient::GetDiamondBill(const wxString& token, const wxString& cookies, int32_t pageNum,
                                 int32_t pageSize) const
{
    return LoadRecordList(wxS("/api/bill/my/zuanshi"), token, cookies, pageNum, pageSize, wxS("钻石明细"));
}


ApiClient::IntResult ApiClient::LoadCount(const wxString& path, const wxString& token, const wxString& cookies,
                                          const wxString& failure, const wxString& badFormat) const
{
    IntResult result;
    rapidjson::Document doc;
    if (!SendGet(path, token, cookies, failure, doc, result.error)) return result;
    if (const std::optional<int32_t> value = ReadCount(JsonData(&doc))) {
        result.value = *value;
        result.ok = true;
    } else {
        result.error = badFormat;
    }
    return result;
}

ApiClient::IntResult ApiClient::GetCoinCount(const wxString& token, const wxString& cookies, int32_t userId) const
{
    return LoadCount(wxS("/api/user/") + PathNumber(userId) + wxS("/lanyin"), token, cookies,
                     wxS("获取岚音币数量失败"), wxS("岚音币数量数据格式不正确。"));
}

ApiClient::IntResult ApiClient::GetDiamondCount(const wxString& token, const wxString& cookies,
                                                int32_t userId) const
{
    return LoadCount(wxS("/api/user/") + PathNumber(userId) + wxS("/zuanshi"), token, cookies,
                     wxS("获取钻石数量失败"), wxS("钻石数量数据格式不正确。"));
}
