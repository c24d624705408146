// The personal centre's pages without a window: every function and tab
// page fetched from a real loopback server and built into lines, the
// header counts, the empty and failed states, and which post a line opens.
#include <gtest/gtest.h>

#include "account/personal_center_state.h"
#include "api/personal_parsers.h"
#include "../api/client_fixture.h"

using apitest::ClientFor;
using apitest::U8;

namespace {

UserInfo DemoProfile()
{
    UserInfo profile;
    profile.ok = true;
    profile.id = 7;
    profile.name = wxS("小澄同学");
    profile.level = wxS("LV2");
    profile.mobile = wxS("13800000001");
    profile.point = 120;
    profile.balance = 3.5;
    return profile;
}

std::vector<std::string> Rows(const ShownPage& shown)
{
    std::vector<std::string> rows;
    for (const wxString& row : FillFor(shown).rows) rows.push_back(U8(row));
    return rows;
}

size_t Count(const qtest::HttpTestServer& server, const std::string& path)
{
    size_t n = 0;
    for (const auto& request : server.Requests()) n += request.Path() == path;
    return n;
}

struct Fixture {
    qtest::HttpTestServer server;
    ApiClient client = ClientFor(server);
    PersonalCenterState state{client, wxS("tok"), wxString()};
    Fixture() { state.SetProfile(DemoProfile()); }
};

}  // namespace

TEST(PersonalCenterPages, EveryFunctionBuildsItsLines)
{
    Fixture f;
    f.server.Answer("GET", "/api/post/my",
                    qtest::Ok(R"({"total":57,"list":[{"id":5,"title":"我的帖","userName":"小澄","replyCount":2,
                                  "viewCount":9,"createTimeCn":"11月1日"}]})"));
    f.server.Answer("GET", "/api/post/my-reply", qtest::Ok(R"({"total":0,"list":[]})"));
    f.server.Answer("GET", "/api/follow/followed",
                    qtest::Ok(R"([{"id":2,"userName":"琴师","level":"LV5","avatar":"http://a/b.png"},{"id":3,"name":"阿澄"}])"));
    f.server.Answer("GET", "/api/album", qtest::Ok(R"([{"id":3,"name":"我的收藏"}])"));
    f.server.Answer("GET", "/api/question/mine", qtest::Ok(R"({"list":[{"id":1,"questionId":9,"title":"调查"}]})"));
    f.server.Answer("GET", "/api/msg/my", qtest::Ok(R"({"list":[{"id":4,"title":"来自 阿澄","content":"欢迎"}]})"));
    f.server.Answer("GET", "/api/bill/my/zuanshi", qtest::Fail(-1, "账单服务维护中"));
    f.server.Answer("GET", "/api/crowdfund/order/my-channel", qtest::Ok("[]"));

    struct Case {
        int type;
        std::vector<std::string> rows;
        std::string firstDetail;
        std::string announcement;
    };
    const Case cases[] = {
        {kFuncMyPosts, {"我的帖 | 小澄 | 2回复 9浏览"}, "标题：我的帖\r\n作者：小澄\r\n回复数：2\r\n浏览数：9\r\n时间：11月1日",
         "我的帖子已加载，共 1 条。"},
        {kFuncRelated, {"当前没有可显示的数据。"}, "当前没有可显示的数据。", "与我相关：当前没有可显示的数据。"},
        {kFuncFollowing, {"琴师 | LV5", "阿澄"}, "用户名：琴师\r\n等级：LV5\r\n头像：http://a/b.png", "特别关心已加载，共 2 条。"},
        {kFuncAlbums, {"我的收藏"}, "专辑编号：3\r\n专辑名称：我的收藏", "我的专辑已加载，共 1 条。"},
        {kFuncQuestions, {"发布问卷（预留）", "调查"}, "当前版本先展示我的问卷列表，问卷创建表单后续再接。",
         "发布问卷已加载，共 2 条。"},
        {kFuncMessages, {"来自 阿澄"}, "id：4\r\ntitle：来自 阿澄\r\ncontent：欢迎", "我的消息已加载，共 1 条。"},
        {kFuncDiamondBill, {"加载失败"}, "账单服务维护中", "加载失败：账单服务维护中"},
        {kFuncCrowdfund, {"当前没有可显示的数据。"}, "当前没有可显示的数据。", "众筹汇总：当前没有可显示的数据。"},
        {kFuncProfile,
         {"用户名：小澄同学", "等级：LV2", "手机号：13800000001", "出生日期：未填写", "头像地址：未设置", "管理员：否"},
         "用户名：小澄同学", "个人信息已加载，共 6 条。"},
    };
    EXPECT_EQ(U8(f.state.Header().posts), "发帖数：待加载");
    EXPECT_EQ(U8(f.state.Header().replies), "回帖数：待加载");
    for (const Case& c : cases) {
        SCOPED_TRACE(U8(FunctionLabel(c.type)));
        const ShownPage& shown = f.state.LoadFunction(c.type);
        EXPECT_EQ(Rows(shown), c.rows);
        EXPECT_EQ(U8(FillFor(shown).detail), c.firstDetail);
        EXPECT_EQ(U8(LoadedAnnouncement(FunctionLabel(c.type), shown)), c.announcement);
    }
    EXPECT_EQ(U8(f.state.Header().name), "会员名称：小澄同学");
    EXPECT_EQ(U8(f.state.Header().level), "会员等级：LV2");
    EXPECT_EQ(U8(f.state.Header().posts), "发帖数：57");
    EXPECT_EQ(U8(f.state.Header().replies), "回帖数：0");
    // Every post line opens its post; the reserved and profile lines open none.
    EXPECT_EQ(PostToOpen(f.state.LoadFunction(kFuncMyPosts).page.items.at(0)), 5);
    EXPECT_EQ(PostToOpen(f.state.LoadFunction(kFuncQuestions).page.items.at(0)), 0);

    // Functions are fetched on every load; a failure keeps the counts.
    f.server.Answer("GET", "/api/post/my", qtest::Fail(-100));
    EXPECT_EQ(Rows(f.state.LoadFunction(kFuncMyPosts)), std::vector<std::string>{"加载失败"});
    EXPECT_EQ(U8(f.state.Header().posts), "发帖数：57");
    EXPECT_EQ(Count(f.server, "/api/post/my-reply"), 1u);
    f.state.LoadFunction(kFuncRelated);
    EXPECT_EQ(Count(f.server, "/api/post/my-reply"), 2u);
}

TEST(PersonalCenterPages, AssetsAndProfileReadTheProfileAndTheCounts)
{
    Fixture f;
    UserInfo profile = DemoProfile();
    profile.birth = wxS("1995-06-18");
    profile.avatar = wxS("http://a/me.png");
    profile.isManager = 1;
    f.state.SetProfile(profile);
    auto details = [&](int type) {
        std::vector<std::string> lines;
        for (const RecordLine& line : f.state.LoadFunction(type).page.items) lines.push_back(U8(line.details));
        return lines;
    };
    EXPECT_EQ(Rows(f.state.LoadFunction(kFuncAssets)),
              (std::vector<std::string>{"余额：3.50", "积分：120", "钻石：待加载", "岚音币：待加载", "手机号：13800000001"}));
    EXPECT_EQ(details(kFuncAssets), (std::vector<std::string>{"账户余额：3.50", "当前积分：120", "当前钻石：待加载",
                                                              "当前岚音币：待加载", "绑定手机号：13800000001"}));
    EXPECT_EQ(details(kFuncProfile),
              (std::vector<std::string>{"用户名：小澄同学", "会员等级：LV2", "手机号：13800000001", "出生日期：1995-06-18",
                                        "头像地址：http://a/me.png", "管理员状态：是"}));

    // The pair: a failed count stays unknown and is asked for again.
    f.server.Answer("GET", "/api/user/7/zuanshi", qtest::Ok(R"({"count":35})"));
    f.server.Answer("GET", "/api/user/7/lanyin", qtest::Fail(5));
    ASSERT_TRUE(f.state.NeedsAssetCounts());
    f.state.StoreAssetCounts(f.state.FetchDiamondCount(), f.state.FetchCoinCount());
    EXPECT_EQ(Rows(f.state.LoadFunction(kFuncAssets))[2], "钻石：35");
    EXPECT_EQ(Rows(f.state.LoadFunction(kFuncAssets))[3], "岚音币：待加载");
    ASSERT_TRUE(f.state.NeedsAssetCounts());
    f.server.Answer("GET", "/api/user/7/lanyin", qtest::Ok("560"));
    f.state.StoreAssetCounts(f.state.FetchDiamondCount(), f.state.FetchCoinCount());
    EXPECT_EQ(Rows(f.state.LoadFunction(kFuncAssets))[3], "岚音币：560");
    EXPECT_FALSE(f.state.NeedsAssetCounts());

    // A profile without an id never asks about user 0.
    Fixture nameOnly;
    UserInfo noId = DemoProfile();
    noId.id = 0;
    nameOnly.state.SetProfile(noId);
    EXPECT_FALSE(nameOnly.state.NeedsAssetCounts());
    EXPECT_EQ(Rows(nameOnly.state.LoadFunction(kFuncAssets))[2], "钻石：待加载");
    EXPECT_EQ(nameOnly.server.RequestCount(), 0u);
}

TEST(PersonalCenterPages, TabsLoadOnceWithTheirEmptyAndReservedStates)
{
    Fixture f;
    f.server.Answer("GET", "/api/post/sale-goods", qtest::Ok(R"({"list":[],"total":0})"));
    f.server.Answer("GET", "/api/post/buy-goods",
                    qtest::Ok(R"({"list":[{"id":11,"objectId":812,"objectTitle":"曲谱","goodsName":"纸质曲谱","payNum":1}]})"));
    f.server.Answer("GET", "/api/post/buy-post", qtest::Ok(R"([{"id":21,"name":"单帖","title":"试听","postId":44}])"));
    f.server.Answer("GET", "/api/transaction/sale-attachment", qtest::Fail(3, "暂不可用"));

    struct Case {
        int index;
        const char* path;  // nullptr: no request at all
        std::vector<std::string> rows;
        std::string detail;
        int32_t opens;  // the post the first line opens
    };
    const Case cases[] = {
        {kTabSoldGoods, "/api/post/sale-goods", {"当前没有售出物品记录。"}, "当前没有售出物品记录。", 0},
        {kTabBoughtGoods, "/api/post/buy-goods", {"曲谱"}, "id：11\r\nobjectId：812\r\nobjectTitle：曲谱\r\ngoodsName：纸质曲谱\r\npayNum：1", 812},
        {kTabBoughtPosts, "/api/post/buy-post", {"试听"}, "id：21\r\nname：单帖\r\ntitle：试听\r\npostId：44", 44},
        {kTabRewards, nullptr, {"打赏记录（预留）"}, "当前接口文档里没有明确的打赏记录列表接口，本版本先预留此页。", 0},
        {kTabAttachmentSales, "/api/transaction/sale-attachment", {"加载失败"}, "暂不可用", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(U8(TabTextsOf(c.index).title));
        EXPECT_FALSE(f.state.TabLoaded(c.index));
        const size_t before = f.server.RequestCount();
        size_t afterFirst = 0;
        for (int time = 0; time < 2; ++time) {
            const ShownPage& shown = f.state.LoadTab(c.index);
            EXPECT_EQ(Rows(shown), c.rows);
            EXPECT_EQ(U8(FillFor(shown).detail), c.detail);
            EXPECT_EQ(shown.page.items.empty() ? 0 : PostToOpen(shown.page.items[0]), c.opens);
            if (time == 0) afterFirst = f.server.RequestCount();
        }
        EXPECT_TRUE(f.state.TabLoaded(c.index));
        // The second load asks nothing, even after a failure.
        EXPECT_EQ(f.server.RequestCount(), afterFirst);
        if (c.path) {
            EXPECT_GE(Count(f.server, c.path), 1u);
        } else {
            EXPECT_EQ(afterFirst, before);
        }
    }
    EXPECT_EQ(U8(TabTextsOf(kTabRewards).emptyText), "当前版本暂未接入打赏记录接口。");
}

TEST(PersonalCenterPages, ALineOpensThePostItNames)
{
    // Lines as the server's record reading makes them.
    const char* entries = R"([
        {"id":12,"name":"名","title":"题","postId":5},
        {"id":21,"objectId":812,"objectTitle":"曲谱","payNum":1},
        {"id":31,"objectId":0,"payNum":1},
        {"id":40,"title":"帖","replyCount":1},
        {"id":41,"title":"帖","replyCount":1,"objectId":9},
        {"id":50,"name":"专辑"}])";
    rapidjson::Document doc;
    doc.Parse(entries);
    ASSERT_FALSE(doc.HasParseError());
    const PersonalListPage page = ParsePersonalList(doc, 1, 20);
    ASSERT_EQ(page.items.size(), 6u);
    std::vector<int32_t> opens;
    for (const RecordLine& line : page.items) opens.push_back(PostToOpen(line));
    // The corrected record opens its post 5, never its own number 12.
    EXPECT_EQ(opens, (std::vector<int32_t>{5, 812, 0, 40, 9, 0}));
}
