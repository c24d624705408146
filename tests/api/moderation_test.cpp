// The moderation, complaint, move and message calls on the wire: which
// method and path, which bodies in which order, and what a failure says.
#include <functional>

#include <gtest/gtest.h>

#include "api/api_client.h"
#include "api/moderation_variants.h"
#include "client_fixture.h"

using apitest::ClientFor;
using apitest::U8;

namespace {

using L = std::vector<std::string>;

// The body of the first attempt of each variant, in the order sent.
L BodiesPerVariant(const qtest::HttpTestServer& server, size_t headerSets)
{
    L out;
    const auto reqs = server.Requests();
    for (size_t i = 0; i < reqs.size(); i += headerSets) out.push_back(reqs[i].body);
    return out;
}

TEST(Moderation, ToggleThatOnlyItsLastFormPassesWalksEveryStatedFormFirst)
{
    qtest::HttpTestServer server;
    server.SetHandler([](const qtest::RecordedRequest& r) {
        return r.body == R"({"id":5})" ? qtest::Ok() : qtest::Fail(415, "不支持的请求体");
    });
    const ApiResult r = ClientFor(server).SetEssence(wxS("T"), wxS("S=1"), 5, false);
    EXPECT_TRUE(r.success) << U8(r.message);
    // Seven stated forms × eleven header sets refused, then the first
    // header set of the id-only form.
    ASSERT_EQ(server.RequestCount(), 7u * 11u + 1u);
    EXPECT_EQ(BodiesPerVariant(server, 11),
              (L{R"({"id":5,"value":false})", R"({"id":5,"status":0})", R"({"id":5,"enabled":false})",
                 R"({"id":5,"essence":0})", R"({"postId":5,"value":false})", R"({"postId":5,"status":0})",
                 R"({"postId":5,"essence":0})", R"({"id":5})"}));
    for (const auto& req : server.Requests()) {
        EXPECT_EQ(req.method, "PATCH");
        EXPECT_EQ(req.target, "/api/post/essence");
        EXPECT_EQ(req.Header("Content-Type"), "application/json");
    }
}

TEST(Moderation, TotalFailureNamesTheLastPathAndForm)
{
    qtest::HttpTestServer server;
    server.SetDefault(qtest::Fail(403, "你不是该版块的版主"));
    const ApiResult r = ClientFor(server).SetTop(wxS("T"), wxS(""), 8, true);
    EXPECT_FALSE(r.success);
    EXPECT_EQ(r.message, wxS("你不是该版块的版主"));
    EXPECT_EQ(r.debugInfo, wxS("路径：/api/post/top?accessToken=T\n方式：id\n返回：你不是该版块的版主"));
    EXPECT_EQ(server.RequestCount(), 3u * 8u * 10u);  // paths × forms × header sets (token only)
    EXPECT_EQ(server.Requests()[0].body, R"({"id":8,"value":true})");
}

// One row per call: how it goes out and what its failure says when the
// server refuses without a message (a guest, so seven header sets).
struct Row {
    const char* name;
    std::function<ApiResult(const ApiClient&)> call;
    std::string method;
    std::string target;
    L bodies;  // first attempt of each form; {""} for the bodiless calls
    const wchar_t* failure;
};

TEST(Moderation, EveryCallSendsItsFormsToItsPathAndNamesItsFailure)
{
    const wxString t, c;
    const std::vector<Row> rows = {
        {"lock on", [&](const ApiClient& a) { return a.SetLocked(t, c, 4, true); }, "PATCH", "/api/post/lock",
         {R"({"id":4,"value":true})", R"({"id":4,"status":1})", R"({"id":4,"enabled":true})", R"({"id":4,"lock":1})",
          R"({"postId":4,"value":true})", R"({"postId":4,"status":1})", R"({"postId":4,"lock":1})", R"({"id":4})"},
         L"锁定帖子失败（code=9）"},
        {"lock off", [&](const ApiClient& a) { return a.SetLocked(t, c, 4, false); }, "PATCH", "/api/post/lock",
         {}, L"取消锁定失败（code=9）"},
        {"sink on", [&](const ApiClient& a) { return a.SetSunk(t, c, 4, true); }, "PATCH", "/api/post/sink",
         {}, L"沉底帖子失败（code=9）"},
        {"sink off", [&](const ApiClient& a) { return a.SetSunk(t, c, 4, false); }, "PATCH", "/api/post/sink",
         {}, L"取消沉底失败（code=9）"},
        {"top off", [&](const ApiClient& a) { return a.SetTop(t, c, 4, false); }, "PATCH", "/api/post/top",
         {}, L"取消置顶失败（code=9）"},
        {"essence on", [&](const ApiClient& a) { return a.SetEssence(t, c, 4, true); }, "PATCH",
         "/api/post/essence", {}, L"设为精华失败（code=9）"},
        {"shield", [&](const ApiClient& a) { return a.SetShielded(t, c, -5, true); }, "PATCH",
         "/api/post/-5/shield", {""}, L"屏蔽帖子失败（code=9）"},
        {"unshield", [&](const ApiClient& a) { return a.SetShielded(t, c, 5, false); }, "PATCH",
         "/api/post/5/unshield", {""}, L"取消屏蔽失败（code=9）"},
        {"top-all [7]", [&](const ApiClient& a) { return a.SetTopAll(t, c, 5, true, {7}); }, "POST",
         "/api/post/5/top-all", {"[7]"}, L"全局置顶失败（code=9）"},
        {"top-all none", [&](const ApiClient& a) { return a.SetTopAll(t, c, 5, true, {}); }, "POST",
         "/api/post/5/top-all", {"[0]"}, L"全局置顶失败（code=9）"},
        {"top-all off", [&](const ApiClient& a) { return a.SetTopAll(t, c, 5, false, {3, 7}); }, "DELETE",
         "/api/post/5/top-all", {""}, L"取消全局置顶失败（code=9）"},
        {"ban", [&](const ApiClient& a) { return a.SetBanned(t, c, 6, true); }, "PATCH", "/api/user/6/ban",
         {""}, L"封禁失败（code=9）"},
        {"lift ban", [&](const ApiClient& a) { return a.SetBanned(t, c, 6, false); }, "PATCH",
         "/api/user/6/cancelBan", {""}, L"取消封禁失败（code=9）"},
        {"silence", [&](const ApiClient& a) { return a.SetSilenced(t, c, 6, true); }, "PATCH",
         "/api/user/6/silence", {""}, L"禁言失败（code=9）"},
        {"lift silence", [&](const ApiClient& a) { return a.SetSilenced(t, c, 6, false); }, "PATCH",
         "/api/user/6/cancelSilence", {""}, L"取消禁言失败（code=9）"},
        {"report", [&](const ApiClient& a) { return a.ReportPost(t, c, 9, wxS("第一行\n第二行\"")); }, "POST",
         "/api/complaint",
         {R"({"type":1,"objectId":9,"reason":"第一行\n第二行\""})", R"({"type":1,"id":9,"reason":"第一行\n第二行\""})",
          R"({"type":0,"objectId":9,"reason":"第一行\n第二行\""})", R"({"type":0,"id":9,"reason":"第一行\n第二行\""})"},
         L"举报帖子失败（code=9）"},
        {"move", [&](const ApiClient& a) { return a.MovePost(t, c, 9, 2); }, "PATCH", "/api/post/move",
         {R"({"id":9,"sectionId":2})", R"({"id":9,"targetSectionId":2})", R"({"postId":9,"sectionId":2})",
          R"({"postId":9,"targetSectionId":2})"},
         L"移动帖子失败（code=9）"},
        {"message", [&](const ApiClient& a) { return a.SendSiteMessage(t, c, 6, wxS("你好")); }, "POST", "/api/msg",
         {R"({"rUserId":6,"content":"你好"})", R"({"rUserId":6,"body":"你好"})", R"({"userId":6,"content":"你好"})",
          R"({"userId":6,"body":"你好"})", R"({"toUserId":6,"content":"你好"})", R"({"toUserId":6,"body":"你好"})",
          R"({"receiverId":6,"content":"你好"})", R"({"receiverId":6,"body":"你好"})"},
         L"发送站内消息失败（code=9）"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        qtest::HttpTestServer server;
        server.SetDefault(qtest::Fail(9));
        const ApiResult r = row.call(ClientFor(server));
        EXPECT_FALSE(r.success);
        EXPECT_EQ(U8(r.message), U8(wxString(row.failure)));
        const auto reqs = server.Requests();
        ASSERT_FALSE(reqs.empty());
        for (const auto& req : reqs) {
            EXPECT_EQ(req.method, row.method);
            EXPECT_EQ(req.target, row.target);
        }
        const L bodies = BodiesPerVariant(server, 7);
        if (!row.bodies.empty()) EXPECT_EQ(bodies, row.bodies);
        else EXPECT_EQ(bodies.size(), 8u);  // a toggle: its eight forms
        if (row.bodies == L{""}) {
            EXPECT_FALSE(reqs[0].HasHeader("Content-Type"));
            EXPECT_EQ(r.debugInfo.AfterFirst('\n').BeforeFirst('\n'), wxS("方式：无请求体"));
        }
    }
}

TEST(Moderation, FormLabelsComeInTheOrderOffered)
{
    auto labels = [](const std::vector<BodyVariant>& v) {
        L out;
        for (const auto& b : v) out.push_back(U8(b.label));
        return out;
    };
    EXPECT_EQ(labels(ToggleVariants(1, true, "sink")),
              (L{"id+value", "id+status", "id+enabled", "id+sink", "postId+value", "postId+status", "postId+sink",
                 "id"}));
    EXPECT_EQ(labels(TopAllVariants({3, 7})), (L{"sectionIdArray"}));
    EXPECT_EQ(labels(ComplaintVariants(1, wxS("x"))), (L{"type=1,objectId", "type=1,id", "type=0,objectId", "type=0,id"}));
    EXPECT_EQ(labels(MoveVariants(1, 2)),
              (L{"id+sectionId", "id+targetSectionId", "postId+sectionId", "postId+targetSectionId"}));
    EXPECT_EQ(labels(MessageVariants(1, wxS("x"))),
              (L{"rUserId+content", "rUserId+body", "userId+content", "userId+body", "toUserId+content",
                 "toUserId+body", "receiverId+content", "receiverId+body"}));
}

TEST(Moderation, MessageAcceptedByItsThirdFormStopsThere)
{
    qtest::HttpTestServer server;
    server.SetHandler([](const qtest::RecordedRequest& r) {
        return r.body.find("\"userId\"") != std::string::npos ? qtest::Ok() : qtest::Fail(415, "x");
    });
    const ApiResult r = ClientFor(server).SendSiteMessage(wxS(""), wxS("S=1"), 6, wxS("在吗"));
    EXPECT_TRUE(r.success);
    ASSERT_EQ(server.RequestCount(), 2u * 8u + 1u);  // cookies only: eight header sets
    EXPECT_EQ(server.Requests().back().body, R"({"userId":6,"content":"在吗"})");
}

}  // namespace
