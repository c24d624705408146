// The "帖子操作" menu and its commands without a window: what each kind of
// user is offered, what each command asks and says, and what it sends.
#include "posts/post_commands_model.h"

#include "api/api_client.h"
#include "api/client_fixture.h"
#include "posts/post_detail_results.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

using apitest::ClientFor;
using apitest::U8;
using L = std::vector<std::string>;

L Labels(const std::vector<PostMenuItem>& items) {
    L out;
    for (const auto& item : items) out.push_back(item.id == postcmd::kSeparator ? "-" : U8(item.label));
    return out;
}

TEST(PostMenu, EachUserIsOfferedTheirOwnItemsLabelledByTheState) {
    PostDetail plain;
    PostDetail own;
    own.isOwner = true;
    PostDetail marked;  // every switch on, shielded with status 2
    marked.status = 2;
    marked.essence = marked.top = marked.topAll = marked.sink = marked.lock = true;
    struct Row {
        const char* who;
        const PostDetail& post;
        bool manager;
        bool onlyOp;
        L items;
    };
    const L managerTail = {"删除帖子", "移动", "屏蔽", "设为精华", "置顶", "全局置顶", "沉底", "锁定", "禁言48小时", "永久封禁"};
    auto with = [](L head, const L& tail) {
        head.insert(head.end(), tail.begin(), tail.end());
        return head;
    };
    const std::vector<Row> rows = {
        {"guest", plain, false, false, {"举报", "发送站内消息给他"}},
        {"guest from the main window", plain, false, true, {"举报", "只看楼主", "发送站内消息给他"}},
        {"author", own, false, true, {"举报", "只看楼主", "发送站内消息给他", "-", "修改"}},
        {"author elsewhere", own, false, false, {"举报", "发送站内消息给他", "-", "修改"}},
        {"manager", plain, true, true, with({"举报", "只看楼主", "发送站内消息给他", "-", "修改"}, managerTail)},
        {"manager, all switches on", marked, true, false,
         {"举报", "发送站内消息给他", "-", "修改", "删除帖子", "移动", "取消屏蔽", "取消精华", "取消置顶",
          "取消全局置顶", "取消沉底", "取消锁定", "禁言48小时", "永久封禁"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.who);
        const auto items = BuildPostMenu(row.post, row.manager, row.onlyOp);
        EXPECT_EQ(Labels(items), row.items);
        if (row.manager && row.onlyOp) {
            std::vector<int> ids;
            for (const auto& item : items) ids.push_back(item.id);
            EXPECT_EQ(ids, (std::vector<int>{6501, 6502, 6503, 0, 6504, 6505, 6506, 6507, 6508, 6509, 6510, 6511,
                                             6512, 6513, 6514}));
        }
    }
}

TEST(PostCommandPlans, EachCommandAsksSaysAndEndsAsItShould) {
    PostDetail post;
    post.title = wxString::FromUTF8("春天");
    post.userName = wxString::FromUTF8("小明");
    post.essence = true;  // so the essence switch cancels
    post.status = 2;      // shielded: the switch lifts it
    struct Row {
        int id;
        CommandNeed need;
        bool needsAuthor;
        CommandInput input;
        const char* caption;
        const char* message;
        const char* empty;
        const char* success;
        int end;
    };
    using N = CommandNeed;
    using I = CommandInput;
    const std::vector<Row> rows = {
        {6501, N::Session, false, I::Text, "举报帖子", "请输入举报原因。", "举报原因不能为空。", "举报已提交。", 0},
        {6502, N::Nothing, false, I::None, "", "", "", "", RESULT_ONLY_OP},
        {6503, N::Session, true, I::Text, "发送站内消息", "请输入站内消息内容。", "消息内容不能为空。", "站内消息发送成功。", 0},
        {6504, N::OwnerOrManager, false, I::None, "", "", "", "", RESULT_POST_CHANGED},
        {6505, N::Manager, false, I::Question, "删除帖子", "确定要删除帖子《春天》吗？", "", "帖子删除成功。", RESULT_POST_CHANGED},
        {6506, N::Manager, false, I::Section, "移动帖子", "请选择目标版块。", "当前没有可用版块。", "帖子移动成功。", RESULT_POST_CHANGED},
        {6507, N::Manager, false, I::None, "", "", "", "帖子已取消屏蔽。", RESULT_POST_CHANGED},
        {6508, N::Manager, false, I::None, "", "", "", "已取消精华。", RESULT_POST_CHANGED},
        {6509, N::Manager, false, I::None, "", "", "", "已置顶帖子。", RESULT_POST_CHANGED},
        {6510, N::Manager, false, I::None, "", "", "", "已设为全局置顶。", RESULT_POST_CHANGED},
        {6511, N::Manager, false, I::None, "", "", "", "帖子已沉底。", RESULT_POST_CHANGED},
        {6512, N::Manager, false, I::None, "", "", "", "帖子已锁定。", RESULT_POST_CHANGED},
        {6513, N::Manager, true, I::Question, "禁言用户", "确定要禁言用户“小明”48小时吗？", "", "用户已禁言48小时。", 0},
        {6514, N::Manager, true, I::WarningQuestion, "永久封禁", "确定要永久封禁用户“小明”吗？", "", "用户已永久封禁。", 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.id);
        const PostCommandPlan p = PlanPostCommand(row.id, post);
        EXPECT_EQ(p.id, row.id);
        EXPECT_EQ(p.need, row.need);
        EXPECT_EQ(p.needsAuthor, row.needsAuthor);
        EXPECT_EQ(p.input, row.input);
        EXPECT_EQ(U8(p.caption), row.caption);
        EXPECT_EQ(U8(p.message), row.message);
        EXPECT_EQ(U8(p.emptyNotice), row.empty);
        EXPECT_EQ(U8(p.successText), row.success);
        EXPECT_EQ(p.endCode, row.end);
    }
    EXPECT_EQ(PlanPostCommand(6499, post).id, 0);
    // The rights, the failure text and the preselection.
    EXPECT_TRUE(CommandAllowed(N::Nothing, false, false, false));
    EXPECT_FALSE(CommandAllowed(N::Session, false, true, true));
    EXPECT_TRUE(CommandAllowed(N::OwnerOrManager, true, true, false));
    EXPECT_FALSE(CommandAllowed(N::Manager, true, true, false));
    EXPECT_EQ(U8(ResultFailureText({false, wxS("拒绝"), wxS("路径：/x")})), "拒绝\n\n调试信息：\n路径：/x");
    EXPECT_EQ(U8(ResultFailureText({false, wxS("拒绝"), wxString()})), "拒绝");
    std::vector<SectionInfo> sections(2);
    sections[0].id = 1;
    sections[1].id = 7;
    EXPECT_EQ(SectionIndex(sections, 7), 1);
    EXPECT_EQ(SectionIndex(sections, 3), -1);
}

TEST(PostCommandSend, EachCommandSendsItsCallTheOppositeWayOfTheState) {
    PostDetail off;
    off.id = 40;
    off.userId = 6;
    off.sectionId = 7;
    PostDetail on = off;
    on.status = 2;
    on.essence = on.top = on.topAll = on.sink = on.lock = true;
    struct Row {
        const PostDetail& post;
        int id;
        std::string method, target, body;
    };
    const std::vector<Row> rows = {
        {off, 6501, "POST", "/api/complaint", R"({"type":1,"objectId":40,"reason":"广告"})"},
        {off, 6503, "POST", "/api/msg", R"({"rUserId":6,"content":"广告"})"},
        {off, 6505, "DELETE", "/api/post/40", ""},
        {off, 6506, "PATCH", "/api/post/move", R"({"id":40,"sectionId":3})"},
        {off, 6507, "PATCH", "/api/post/40/shield", ""},
        {on, 6507, "PATCH", "/api/post/40/unshield", ""},
        {off, 6508, "PATCH", "/api/post/essence", R"({"id":40,"value":true})"},
        {on, 6508, "PATCH", "/api/post/essence", R"({"id":40,"value":false})"},
        {on, 6509, "PATCH", "/api/post/top", R"({"id":40,"value":false})"},
        {off, 6510, "POST", "/api/post/40/top-all", "[7]"},
        {on, 6510, "DELETE", "/api/post/40/top-all", ""},
        {off, 6511, "PATCH", "/api/post/sink", R"({"id":40,"value":true})"},
        {on, 6512, "PATCH", "/api/post/lock", R"({"id":40,"value":false})"},
        {on, 6513, "PATCH", "/api/user/6/silence", ""},
        {on, 6514, "PATCH", "/api/user/6/ban", ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.id);
        qtest::HttpTestServer server;
        server.SetDefault(qtest::Ok());
        const ApiResult r = SendPostCommand(ClientFor(server), wxS("T"), wxString(), row.post, row.id,
                                            CommandInputValue{wxString::FromUTF8("广告"), 3});
        EXPECT_TRUE(r.success) << U8(r.message);
        ASSERT_EQ(server.RequestCount(), 1u);
        const auto req = server.Requests()[0];
        EXPECT_EQ(req.method, row.method);
        EXPECT_EQ(req.target, row.target);
        EXPECT_EQ(req.body, row.body);
    }
}

}  // namespace
