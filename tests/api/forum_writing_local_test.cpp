// The writing calls against the project's local forum: a member publishes,
// edits and replies; a manager edits someone else's post and deletes one.
#include <gtest/gtest.h>

#include "api/api_client.h"
#include "api/envelope.h"
#include "api/post_body.h"
#include "posts/post_composer_model.h"
#include "support/forum_login.h"
#include "support/local_forum_process.h"
#include "support/temp_dir.h"

namespace {

struct Session {
    wxString token;
    wxString cookies;
};

// A login by hand: the account calls are not what is tested here.
Session LogIn(const ApiClient& client, const char* mobile, const char* password)
{
    const HttpResponse r = client.SendRequest(
        wxS("POST"), wxS("/api/user/login"), {{wxS("Content-Type"), wxS("application/json")}},
        std::string(R"({"mobile":")") + mobile + R"(","password":")" + password + R"("})");
    rapidjson::Document doc;
    wxString message;
    if (!EvaluateResponse(r, doc, message, wxS("登录失败")) || !doc["data"].IsString()) return {};
    return Session{wxString::FromUTF8(doc["data"].GetString()), r.cookies};
}

int32_t FindPost(const ApiClient& client, int32_t sectionId, const wxString& title)
{
    const PostListPage page = client.GetSectionPosts(sectionId, 1, 20);
    for (const PostSummary& p : page.items) {
        if (p.title == title) return p.id;
    }
    return 0;
}

TEST(WritingAgainstLocalForum, PublishEditReplyAndDelete)
{
    qtest::LocalForumProcess forum({"--no-media"});
    ASSERT_TRUE(forum.ok()) << forum.error();
    ApiClient client(ServerEndpoint{wxS("127.0.0.1"), forum.port()});
    const Session member = LogIn(client, qtest::LocalForumProcess::kUserMobile,
                                 qtest::LocalForumProcess::kUserPassword);
    ASSERT_FALSE(member.token.empty());

    // Published as the composer sends it: short body allowed, first one taken.
    PostInput in;
    in.sectionId = 3;
    in.title = wxS("键盘写的帖子");
    in.body = wxS("第一行\n第二行 \"引号\"");
    in.linkList = {{wxS("https://example.org/"), wxS("示例")}};
    const ApiResult created = client.CreatePost(member.token, member.cookies, in);
    ASSERT_TRUE(created.success) << created.message;
    const int32_t id = FindPost(client, 3, in.title);
    ASSERT_NE(id, 0);

    // Edited through the composer's own values: everything loaded comes back.
    PostDetailResult mine = client.GetPostWithSession(id, member.token, member.cookies);
    ASSERT_TRUE(mine.ok);
    EXPECT_TRUE(mine.detail.isOwner);
    PostComposerModel edit(client.GetSections().sections, mine.detail, false);
    const PostInput saved = edit.ToSend(wxS("  改过的标题 "), mine.detail.body);
    EXPECT_EQ(saved.id, id);
    EXPECT_EQ(saved.sectionId, 3);
    ASSERT_TRUE(client.EditPost(member.token, member.cookies, saved, false).success);
    const PostDetailResult after = client.GetPost(id);
    EXPECT_EQ(after.detail.title, wxS("改过的标题"));
    ASSERT_EQ(after.detail.linkList.size(), 1u);
    EXPECT_EQ(after.detail.linkList[0].desc, wxS("示例"));

    // A reply, then a reply to that floor.
    ASSERT_TRUE(client.CreateReply(member.token, member.cookies, id, wxS("沙发"), 0, false).success);
    ReplyPage floors = client.GetReplies(id, 1, 20);
    ASSERT_EQ(floors.items.size(), 1u);
    ASSERT_TRUE(
        client.CreateReply(member.token, member.cookies, id, wxS("回沙发"), floors.items[0].id, true).success);
    floors = client.GetReplies(id, 1, 20);
    ASSERT_EQ(floors.items.size(), 2u);
    EXPECT_EQ(floors.items[1].body, wxS("回沙发"));
    EXPECT_EQ(floors.items[1].parentId, floors.items[0].id);

    // The member may not edit as a manager; the refusal is reported.
    const ApiResult notManager = client.EditPost(member.token, member.cookies, saved, true);
    EXPECT_FALSE(notManager.success);
    EXPECT_EQ(notManager.message, wxS("你不是该版块的版主，不能管理这个帖子。 [JSON回退版]"));

    // A manager deletes it.
    const Session manager = LogIn(client, qtest::LocalForumProcess::kManagerMobile,
                                  qtest::LocalForumProcess::kManagerPassword);
    ASSERT_TRUE(client.DeletePost(manager.token, manager.cookies, id).success);
    EXPECT_EQ(FindPost(client, 3, wxS("改过的标题")), 0);
    const ApiResult again = client.DeletePost(manager.token, manager.cookies, id);
    EXPECT_EQ(again.message, wxS("帖子不存在或已被删除。"));
}

TEST(WritingAgainstLocalForum, AManagerSavingAnotherUsersPostKeepsItsAlbumPricesAndFiles)
{
    qtest::LocalForumProcess forum;
    ASSERT_TRUE(forum.ok()) << forum.error();
    ApiClient client(ServerEndpoint{wxS("127.0.0.1"), forum.port()});
    const Session manager = LogIn(client, qtest::LocalForumProcess::kManagerMobile,
                                  qtest::LocalForumProcess::kManagerPassword);
    ASSERT_FALSE(manager.token.empty());
    // The seeded media post of section 2 belongs to another member and an album.
    const int32_t id = qtest::SeededMediaPostId(client);
    ASSERT_NE(id, 0);
    const PostDetailResult managed = client.GetManagedPost(id, manager.token, manager.cookies);
    ASSERT_TRUE(managed.ok) << managed.error;
    EXPECT_EQ(managed.detail.albumId, 1);
    const PostDetail before = managed.detail;

    PostComposerModel edit(client.GetSections().sections, before, true);
    const PostInput saved = edit.ToSend(before.title + wxS("（已整理）"), before.body);
    EXPECT_EQ(BuildPostBody(saved).size(), 1u);  // files and album: the short body is not allowed
    const ApiResult r = client.EditPost(manager.token, manager.cookies, saved, true);
    ASSERT_TRUE(r.success) << r.message;

    const PostDetail after = client.GetManagedPost(id, manager.token, manager.cookies).detail;
    EXPECT_EQ(after.title, before.title + wxS("（已整理）"));
    EXPECT_EQ(after.albumId, 1);
    EXPECT_EQ(after.sectionId, before.sectionId);
    EXPECT_EQ(after.audioList.size(), before.audioList.size());
    EXPECT_EQ(after.videoList.size(), before.videoList.size());
    ASSERT_FALSE(after.videoList.empty());
    EXPECT_EQ(after.videoList[0].attachFileId, before.videoList[0].attachFileId);
    EXPECT_EQ(after.linkList.size(), before.linkList.size());
}

}  // namespace

// An uploaded file is stored, can be attached to a post, and is served back
// at its address, in ranges as a player asks for it.
TEST(WritingAgainstLocalForum, UploadedAudioIsAttachedAndServedBack)
{
    qtest::LocalForumProcess forum({"--no-media"});
    ASSERT_TRUE(forum.ok()) << forum.error();
    ApiClient client(ServerEndpoint{wxS("127.0.0.1"), forum.port()});
    const Session member = LogIn(client, qtest::LocalForumProcess::kUserMobile,
                                 qtest::LocalForumProcess::kUserPassword);
    ASSERT_FALSE(member.token.empty());
    qtest::TempDir dir;
    const std::string bytes = "0123456789";
    const UploadResult up = client.UploadFile(member.token, member.cookies,
                                              wxString::FromUTF8(dir.write("歌.mp3", bytes)),
                                              UploadKind::File);
    ASSERT_TRUE(up.ok) << up.message;

    PostInput in;
    in.sectionId = 3;
    in.title = wxS("带音频的帖子");
    in.body = wxS("听听这个。");
    in.audioList = {{up.fileId, 0, wxS("我的歌"), up.url, wxS("")}};
    ASSERT_TRUE(client.CreatePost(member.token, member.cookies, in).success);
    const PostDetailResult post = client.GetPost(FindPost(client, 3, in.title));
    ASSERT_TRUE(post.ok) << post.error;
    ASSERT_EQ(post.detail.audioList.size(), 1u);
    EXPECT_EQ(post.detail.audioList[0].fileId, up.fileId);
    EXPECT_EQ(post.detail.audioList[0].url, up.url);

    const wxString prefix = wxString::Format(wxS("http://127.0.0.1:%d"), forum.port());
    ASSERT_TRUE(up.url.StartsWith(prefix));
    const HttpResponse part =
        client.SendRequest(wxS("GET"), up.url.Mid(prefix.size()), {{wxS("Range"), wxS("bytes=2-5")}}, {});
    EXPECT_EQ(part.statusCode, 206u);
    EXPECT_EQ(part.body, "2345");
}
