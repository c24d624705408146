// The forum controller with the real client against a loopback server, real
// boxes and a real window behind a recording host.

#include <gtest/gtest.h>

#include <wx/frame.h>

#include "api/api_client.h"
#include "app/forum_controller.h"
#include "app/forum_host.h"
#include "gui_pump.h"
#include "support/http_test_server.h"

using guitest::DialogAnswerer;
using guitest::PumpUntil;
using guitest::TextDialogAnswerer;

namespace {

const char* kSections = R"([{"id":5,"name":"音乐分享","description":"好歌推荐"},{"id":7,"name":"站务"}])";
const char* kHotPage1 = R"({"pageNum":1,"pageSize":20,"pages":3,"total":45,"list":[
    {"id":42,"title":"新歌","userName":"甲","createTimeCn":"今天","replyCount":2,"viewCount":9}]})";
const char* kSectionPosts = R"({"id":5,"name":"音乐分享","postPage":{"pageNum":1,"pages":1,"total":1,"list":[
    {"id":42,"title":"新歌","userName":"甲","createTimeCn":"今天","replyCount":2,"viewCount":9}]}})";
const char* kReplies = R"({"pageNum":1,"pages":1,"total":2,"list":[
    {"id":100,"floor":1,"userId":9,"userName":"楼主","body":"正文"},
    {"id":101,"floor":2,"userId":3,"userName":"路人","body":"顶","parentFloor":1,"parentId":100}]})";
const char* kPost = R"({"id":42,"userId":9,"userName":"楼主","title":"新歌","sectionId":5})";

class RecordingHost : public ForumHost
{
public:
    RecordingHost() : frame(new wxFrame(nullptr, wxID_ANY, wxS("论坛"))) {}
    ~RecordingHost() override { frame->Destroy(); }

    wxWindow* HostWindow() override { return frame; }
    void ShowForumList(const RenderedList& list) override
    {
        shown.push_back(list);
        status = list.status;
    }
    void ClearForumList() override { ++clears; }
    void SetForumStatus(const wxString& text) override { status = text; }
    void PlayForumCue(const wxString& name) override { cues.push_back(name); }
    bool EnsureLoggedIn() override { ++loginChecks; return false; }
    void OpenPersonalCenter() override {}
    bool OpenNewPostComposer() override { return false; }
    int OpenPostDetail(const PostDetail& detail, const std::optional<ListEntry>& floorRow,
                       bool allowOnlyOp) override
    {
        openedDetail = detail;
        openedFloor = floorRow;
        openedAllowOnlyOp = allowOnlyOp;
        return detailResult;
    }

    const RenderedList& Last() const { return shown.back(); }

    wxFrame* frame;
    std::vector<RenderedList> shown;
    wxString status;
    std::vector<wxString> cues;
    int clears = 0;
    int loginChecks = 0;
    std::optional<PostDetail> openedDetail;
    std::optional<ListEntry> openedFloor;
    bool openedAllowOnlyOp = false;
    int detailResult = wxID_CANCEL;
};

ApiClient ClientFor(int port)
{
    ApiClient client(ServerEndpoint{wxS("127.0.0.1"), port});
    client.SetTimeouts(platform::HttpTimeouts{2000, 1000});
    return client;
}

class ForumControllerTest : public ::testing::Test
{
protected:
    ForumControllerTest() : api(ClientFor(server.Port())), controller(api, host)
    {
        server.Answer("GET", "/api/section", qtest::Ok(kSections));
    }

    int RowOf(EntryType type) const
    {
        const auto& rows = controller.Browser().ShownEntries();
        for (size_t i = 0; i < rows.size(); ++i)
            if (rows[i].type == type)
                return static_cast<int>(i);
        return -1;
    }

    qtest::HttpTestServer server;
    RecordingHost host;
    ApiClient api;
    ForumController controller;
};

} // namespace

TEST_F(ForumControllerTest, StartShowsHomeThenHotPostsAndAFailedPageChangesNothing)
{
    controller.RenderList();
    ASSERT_EQ(host.shown.size(), 1u);
    EXPECT_EQ(host.Last().label, wxString(wxS("版块列表")));
    EXPECT_EQ(host.Last().rows.size(), 8u);

    server.Answer("GET", "/api/post/hot?pageNum=1&pageSize=20", qtest::Ok(kHotPage1));
    controller.ActivateRow(RowOf(EntryType::HotPostsRow));
    ASSERT_EQ(host.shown.size(), 2u);
    EXPECT_EQ(host.cues.back(), wxString(wxS("jr.wav")));
    EXPECT_EQ(host.Last().label, wxString(wxS("帖子列表 - 热门帖子")));
    EXPECT_EQ(host.Last().rows[0], wxString(wxS("新歌 | 甲 | 2回复 9浏览 | 今天")));
    EXPECT_EQ(host.status, wxString(wxS("当前为帖子列表。按回车查看楼层，列表内可翻页、回到首页或尾页，"
                                        "退格返回上一层。")));

    server.Answer("GET", "/api/post/hot?pageNum=2&pageSize=20", qtest::Fail(500, "服务器忙"));
    {
        DialogAnswerer box(GTK_RESPONSE_OK);
        controller.ActivateRow(RowOf(EntryType::NextPageRow));
        ASSERT_EQ(box.Seen().size(), 1u);
        EXPECT_EQ(box.Seen()[0].title, "获取热门帖子失败");
        EXPECT_EQ(box.Seen()[0].text, "服务器忙");
    }
    EXPECT_EQ(host.shown.size(), 2u);  // the list on screen was not touched
    EXPECT_EQ(controller.Browser().Top()->paging.pageNum, 1);
    EXPECT_EQ(server.Requests().back().target, "/api/post/hot?pageNum=2&pageSize=20");

    controller.GoBack();
    EXPECT_EQ(host.cues.back(), wxString(wxS("fh.wav")));
    EXPECT_EQ(host.Last().label, wxString(wxS("版块列表")));
}

TEST_F(ForumControllerTest, UnreachableServerLeavesAnEmptyListAndSaysWhy)
{
    ApiClient nowhere = ClientFor(qtest::UnusedLoopbackPort());
    RecordingHost lonelyHost;
    ForumController lonely(nowhere, lonelyHost);
    DialogAnswerer box(GTK_RESPONSE_OK);
    lonely.RenderList();
    ASSERT_EQ(box.Seen().size(), 1u);
    EXPECT_EQ(box.Seen()[0].title, "获取版块失败");
    EXPECT_FALSE(box.Seen()[0].text.empty());
    EXPECT_EQ(lonelyHost.clears, 1);
    EXPECT_TRUE(lonelyHost.shown.empty());
    EXPECT_TRUE(lonely.Browser().Stack().empty());
}

TEST_F(ForumControllerTest, FloorOpensTheDetailWithItsReplyTargetAndOnlyOpReloadsFloors)
{
    server.Answer("GET", "/api/section/5?pageNum=1&pageSize=20", qtest::Ok(kSectionPosts));
    server.Answer("GET", "/api/reply?postId=42&pageNum=1&pageSize=20", qtest::Ok(kReplies));
    server.Answer("GET", "/api/post/42", qtest::Ok(kPost));
    controller.RenderList();
    controller.ActivateRow(RowOf(EntryType::SectionRow));
    EXPECT_EQ(host.Last().label, wxString(wxS("帖子列表 - 音乐分享")));
    controller.ActivateRow(0);
    EXPECT_EQ(host.Last().label, wxString(wxS("楼层列表 - 新歌")));
    EXPECT_EQ(host.Last().rows[2], wxString(wxS("2楼 路人：顶 | 回复 1楼")));

    auto menu = controller.FloorMenuFor(2);
    ASSERT_TRUE(menu.has_value());
    EXPECT_EQ(menu->label, wxString(wxS("回复 2 楼（路人）")));

    host.detailResult = 6400;  // "只看楼主"
    controller.ReplyToFloor(2);
    ASSERT_TRUE(host.openedDetail.has_value());
    EXPECT_EQ(host.openedDetail->id, 42);
    ASSERT_TRUE(host.openedFloor.has_value());
    EXPECT_EQ(host.openedFloor->replyId, 101);
    EXPECT_TRUE(host.openedAllowOnlyOp);
    EXPECT_EQ(host.Last().rows[1], wxString(wxS("当前模式：只看楼主（楼主）")));
    EXPECT_EQ(host.Last().rows[2], wxString(wxS("1楼 楼主：正文")));
    EXPECT_EQ(controller.Browser().Stack().size(), 3u);
}

TEST_F(ForumControllerTest, FailedDetailOpensNoDialog)
{
    server.Answer("GET", "/api/section/5?pageNum=1&pageSize=20", qtest::Ok(kSectionPosts));
    server.Answer("GET", "/api/reply?postId=42&pageNum=1&pageSize=20", qtest::Ok(kReplies));
    server.Answer("GET", "/api/post/42", qtest::Fail(404, "帖子不存在"));
    controller.RenderList();
    controller.ActivateRow(RowOf(EntryType::SectionRow));
    controller.ActivateRow(0);
    DialogAnswerer box(GTK_RESPONSE_OK);
    controller.ActivateRow(0);  // "查看楼主："
    ASSERT_EQ(box.Seen().size(), 1u);
    EXPECT_EQ(box.Seen()[0].title, "获取帖子详情失败");
    EXPECT_EQ(box.Seen()[0].text, "帖子不存在");
    EXPECT_FALSE(host.openedDetail.has_value());
}

TEST_F(ForumControllerTest, SearchRunsOnTheWorkerAndFillsItsView)
{
    server.Answer("GET", "/api/post/search",
                  qtest::Ok(R"({"pageNum":1,"pages":1,"total":1,"list":[{"id":8,"title":"古风合集","userName":"乙"}]})")
                      .WithDelay(std::chrono::milliseconds(150)));
    controller.RenderList();
    {
        TextDialogAnswerer typed(wxS("  古风 "), wxID_OK);
        controller.ActivateRow(RowOf(EntryType::SearchRow));
    }
    EXPECT_EQ(host.Last().label, wxString(wxS("帖子列表 - 搜索：古风")));
    EXPECT_EQ(host.Last().rows[0], wxString(wxS("正在搜索，请稍候...")));
    EXPECT_EQ(host.status, wxString(wxS("正在搜索帖子，请稍候。")));

    ASSERT_TRUE(PumpUntil([&] { return host.Last().rows.size() == 6u; }));
    EXPECT_EQ(host.Last().rows[0], wxString(wxS("古风合集 | 乙 | 0回复 0浏览 | ")));
    EXPECT_EQ(host.status, wxString(wxS("搜索完成：关键词“古风”，第 1 页，共 1 条。")));
    ASSERT_EQ(server.RequestCount(), 2u);
    EXPECT_EQ(server.Requests()[1].Path(), "/api/post/search");
}

TEST_F(ForumControllerTest, FailedSearchBringsBackTheHomeViewBeforeTheBox)
{
    server.Answer("GET", "/api/post/search", qtest::Fail(500, "搜索服务不可用"));
    controller.RenderList();
    controller.StartSearch(SearchRequest{wxS("古风"), 1, false});
    DialogAnswerer box(GTK_RESPONSE_OK);
    ASSERT_TRUE(PumpUntil([&] { return !box.Seen().empty(); }));
    EXPECT_EQ(box.Seen()[0].title, "搜索帖子失败");
    EXPECT_EQ(box.Seen()[0].text, "搜索服务不可用");
    EXPECT_EQ(host.Last().label, wxString(wxS("版块列表")));
    EXPECT_EQ(controller.Browser().Stack().size(), 1u);
}
