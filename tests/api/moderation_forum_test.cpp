// The moderation calls against the real local forum, each family pinned to
// one of its later forms, and every change seen by a later read.
#include <gtest/gtest.h>

#include "api/api_client.h"
#include "support/forum_login.h"
#include "support/local_forum_process.h"

namespace {

using qtest::LocalForumProcess;

std::string U8(const wxString& s) { return std::string(s.utf8_str()); }

ApiClient ClientFor(const LocalForumProcess& forum)
{
    return ApiClient(ServerEndpoint{wxString::FromUTF8(forum.host()), forum.port()});
}

PostDetail Read(const ApiClient& api, int32_t id)
{
    const PostDetailResult r = api.GetPost(id);
    EXPECT_TRUE(r.ok) << U8(r.error);
    return r.detail;
}

TEST(ModerationForum, PinnedFormsAreFoundAndEveryChangeReadsBack)
{
    LocalForumProcess forum({"--no-media", "--only-toggle-body", "postId+lock", "--only-report-body", "type=0,id",
                             "--only-move-body", "postId+targetSectionId", "--only-message-body",
                             "receiverId+body"});
    ASSERT_TRUE(forum.ok()) << forum.error();
    const ApiClient api = ClientFor(forum);
    const auto manager = qtest::LoginRaw(api, LocalForumProcess::kManagerMobile, LocalForumProcess::kManagerPassword);
    const auto user = qtest::LoginRaw(api, LocalForumProcess::kUserMobile, LocalForumProcess::kUserPassword);
    ASSERT_TRUE(manager.ok() && user.ok());
    const PostListPage page = api.GetSectionPosts(1, 1, 20);
    ASSERT_TRUE(page.ok && page.items.size() > 4) << U8(page.error);
    const int32_t id = page.items[4].id;
    const wxString& t = manager.token;
    const wxString& c = manager.cookies;

    ASSERT_TRUE(api.SetLocked(t, c, id, true).success);
    EXPECT_TRUE(Read(api, id).lock);
    EXPECT_NE(Read(api, id).replyForbidden, 0);
    ASSERT_TRUE(api.SetLocked(t, c, id, false).success);
    EXPECT_FALSE(Read(api, id).lock);
    // The pinned form names each switch by its own key.
    ASSERT_TRUE(api.SetEssence(t, c, id, true).success);
    EXPECT_TRUE(Read(api, id).essence);
    ASSERT_TRUE(api.SetEssence(t, c, id, false).success);
    EXPECT_FALSE(Read(api, id).essence);

    ASSERT_TRUE(api.SetShielded(t, c, id, true).success);
    EXPECT_EQ(Read(api, id).status, 2);
    ASSERT_TRUE(api.SetShielded(t, c, id, false).success);
    EXPECT_EQ(Read(api, id).status, 0);

    ASSERT_TRUE(api.SetTopAll(t, c, id, true, {1}).success);
    EXPECT_TRUE(Read(api, id).topAll);
    ASSERT_TRUE(api.SetTopAll(t, c, id, false, {1}).success);
    EXPECT_FALSE(Read(api, id).topAll);

    const ApiResult moved = api.MovePost(t, c, id, 2);
    ASSERT_TRUE(moved.success) << U8(moved.message);
    EXPECT_EQ(Read(api, id).sectionId, 2);

    const ApiResult report = api.ReportPost(user.token, user.cookies, id, wxS("广告\n第二行"));
    EXPECT_TRUE(report.success) << U8(report.message);
    const ApiResult message = api.SendSiteMessage(user.token, user.cookies, 7, wxS("你好"));
    EXPECT_TRUE(message.success) << U8(message.message);

    // Silenced, the member cannot reply; banned, the member has no session.
    const auto orange = qtest::LoginRaw(api, "13800000007", "demo123");
    ASSERT_TRUE(orange.ok());
    ASSERT_TRUE(api.SetSilenced(t, c, 7, true).success);
    const std::string reply = R"({"postId":1,"body":"还能说话吗"})";
    const HeaderList h{{wxS("Content-Type"), wxS("application/json")}, {wxS("token"), orange.token}};
    EXPECT_EQ(api.SendRequest(wxS("POST"), wxS("/api/reply"), h, reply).body.find("\"code\":0"), std::string::npos);
    ASSERT_TRUE(api.SetBanned(t, c, 7, true).success);
    EXPECT_FALSE(qtest::LoginRaw(api, "13800000007", "demo123").ok());
    ASSERT_TRUE(api.SetBanned(t, c, 7, false).success);
    EXPECT_TRUE(qtest::LoginRaw(api, "13800000007", "demo123").ok());

    // An ordinary member is refused with the server's reason.
    const ApiResult refused = api.SetShielded(user.token, user.cookies, id, true);
    EXPECT_FALSE(refused.success);
    EXPECT_EQ(U8(refused.message), "你不是该版块的版主，不能管理这个帖子。");
    EXPECT_EQ(Read(api, id).status, 0);
}

// A server that flips the switch on a body naming only the post must never
// see that body while a form stating the wanted state would do.
TEST(ModerationForum, SwitchingOffNeverTurnsASwitchOn)
{
    LocalForumProcess forum({"--no-media"});
    ASSERT_TRUE(forum.ok()) << forum.error();
    const ApiClient api = ClientFor(forum);
    const auto manager = qtest::LoginRaw(api, LocalForumProcess::kManagerMobile, LocalForumProcess::kManagerPassword);
    ASSERT_TRUE(manager.ok());
    const int32_t id = api.GetSectionPosts(1, 1, 20).items.at(4).id;
    ASSERT_FALSE(Read(api, id).sink);
    for (int round = 0; round < 2; ++round) {
        EXPECT_TRUE(api.SetSunk(manager.token, manager.cookies, id, false).success);
        EXPECT_FALSE(Read(api, id).sink);
    }
    EXPECT_TRUE(api.SetSunk(manager.token, manager.cookies, id, true).success);
    EXPECT_TRUE(Read(api, id).sink);
}

}  // namespace
