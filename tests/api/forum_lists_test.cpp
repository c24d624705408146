// Post lists, sections and replies read from a real loopback server.
#include <gtest/gtest.h>

#include <functional>

#include "api/api_client.h"
#include "client_fixture.h"

using apitest::ClientFor;
using apitest::U8;

namespace {

struct ListOp {
    const char* name;
    std::string path;  // the target for page 2, size 20
    std::function<PostListPage(const ApiClient&)> call;
    const wchar_t* title;
    const wchar_t* failure;
    const wchar_t* badFormat;
    const wchar_t* noList;
};

std::vector<ListOp> FrontPageLists()
{
    return {
        {"hot", "/api/post/hot?pageNum=2&pageSize=20", [](const ApiClient& c) { return c.GetHotPosts(2, 20); },
         L"热门帖子", L"获取热门帖子失败", L"热门帖子数据格式不正确。", L"热门帖子列表缺失。"},
        {"new", "/api/post/new?pageNum=2&pageSize=20", [](const ApiClient& c) { return c.GetNewPosts(2, 20); },
         L"最新话题", L"获取最新话题失败", L"最新话题数据格式不正确。", L"最新话题列表缺失。"},
        {"new-reply", "/api/post/new-reply?pageNum=2&pageSize=20",
         [](const ApiClient& c) { return c.GetNewReplies(2, 20); }, L"最新回复", L"获取最新回复失败",
         L"最新回复数据格式不正确。", L"最新回复列表缺失。"},
        {"search", "/api/post/search?keyword=a%20b%2F%E4%B8%AD&pageNum=2&pageSize=20",
         [](const ApiClient& c) { return c.SearchPosts(wxS("a b/中"), 2, 20); }, L"搜索结果", L"搜索帖子失败",
         L"搜索结果数据格式不正确。", L"搜索结果列表缺失。"},
    };
}

const char* kEntries = R"([
    {"id":11,"title":"置顶帖","userName":"甲","createTime":"2026-12-01 08:00:00","createTimeCn":"12月1日",
     "replyCount":3,"viewCount":40,"top":1,"essence":0},
    {"id":12,"title":"布尔标志","userName":"乙","createTime":"2026-12-02","top":true,"essence":true},
    {"id":13,"title":"时间不是文本","createTime":"昨天","createTimeCn":null,"replyCount":2.9},
    {"id":0,"title":"没有编号"},
    {"id":"14","title":"编号是文本"},
    {"id":15,"title":""},
    "不是对象",
    {"id":16,"title":"最后一个","extra":{"ignored":[1,2]}}
])";

// Anonymous reads are one GET carrying only Accept: application/json.
void ExpectOnePlainGet(const qtest::HttpTestServer& server, const std::string& target)
{
    ASSERT_EQ(server.RequestCount(), 1u);
    const auto req = server.Requests().at(0);
    EXPECT_EQ(req.method, "GET");
    EXPECT_EQ(req.target, target);
    EXPECT_EQ(req.HeaderNames(), (std::vector<std::string>{"Host", "User-Agent", "Accept"}));
    EXPECT_EQ(req.Header("Accept"), "application/json");
    EXPECT_EQ(req.body, "");
}

TEST(PostLists, EachListSendsItsPlainGetAndReadsItsEntries)
{
    for (const ListOp& op : FrontPageLists()) {
        SCOPED_TRACE(op.name);
        qtest::HttpTestServer server;
        server.Answer("GET", op.path,
                      qtest::Ok(std::string(R"({"pageNum":2,"pageSize":20,"pages":7,"total":130,"list":)") +
                                kEntries + "}"));
        const PostListPage page = op.call(ClientFor(server));
        ASSERT_TRUE(page.ok) << U8(page.error);
        EXPECT_EQ(page.title, wxString(op.title));
        EXPECT_EQ(page.sectionId, 0);
        EXPECT_EQ(page.error, wxS(""));
        EXPECT_EQ(page.pageInfo.pageNum, 2);
        EXPECT_EQ(page.pageInfo.pages, 7);
        EXPECT_EQ(page.pageInfo.total, 130);
        ASSERT_EQ(page.items.size(), 4u);
        const PostSummary& first = page.items[0];
        EXPECT_EQ(first.id, 11);
        EXPECT_EQ(first.title, wxS("置顶帖"));
        EXPECT_EQ(first.userName, wxS("甲"));
        EXPECT_EQ(first.createTime, wxS("12月1日"));
        EXPECT_EQ(first.replyCount, 3);
        EXPECT_EQ(first.viewCount, 40);
        EXPECT_TRUE(first.top);
        EXPECT_FALSE(first.essence);
        // In a list entry a JSON true is not a set flag.
        EXPECT_FALSE(page.items[1].top);
        EXPECT_FALSE(page.items[1].essence);
        EXPECT_EQ(page.items[1].createTime, wxS("2026-12-02"));
        EXPECT_EQ(page.items[2].createTime, wxS("昨天"));
        EXPECT_EQ(page.items[2].replyCount, 2);
        EXPECT_EQ(page.items[3].id, 16);

        ExpectOnePlainGet(server, op.path);
    }
}

TEST(PostLists, ShapeAndEnvelopeFailuresKeepTheRequestedPage)
{
    for (const ListOp& op : FrontPageLists()) {
        SCOPED_TRACE(op.name);
        qtest::HttpTestServer server;
        const ApiClient client = ClientFor(server);
        auto expectFailure = [&](const qtest::ScriptedAnswer& answer, const wxString& message) {
            server.Answer("GET", op.path, answer);
            const PostListPage page = op.call(client);
            EXPECT_FALSE(page.ok);
            EXPECT_EQ(page.error, message);
            EXPECT_EQ(page.title, wxString(op.title));
            EXPECT_EQ(page.pageInfo.pageNum, 2);
            EXPECT_EQ(page.pageInfo.pageSize, 20);
            EXPECT_EQ(page.pageInfo.pages, 1);
            EXPECT_EQ(page.pageInfo.total, 0);
            EXPECT_TRUE(page.items.empty());
        };
        expectFailure(qtest::Ok("[]"), op.badFormat);
        expectFailure(qtest::Ok(), op.badFormat);
        expectFailure(qtest::Ok(R"({"pages":9,"list":{}})"), op.noList);
        expectFailure(qtest::Ok(R"({"pages":9})"), op.noList);
        expectFailure(qtest::Fail(5), wxString(op.failure) + wxS("（code=5）"));
        expectFailure(qtest::Fail(5, "服务器忙"), wxS("服务器忙"));
        expectFailure(qtest::JsonAnswer("<html>", 502), wxS("JSON 解析失败：Invalid value."));
    }
}

TEST(PostLists, EmptyListAndMissingPagingUseTheDefaults)
{
    qtest::HttpTestServer server;
    server.Answer("GET", "/api/post/hot", qtest::Ok(R"({"list":[],"total":"5"})"));
    const PostListPage page = ClientFor(server).GetHotPosts(3, 20);
    ASSERT_TRUE(page.ok);
    EXPECT_TRUE(page.items.empty());
    EXPECT_EQ(page.pageInfo.pageNum, 3);
    EXPECT_EQ(page.pageInfo.pageSize, 20);
    EXPECT_EQ(page.pageInfo.pages, 1);
    EXPECT_EQ(page.pageInfo.total, 0);

    ApiClient gone(ServerEndpoint{wxS("127.0.0.1"), qtest::UnusedLoopbackPort()});
    const PostListPage failed = gone.GetNewPosts(4, 20);
    EXPECT_FALSE(failed.ok);
    EXPECT_EQ(failed.error, wxS("连接服务器失败。"));
    EXPECT_EQ(failed.pageInfo.pageNum, 4);
}

TEST(SectionPosts, ReadsSectionThenPostPageStepByStep)
{
    qtest::HttpTestServer server;
    const ApiClient client = ClientFor(server);
    const std::string path = "/api/section/-3?pageNum=1&pageSize=20";

    server.Answer("GET", path, qtest::Ok(R"({"id":8,"name":"技术交流","postPage":{"pageNum":1,"pages":2,
        "total":21,"list":[{"id":5,"title":"一","top":1},{"id":6,"title":""}]}})"));
    PostListPage page = client.GetSectionPosts(-3, 1, 20);
    ASSERT_TRUE(page.ok) << U8(page.error);
    EXPECT_EQ(page.sectionId, 8);
    EXPECT_EQ(page.title, wxS("技术交流"));
    EXPECT_EQ(page.pageInfo.pages, 2);
    ASSERT_EQ(page.items.size(), 1u);
    EXPECT_TRUE(page.items[0].top);
    ExpectOnePlainGet(server, path);

    // The section's id and name survive a later failure.
    server.Answer("GET", path, qtest::Ok(R"({"name":"音乐","postPage":[]})"));
    page = client.GetSectionPosts(-3, 1, 20);
    EXPECT_FALSE(page.ok);
    EXPECT_EQ(page.error, wxS("帖子分页数据格式不正确。"));
    EXPECT_EQ(page.sectionId, -3);
    EXPECT_EQ(page.title, wxS("音乐"));

    server.Answer("GET", path, qtest::Ok(R"({"id":9,"name":"音乐","postPage":{"pages":4}})"));
    page = client.GetSectionPosts(-3, 1, 20);
    EXPECT_EQ(page.error, wxS("帖子列表缺失。"));
    EXPECT_EQ(page.sectionId, 9);
    EXPECT_EQ(page.pageInfo.pages, 1);

    server.Answer("GET", path, qtest::Ok(R"("文本")"));
    page = client.GetSectionPosts(-3, 1, 20);
    EXPECT_EQ(page.error, wxS("帖子列表数据格式不正确。"));
    EXPECT_EQ(page.title, wxS(""));

    server.Answer("GET", path, qtest::Fail(2));
    EXPECT_EQ(client.GetSectionPosts(-3, 1, 20).error, wxS("获取帖子列表失败（code=2）"));
}

TEST(Sections, KeepNamedSectionsInOrderAndNeedAnArray)
{
    qtest::HttpTestServer server;
    const ApiClient client = ClientFor(server);
    server.Answer("GET", "/api/section", qtest::Ok(R"([
        {"id":1,"name":"公告","description":"站务","allowAdmin":1,"resource":2},
        {"id":2,"name":"音乐","allowAdmin":true},
        {"id":0,"name":"无编号"},{"id":3,"name":""},7,
        {"id":4,"name":"闲聊","description":null}])"));
    const SectionList list = client.GetSections();
    ASSERT_TRUE(list.ok);
    ExpectOnePlainGet(server, "/api/section");
    ASSERT_EQ(list.sections.size(), 3u);
    EXPECT_EQ(list.sections[0].name, wxS("公告"));
    EXPECT_EQ(list.sections[0].description, wxS("站务"));
    EXPECT_TRUE(list.sections[0].allowAdmin);
    EXPECT_EQ(list.sections[0].resource, 2);
    EXPECT_FALSE(list.sections[1].allowAdmin);  // int flag: true does not count
    EXPECT_EQ(list.sections[2].id, 4);
    EXPECT_EQ(list.sections[2].description, wxS(""));

    server.Answer("GET", "/api/section", qtest::Ok(R"({"list":[]})"));
    const SectionList wrong = client.GetSections();
    EXPECT_FALSE(wrong.ok);
    EXPECT_EQ(wrong.error, wxS("版块数据格式不正确。"));
    server.Answer("GET", "/api/section", qtest::Fail(9));
    EXPECT_EQ(client.GetSections().error, wxS("获取版块失败（code=9）"));
}

TEST(Replies, KeepEveryNumberedFloorInServerOrder)
{
    qtest::HttpTestServer server;
    const ApiClient client = ClientFor(server);
    const std::string path = "/api/reply?postId=42&pageNum=2&pageSize=20";
    server.Answer("GET", path, qtest::Ok(R"({"pageNum":2,"pageSize":20,"pages":3,"total":45,"list":[
        {"id":9,"userId":7,"parentId":8,"floor":5,"parentFloor":4,"userName":"丙","body":"同意",
         "createTime":"09:00","isManager":1},
        {"id":8,"floor":4,"body":"","isManager":true},
        {"id":0,"body":"丢弃"},[],
        {"id":10,"floor":6}]})"));
    const ReplyPage page = client.GetReplies(42, 2, 20);
    ASSERT_TRUE(page.ok);
    EXPECT_EQ(page.postId, 42);
    ExpectOnePlainGet(server, path);
    EXPECT_EQ(page.pageInfo.total, 45);
    ASSERT_EQ(page.items.size(), 3u);
    const ReplyItem& r = page.items[0];
    EXPECT_EQ(r.id, 9);
    EXPECT_EQ(r.userId, 7);
    EXPECT_EQ(r.parentId, 8);
    EXPECT_EQ(r.floor, 5);
    EXPECT_EQ(r.parentFloor, 4);
    EXPECT_EQ(r.userName, wxS("丙"));
    EXPECT_EQ(r.body, wxS("同意"));
    EXPECT_EQ(r.createTime, wxS("09:00"));
    EXPECT_TRUE(r.isManager);
    EXPECT_EQ(page.items[1].body, wxS(""));
    EXPECT_FALSE(page.items[1].isManager);
    EXPECT_EQ(page.items[2].id, 10);

    // The paging group is read before the list is looked for.
    server.Answer("GET", path, qtest::Ok(R"({"pages":6,"total":101})"));
    const ReplyPage missing = client.GetReplies(42, 2, 20);
    EXPECT_FALSE(missing.ok);
    EXPECT_EQ(missing.error, wxS("回帖列表缺失。"));
    EXPECT_EQ(missing.pageInfo.pages, 6);
    EXPECT_EQ(missing.pageInfo.total, 101);

    server.Answer("GET", path, qtest::Ok("[1]"));
    EXPECT_EQ(client.GetReplies(42, 2, 20).error, wxS("回帖列表数据格式不正确。"));
    server.Answer("GET", path, qtest::Fail(3));
    EXPECT_EQ(client.GetReplies(42, 2, 20).error, wxS("获取回帖列表失败（code=3）"));
}

TEST(PagingHelpers, AppendPagingAndLooseEntries)
{
    EXPECT_EQ(ApiClient::AppendPaging(wxS("/api/user/posts"), 1, 20), wxS("/api/user/posts?pageNum=1&pageSize=20"));
    EXPECT_EQ(ApiClient::AppendPaging(wxS("/api/x?type=2"), -1, 20), wxS("/api/x?type=2&pageNum=-1&pageSize=20"));

    rapidjson::Document doc;
    doc.Parse(R"({"pageNum":3,"total":2,"list":[
        {"id":1,"objectTitle":"收藏的帖子","name":"丁"},
        {"id":2,"title":"本名","objectTitle":"别名","userName":"戊","name":"己"},
        {"id":3,"title":7,"objectTitle":"数字标题之后"},
        {"id":4,"name":"没有标题"}]})");
    PostListPage page;
    ApiClient::ParsePostPage(&doc, 1, 20, page, wxS("收藏列表缺失。"));
    ASSERT_TRUE(page.ok);
    EXPECT_EQ(page.pageInfo.pageNum, 3);
    EXPECT_EQ(page.pageInfo.pageSize, 20);
    ASSERT_EQ(page.items.size(), 3u);
    EXPECT_EQ(page.items[0].title, wxS("收藏的帖子"));
    EXPECT_EQ(page.items[0].userName, wxS("丁"));
    EXPECT_EQ(page.items[1].title, wxS("本名"));
    EXPECT_EQ(page.items[1].userName, wxS("戊"));
    EXPECT_EQ(page.items[2].title, wxS("数字标题之后"));

    rapidjson::Document none;
    none.Parse(R"({"pageNum":3,"list":null})");
    PostListPage untouched;
    untouched.pageInfo = PageInfo{5, 20, 1, 0};
    ApiClient::ParsePostPage(&none, 5, 20, untouched, wxS("收藏列表缺失。"));
    EXPECT_FALSE(untouched.ok);
    EXPECT_EQ(untouched.error, wxS("收藏列表缺失。"));
    EXPECT_EQ(untouched.pageInfo.pageNum, 5);
    ApiClient::ParsePostPage(nullptr, 5, 20, untouched, wxS("缺失"));
    EXPECT_EQ(untouched.error, wxS("缺失"));
}

}  // namespace
