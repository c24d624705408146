// Strict modes accept one request form only; faults break one path's
// answer on purpose. Both exist so client tests can prove their fallbacks.
#include "local_forum/forum_http.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

namespace qtest {
namespace {

std::string PostBody(bool compat, const std::string& title) {
    std::string body = R"({"title":")" + title + R"(","sectionId":1,"body":"正文","summary":"正文")";
    if (compat) body += R"(,"notify":0,"rewardPoint":0,"imageList":[],"audioList":[])";
    return body + "}";
}

TEST(ForumStrict, OnlyTheAccessTokenQueryCarriesTheSession) {
    LocalForumProcess forum({"--no-media", "--only-session", "query:accessToken"});
    ASSERT_TRUE(forum.ok()) << forum.error();
    ForumHttp http(forum);
    std::string t = http.Login(LocalForumProcess::kUserMobile, LocalForumProcess::kUserPassword);
    ASSERT_FALSE(t.empty());
    EXPECT_EQ(http.Get("/api/user", {{"Authorization", t}}).code(), -100);
    EXPECT_EQ(http.Get("/api/user", {{"Cookie", "token=" + t}}).code(), -100);
    EXPECT_EQ(http.Get("/api/user?token=" + t).code(), -100);
    EXPECT_EQ(http.Get("/api/user?accessToken=" + t).code(), 0);
    // Writes too: the same reply is refused in a header and taken in the query.
    std::string reply = R"({"postId":1,"body":"只认查询参数"})";
    EXPECT_EQ(http.Send("POST", "/api/reply", reply, TokenHeader(t)).code(), -100);
    EXPECT_EQ(http.Send("POST", "/api/reply?accessToken=" + t, reply).code(), 0);
}

TEST(ForumStrict, HeaderNamesAreToldApartByCase) {
    LocalForumProcess forum({"--no-media", "--only-session", "Token"});
    ASSERT_TRUE(forum.ok()) << forum.error();
    ForumHttp http(forum);
    std::string t = http.Login(LocalForumProcess::kUserMobile, LocalForumProcess::kUserPassword);
    EXPECT_EQ(http.Get("/api/user", {{"token", t}}).code(), -100);
    EXPECT_EQ(http.Get("/api/user", {{"Token", t}}).code(), 0);
}

TEST(ForumStrict, OnlyOneToggleBodyIsTakenAndItsEffectIsRead) {
    LocalForumProcess forum({"--no-media", "--only-toggle-body", "postId+value"});
    ASSERT_TRUE(forum.ok()) << forum.error();
    ForumHttp http(forum);
    auto h = TokenHeader(http.Login(LocalForumProcess::kManagerMobile, LocalForumProcess::kManagerPassword));
    std::string id = std::to_string(http.Get("/api/section/1?pageNum=1&pageSize=20").data()["postPage"]["list"][3]["id"].GetInt());
    for (const std::string& body : {"{\"id\":" + id + "}", "{\"id\":" + id + ",\"value\":true}",
                                    "{\"postId\":" + id + ",\"status\":1}", "{\"postId\":" + id + ",\"essence\":1}"}) {
        Answer a = http.Send("PATCH", "/api/post/essence", body, h);
        EXPECT_NE(a.code(), 0) << body;
        EXPECT_FALSE(a.errMsg().empty());
    }
    EXPECT_EQ(http.Get("/api/post/" + id).data()["essence"].GetInt(), 0);
    EXPECT_EQ(http.Send("PATCH", "/api/post/essence", "{\"postId\":" + id + ",\"value\":true}", h).code(), 0);
    EXPECT_EQ(http.Get("/api/post/" + id).data()["essence"].GetInt(), 1);
}

TEST(ForumStrict, OnlyTheShortPostBodyIsTaken) {
    LocalForumProcess forum({"--no-media", "--only-post-body", "JSON回退版"});
    ASSERT_TRUE(forum.ok()) << forum.error();
    ForumHttp http(forum);
    auto h = TokenHeader(http.Login(LocalForumProcess::kUserMobile, LocalForumProcess::kUserPassword));
    Answer compat = http.Send("POST", "/api/post", PostBody(true, "长格式"), h);
    EXPECT_NE(compat.code(), 0);
    EXPECT_NE(compat.errMsg().find("JSON兼容版"), std::string::npos) << compat.body;
    Answer fallback = http.Send("POST", "/api/post", PostBody(false, "短格式"), h);
    ASSERT_EQ(fallback.code(), 0) << fallback.body;
    std::string id = std::to_string(fallback.data()["id"].GetInt());
    EXPECT_STREQ(http.Get("/api/post/" + id).data()["title"].GetString(), "短格式");
}

// Every other form of a pinned family is refused with 415 and a message
// naming the strict mode.
void ExpectRefused(ForumHttp& http, const std::string& method, const std::string& path,
                   const std::vector<std::string>& bodies, const httplib::Headers& headers) {
    for (const auto& body : bodies) {
        Answer a = http.Send(method, path, body, headers);
        EXPECT_EQ(a.code(), 415) << body << ": " << a.body;
        EXPECT_NE(a.errMsg().find("严格模式"), std::string::npos) << body << ": " << a.body;
    }
}

TEST(ForumStrict, OnlyThePinnedReportBodyIsTaken) {
    LocalForumProcess forum({"--no-media", "--only-report-body", "type=0,id"});
    ASSERT_TRUE(forum.ok()) << forum.error();
    ForumHttp http(forum);
    auto h = TokenHeader(http.Login(LocalForumProcess::kUserMobile, LocalForumProcess::kUserPassword));
    ExpectRefused(http, "POST", "/api/complaint",
                  {R"({"type":1,"objectId":1,"reason":"广告"})", R"({"type":1,"id":1,"reason":"广告"})",
                   R"({"type":0,"objectId":1,"reason":"广告"})"},
                  h);
    Answer taken = http.Send("POST", "/api/complaint", R"({"type":0,"id":1,"reason":"广告"})", h);
    EXPECT_EQ(taken.code(), 0) << taken.body;
}

TEST(ForumStrict, OnlyThePinnedMoveBodyIsTakenAndOnlyItMoves) {
    LocalForumProcess forum({"--no-media", "--only-move-body", "postId+targetSectionId"});
    ASSERT_TRUE(forum.ok()) << forum.error();
    ForumHttp http(forum);
    auto h = TokenHeader(http.Login(LocalForumProcess::kManagerMobile, LocalForumProcess::kManagerPassword));
    ASSERT_EQ(http.Get("/api/post/1").data()["sectionId"].GetInt(), 1);
    ExpectRefused(http, "PATCH", "/api/post/move",
                  {R"({"id":1,"sectionId":3})", R"({"id":1,"targetSectionId":3})", R"({"postId":1,"sectionId":3})"}, h);
    EXPECT_EQ(http.Get("/api/post/1").data()["sectionId"].GetInt(), 1);
    Answer taken = http.Send("PATCH", "/api/post/move", R"({"postId":1,"targetSectionId":2})", h);
    ASSERT_EQ(taken.code(), 0) << taken.body;
    EXPECT_EQ(http.Get("/api/post/1").data()["sectionId"].GetInt(), 2);
}

TEST(ForumStrict, OnlyThePinnedMessageBodyIsTakenAndOnlyItIsDelivered) {
    LocalForumProcess forum({"--no-media", "--only-message-body", "toUserId+body"});
    ASSERT_TRUE(forum.ok()) << forum.error();
    ForumHttp http(forum);
    auto h = TokenHeader(http.Login(LocalForumProcess::kUserMobile, LocalForumProcess::kUserPassword));
    auto inbox = [&] {
        auto orange = TokenHeader(http.Login("13800000007", "demo123"));
        return http.Get("/api/msg/my?pageNum=1&pageSize=20", orange).data()["total"].GetInt();
    };
    ExpectRefused(http, "POST", "/api/msg",
                  {R"({"rUserId":7,"content":"你好"})", R"({"userId":7,"body":"你好"})",
                   R"({"toUserId":7,"content":"你好"})", R"({"receiverId":7,"body":"你好"})"},
                  h);
    EXPECT_EQ(inbox(), 0);
    Answer taken = http.Send("POST", "/api/msg", R"({"toUserId":7,"body":"你好"})", h);
    ASSERT_EQ(taken.code(), 0) << taken.body;
    EXPECT_EQ(inbox(), 1);
}

TEST(ForumStrict, OnlyThePinnedVerifyBodyMakesACode) {
    LocalForumProcess forum({"--no-media", "--only-verify-body", "plain-text"});
    ASSERT_TRUE(forum.ok()) << forum.error();
    ForumHttp http(forum);
    const std::string mobile = "13900000456";
    ExpectRefused(http, "POST", "/api/verify-code",
                  {"\"" + mobile + "\"", mobile, R"({"mobile":")" + mobile + "\"}"}, {});
    EXPECT_EQ(forum.LastVerifyCode(mobile), "");
    Answer taken = http.Send("POST", "/api/verify-code", mobile, {}, "text/plain; charset=utf-8");
    ASSERT_EQ(taken.code(), 0) << taken.body;
    EXPECT_EQ(forum.LastVerifyCode(mobile).size(), 6u) << forum.log();
}

TEST(ForumStrict, UnknownFormsAreRefusedAtStart) {
    LocalForumProcess forum({"--no-media", "--only-session", "Cookie-Monster"});
    EXPECT_FALSE(forum.ok());
    EXPECT_NE(forum.error().find("unknown form"), std::string::npos) << forum.error();
}

TEST(ForumFaults, ChosenPathsBreakOthersStayWhole) {
    LocalForumProcess forum({"--no-media", "--fault", "/api/post/hot=html", "--fault", "/api/post/new=truncated",
                             "--fault", "/api/section=drop", "--fault", "/api/post/new-reply=delay:300"});
    ASSERT_TRUE(forum.ok()) << forum.error();
    ForumHttp http(forum);

    Answer html = http.Get("/api/post/hot?pageNum=1&pageSize=20");
    EXPECT_EQ(html.body.rfind("<!DOCTYPE html>", 0), 0u) << html.body;
    EXPECT_FALSE(html.parsed());

    Answer cut = http.Get("/api/post/new?pageNum=1&pageSize=20");
    EXPECT_EQ(cut.status, 200);
    EXPECT_EQ(cut.body.rfind("{\"code\":0", 0), 0u);
    EXPECT_FALSE(cut.parsed());

    Answer dropped = http.Get("/api/section");
    EXPECT_FALSE(dropped.parsed());

    auto start = std::chrono::steady_clock::now();
    Answer slow = http.Get("/api/post/new-reply?pageNum=1&pageSize=20");
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(300));
    EXPECT_EQ(slow.code(), 0);

    EXPECT_EQ(http.Get("/api/section/1?pageNum=1&pageSize=20").code(), 0);
    EXPECT_NE(forum.log().find("fault=html"), std::string::npos);
}

}  // namespace
}  // namespace qtest
