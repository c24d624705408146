// The personal centre's reads against a real loopback server: the record
// lines with their kind rules and texts, every shape of a record list, the
// coin counts, albums, follows and the user's own post lists.
#include <gtest/gtest.h>

#include <functional>

#include "api/api_client.h"
#include "client_fixture.h"

using apitest::ClientFor;
using apitest::U8;

namespace {

const wxString kToken = wxS("tok");
const wxString kCookies = wxS("forum_session=abc");

struct RecordOp {
    std::string path;  // without the paging query
    std::function<PersonalListPage(const ApiClient&)> call;  // page 2, size 20
    const wchar_t* what;
};

std::vector<RecordOp> RecordOps()
{
    auto op = [](std::string path, PersonalListPage (ApiClient::*fn)(const wxString&, const wxString&, int32_t,
                                                                     int32_t) const,
                 const wchar_t* what) {
        return RecordOp{path, [fn](const ApiClient& c) { return (c.*fn)(kToken, kCookies, 2, 20); }, what};
    };
    return {
        op("/api/msg/my", &ApiClient::GetMyMessages, L"我的消息"),
        op("/api/question/mine", &ApiClient::GetMyQuestions, L"我的问卷"),
        op("/api/post/buy-goods", &ApiClient::GetBoughtGoods, L"购买物品"),
        op("/api/post/buy-post", &ApiClient::GetBoughtPosts, L"购买帖子"),
        op("/api/crowdfund/order/my-channel", &ApiClient::GetCrowdfundSummary, L"众筹汇总"),
        op("/api/transaction/sale-attachment", &ApiClient::GetAttachmentSales, L"附件收费记录"),
        op("/api/post/sale-goods", &ApiClient::GetSoldGoods, L"售出物品"),
        op("/api/bill/my/zuanshi", &ApiClient::GetDiamondBill, L"钻石明细"),
    };
}

struct LineCase {
    const char* json;
    int32_t kind, id, objectId;
    const wchar_t* title;
    const wchar_t* summary;
    const wchar_t* details;
};

// One entry per rule of the kind table, then the late correction and the
// title fallbacks.
const LineCase kLines[] = {
    {R"({"id":1,"title":"帖","replyCount":2,"level":"LV1","userName":"甲"})", 1, 1, 0, L"帖", L"帖 | 甲 | LV1",
     L"id：1\r\ntitle：帖\r\nreplyCount：2\r\nlevel：LV1\r\nuserName：甲"},
    {R"({"viewCount":null,"objectId":"9"})", 1, 0, 0, L"记录", L"记录", L"viewCount：null\r\nobjectId：9"},
    {R"({"id":3,"userName":"乙","level":"LV3","amount":1,"typeString":"T"})", 2, 3, 0, L"乙", L"乙 | 乙 | LV3 | T",
     L"id：3\r\nuserName：乙\r\nlevel：LV3\r\namount：1\r\ntypeString：T"},
    {R"({"id":7,"amount":5,"typeString":"签到"})", 5, 7, 0, L"签到", L"签到 | 签到",
     L"id：7\r\namount：5\r\ntypeString：签到"},
    {R"({"id":8,"objectId":812,"objectTitle":"曲谱","payNum":1.5,"createTime":"2026-11-03"})", 6, 8, 812, L"曲谱",
     L"曲谱 | 2026-11-03", L"id：8\r\nobjectId：812\r\nobjectTitle：曲谱\r\npayNum：1.50\r\ncreateTime：2026-11-03"},
    {R"({"id":9,"questionId":101,"title":7,"name":"问卷"})", 7, 9, 0, L"问卷", L"问卷",
     L"id：9\r\nquestionId：101\r\ntitle：7\r\nname：问卷"},
    {R"({"channelName":"众筹","reward":0})", 7, 0, 0, L"记录", L"记录", L"channelName：众筹\r\nreward：0"},
    {R"({"id":10,"goodsName":"曲谱一本","list":[1,2]})", 8, 10, 0, L"曲谱一本", L"曲谱一本",
     L"id：10\r\ngoodsName：曲谱一本\r\nlist：数组(2)"},
    {R"({"id":11,"name":"专辑"})", 3, 11, 0, L"专辑", L"专辑", L"id：11\r\nname：专辑"},
    {R"({"id":12,"name":"名","title":"题","postId":5})", 1, 12, 5, L"题", L"题", L"id：12\r\nname：名\r\ntitle：题\r\npostId：5"},
    {R"({"id":13,"name":"名","title":"题"})", 0, 13, 0, L"题", L"题", L"id：13\r\nname：名\r\ntitle：题"},
    {R"({"objectId":12,"postId":3})", 1, 0, 12, L"记录", L"记录", L"objectId：12\r\npostId：3"},
    {R"({"postId":3})", 1, 0, 3, L"记录", L"记录", L"postId：3"},
    // An objectId without "objectTitle" or "postId" names no post line.
    {R"({"id":14,"objectId":6,"flag":true})", 0, 14, 6, L"记录 #14", L"记录 #14", L"id：14\r\nobjectId：6\r\nflag：true"},
    {R"({"content":"你好","createTime":"昨天"})", 0, 0, 0, L"记录", L"记录 | 昨天", L"content：你好\r\ncreateTime：昨天"},
    {R"({})", 0, 0, 0, L"记录", L"记录", L""},
    // Broken UTF-8 reads with replacement characters in names as in values.
    {"{\"n\xffm\":\"v\xfe\"}", 0, 0, 0, L"记录", L"记录", L"n\uFFFDm：v\uFFFD"},
};

}  // namespace

TEST(PersonalRecords, EachEntryGetsItsKindNumbersAndTexts)
{
    std::string array = "[";
    for (const LineCase& c : kLines) array += std::string(array.size() > 1 ? "," : "") + c.json;
    array += "]";
    qtest::HttpTestServer server;
    server.Answer("GET", "/api/msg/my", qtest::Ok(array));
    const PersonalListPage page = ClientFor(server).GetMyMessages(kToken, kCookies, 1, 20);
    ASSERT_TRUE(page.ok) << U8(page.error);
    ASSERT_EQ(page.items.size(), std::size(kLines));
    for (size_t i = 0; i < std::size(kLines); ++i) {
        const LineCase& c = kLines[i];
        const RecordLine& line = page.items[i];
        SCOPED_TRACE(c.json);
        EXPECT_EQ(line.kind, c.kind);
        EXPECT_EQ(line.id, c.id);
        EXPECT_EQ(line.objectId, c.objectId);
        EXPECT_EQ(U8(line.title), U8(c.title));
        EXPECT_EQ(U8(line.summary), U8(c.summary));
        EXPECT_EQ(U8(line.details), U8(c.details));
    }
    EXPECT_EQ(page.pageInfo.total, static_cast<int32_t>(std::size(kLines)));
}

TEST(PersonalRecords, EveryListReadsEveryShapeOfData)
{
    for (const RecordOp& op : RecordOps()) {
        SCOPED_TRACE(op.path);
        const wxString what(op.what);
        qtest::HttpTestServer server;
        const ApiClient client = ClientFor(server);
        const std::string target = op.path + "?pageNum=2&pageSize=20";
        auto read = [&](const qtest::ScriptedAnswer& answer) {
            server.ClearRequests();
            // By path, so that every session form gets the same answer.
            server.Answer("GET", op.path, answer);
            return op.call(client);
        };

        // Array: scalars become lines of their text; paging as requested.
        PersonalListPage page = read(qtest::Ok(R"([1,"x",{"id":4,"name":"n"}])"));
        ASSERT_TRUE(page.ok) << U8(page.error);
        ASSERT_EQ(page.items.size(), 3u);
        for (int i = 0; i < 2; ++i) {
            const RecordLine& line = page.items[static_cast<size_t>(i)];
            const wxString text = i == 0 ? wxS("1") : wxS("x");
            EXPECT_EQ(line.kind, 0);
            EXPECT_EQ(line.title, text);
            EXPECT_EQ(line.summary, text);
            EXPECT_EQ(line.details, text);
        }
        EXPECT_EQ(page.items[2].kind, 3);
        EXPECT_EQ(page.pageInfo.pageNum, 2);
        EXPECT_EQ(page.pageInfo.pages, 1);
        EXPECT_EQ(page.pageInfo.total, 3);
        // The session travels in the first attempt.
        ASSERT_EQ(server.RequestCount(), 1u);
        EXPECT_EQ(server.Requests()[0].target, target);
        EXPECT_EQ(server.Requests()[0].Header("Authorization"), "tok");
        EXPECT_EQ(server.Requests()[0].Header("Cookie"), "forum_session=abc");

        // A paged object, with and without its paging members.
        page = read(qtest::Ok(R"({"pageNum":3,"pageSize":10,"pages":4,"total":31,"list":[{"id":5}]})"));
        ASSERT_TRUE(page.ok);
        EXPECT_EQ(page.pageInfo.pageNum, 3);
        EXPECT_EQ(page.pageInfo.pageSize, 10);
        EXPECT_EQ(page.pageInfo.pages, 4);
        EXPECT_EQ(page.pageInfo.total, 31);
        ASSERT_EQ(page.items.size(), 1u);
        EXPECT_EQ(page.items[0].title, wxS("记录 #5"));
        page = read(qtest::Ok(R"({"list":[{"id":5},null]})"));
        EXPECT_EQ(page.pageInfo.pageNum, 2);
        EXPECT_EQ(page.pageInfo.pageSize, 20);
        EXPECT_EQ(page.pageInfo.total, 2);
        ASSERT_EQ(page.items.size(), 2u);
        EXPECT_EQ(page.items[1].summary, wxS("null"));

        // An object without a list is the one line.
        page = read(qtest::Ok(R"({"id":6,"title":"唯一","list":"no"})"));
        ASSERT_TRUE(page.ok);
        ASSERT_EQ(page.items.size(), 1u);
        EXPECT_EQ(page.items[0].title, wxS("唯一"));
        EXPECT_EQ(page.items[0].details, wxS("id：6\r\ntitle：唯一\r\nlist：no"));
        EXPECT_EQ(page.pageInfo.total, 1);

        // Scalars, null included.
        for (const char* scalar : {"\"文本\"", "12", "true", "null"}) {
            page = read(qtest::Ok(scalar));
            ASSERT_TRUE(page.ok) << scalar;
            ASSERT_EQ(page.items.size(), 1u);
            EXPECT_EQ(page.pageInfo.total, 1);
        }
        EXPECT_EQ(page.items[0].title, wxS("null"));

        // No data at all, and failures.
        page = read(qtest::Ok());
        EXPECT_FALSE(page.ok);
        EXPECT_EQ(page.error, what + wxS("数据格式不正确。"));
        EXPECT_TRUE(page.items.empty());
        page = read(qtest::Fail(7));
        EXPECT_FALSE(page.ok);
        EXPECT_EQ(page.error, wxS("获取") + what + wxS("失败（code=7）"));
        page = read(qtest::Fail(-100, "未登录"));
        EXPECT_EQ(page.error, wxS("未登录"));
        EXPECT_EQ(page.pageInfo.pageNum, 2);
    }
}

TEST(PersonalRecords, CountsTakeIntegersOnly)
{
    struct Case {
        const char* data;  // "" leaves data out
        bool ok;
        int32_t value;
    };
    const Case cases[] = {
        {"42", true, 42},
        {"-3", true, -3},
        {"4294967301", true, 5},  // low 32 bits
        {R"({"balance":7})", true, 7},
        {R"({"count":5})", true, 5},
        {R"({"total":6})", true, 6},
        {R"({"value":8})", true, 8},
        {R"({"num":9})", true, 9},
        {R"({"balance":1.5,"count":5})", true, 5},
        {R"({"num":1,"balance":2})", true, 2},
        {R"({"count":18446744073709551615})", true, -1},
        {R"({"balance":1.5})", false, 0},
        {R"({"count":"5"})", false, 0},
        {"1.5", false, 0},
        {"\"42\"", false, 0},
        {"18446744073709551615", false, 0},
        {"[42]", false, 0},
        {"null", false, 0},
        {"", false, 0},
    };
    struct CountOp {
        const char* path;
        ApiClient::IntResult (ApiClient::*fn)(const wxString&, const wxString&, int32_t) const;
        const wchar_t* what;
    };
    for (const CountOp& op : {CountOp{"/api/user/57/lanyin", &ApiClient::GetCoinCount, L"岚音币数量"},
                              CountOp{"/api/user/57/zuanshi", &ApiClient::GetDiamondCount, L"钻石数量"}}) {
        qtest::HttpTestServer server;
        const ApiClient client = ClientFor(server);
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(op.path) + " " + c.data);
            server.Answer("GET", op.path, qtest::Ok(c.data));
            const ApiClient::IntResult result = (client.*op.fn)(kToken, kCookies, 57);
            EXPECT_EQ(result.ok, c.ok);
            EXPECT_EQ(result.value, c.value);
            EXPECT_EQ(result.error, c.ok ? wxString() : wxString(op.what) + wxS("数据格式不正确。"));
        }
        server.Answer("GET", op.path, qtest::Fail(3));
        const ApiClient::IntResult failed = (client.*op.fn)(kToken, kCookies, 57);
        EXPECT_FALSE(failed.ok);
        EXPECT_EQ(failed.error, wxS("获取") + wxString(op.what) + wxS("失败（code=3）"));
    }
}

TEST(PersonalRecords, AlbumsAndFollowsKeepNamedEntries)
{
    qtest::HttpTestServer server;
    const ApiClient client = ClientFor(server);
    server.Answer("GET", "/api/album",
                  qtest::Ok(R"([{"id":1,"name":"钢琴"},{"id":2,"title":"只有标题"},{"id":0,"name":""},
                               {"id":0},{"id":0,"name":"无编号"},"串",{"id":"3","name":7}])"));
    const AlbumList albums = client.GetAlbums(kToken, kCookies);
    ASSERT_TRUE(albums.ok) << U8(albums.error);
    ASSERT_EQ(albums.albums.size(), 3u);
    EXPECT_EQ(albums.albums[1].id, 2);
    EXPECT_EQ(albums.albums[1].name, wxS("只有标题"));
    EXPECT_EQ(albums.albums[2].name, wxS("无编号"));

    server.Answer("GET", "/api/follow/followed",
                  qtest::Ok(R"([{"id":2,"userName":"琴师","level":"LV5","avatar":"http://a/b.png"},
                               {"id":3,"name":"阿澄"},{"id":0,"level":"LV1"},5])"));
    const FollowList users = client.GetFollowing(kToken, kCookies);
    ASSERT_TRUE(users.ok) << U8(users.error);
    ASSERT_EQ(users.users.size(), 2u);
    EXPECT_EQ(users.users[0].name, wxS("琴师"));
    EXPECT_EQ(users.users[0].level, wxS("LV5"));
    EXPECT_EQ(users.users[0].avatar, wxS("http://a/b.png"));
    EXPECT_EQ(users.users[1].name, wxS("阿澄"));

    server.Answer("GET", "/api/album", qtest::Ok(R"({"list":[]})"));
    EXPECT_EQ(client.GetAlbums(kToken, kCookies).error, wxS("专辑列表数据格式不正确。"));
    server.Answer("GET", "/api/follow/followed", qtest::Ok());
    EXPECT_EQ(client.GetFollowing(kToken, kCookies).error, wxS("关注列表数据格式不正确。"));
    server.Answer("GET", "/api/follow/followed", qtest::Fail(2));
    EXPECT_EQ(client.GetFollowing(kToken, kCookies).error, wxS("获取关注列表失败（code=2）"));
}

TEST(PersonalRecords, OwnPostListsReadLooseEntriesAndTheirMissingListText)
{
    struct PostOp {
        const char* path;
        PostListPage (ApiClient::*fn)(const wxString&, const wxString&, int32_t, int32_t) const;
        const wchar_t* title;
    };
    for (const PostOp& op : {PostOp{"/api/post/my", &ApiClient::GetMyPosts, L"我的帖子"},
                             PostOp{"/api/post/my-reply", &ApiClient::GetMyReplies, L"与我相关"}}) {
        SCOPED_TRACE(op.path);
        const wxString title(op.title);
        qtest::HttpTestServer server;
        const ApiClient client = ClientFor(server);
        const std::string target = std::string(op.path) + "?pageNum=3&pageSize=20";
        server.Answer("GET", op.path,
                      qtest::Ok(R"({"total":57,"pages":3,"pageNum":3,"list":[
                          {"id":5,"objectTitle":"相关帖","name":"琴师","replyCount":2,"viewCount":9}]})"));
        PostListPage page = (client.*op.fn)(kToken, kCookies, 3, 20);
        ASSERT_TRUE(page.ok) << U8(page.error);
        EXPECT_EQ(server.Requests().at(0).target, target);
        EXPECT_EQ(page.title, title);
        EXPECT_EQ(page.pageInfo.total, 57);
        ASSERT_EQ(page.items.size(), 1u);
        EXPECT_EQ(page.items[0].title, wxS("相关帖"));
        EXPECT_EQ(page.items[0].userName, wxS("琴师"));

        auto failure = [&](const qtest::ScriptedAnswer& answer) {
            server.Answer("GET", op.path, answer);
            page = (client.*op.fn)(kToken, kCookies, 3, 20);
            EXPECT_FALSE(page.ok);
            // Until an answer is read the page is the first one.
            EXPECT_EQ(page.pageInfo.pageNum, 1);
            EXPECT_EQ(page.pageInfo.pageSize, 20);
            return page.error;
        };
        EXPECT_EQ(failure(qtest::Ok("[]")), title + wxS("数据格式不正确。"));
        EXPECT_EQ(failure(qtest::Ok(R"({"total":3})")), title + wxS("列表缺失。"));
        EXPECT_EQ(failure(qtest::Fail(9)), wxS("获取") + title + wxS("失败（code=9）"));
    }
}
