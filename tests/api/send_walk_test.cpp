// The attempt walks of SendGet and SendWithFallbacks, observed on the wire.
#include <gtest/gtest.h>

#include "api/api_client.h"
#include "client_fixture.h"

using apitest::ClientFor;
using apitest::U8;

namespace {

// The request's own header lines, without the protocol's Host,
// User-Agent and Content-Length.
std::vector<std::string> Ours(const qtest::RecordedRequest& req)
{
    std::vector<std::string> out;
    for (const auto& [n, v] : req.headers) {
        if (n != "Host" && n != "User-Agent" && n != "Content-Length") out.push_back(n + ": " + v);
    }
    return out;
}

std::vector<std::string> Targets(const qtest::HttpTestServer& server)
{
    std::vector<std::string> out;
    for (const auto& r : server.Requests()) out.push_back(r.target);
    return out;
}

using L = std::vector<std::string>;

TEST(SendGet, GuestTriesSevenHeaderSetsOnThePlainPath)
{
    qtest::HttpTestServer server;
    server.SetDefault(qtest::Fail(401, ""));
    rapidjson::Document doc;
    wxString msg;
    EXPECT_FALSE(ClientFor(server).SendGet(wxS("/api/me"), wxS(""), wxS(""), wxS("获取失败"), doc, msg));
    EXPECT_EQ(msg, wxS("获取失败（code=401）"));
    EXPECT_EQ(Targets(server), L(7, "/api/me"));
    EXPECT_EQ(Ours(server.Requests()[3]), (L{"Accept: application/json", "Authorization: Bearer"}));
}

TEST(SendGet, CookiesAloneMakeOneQuickSetAndOnePath)
{
    qtest::HttpTestServer server;
    server.SetDefault(qtest::Fail(-100));
    rapidjson::Document doc;
    wxString msg;
    EXPECT_FALSE(ClientFor(server).SendGet(wxS("/api/me"), wxS(""), wxS("S=1"), wxS("失败"), doc, msg));
    EXPECT_EQ(msg, wxS("失败（code=-100）"));
    const auto reqs = server.Requests();
    ASSERT_EQ(reqs.size(), 1u + 8u);
    EXPECT_EQ(Ours(reqs[0]), (L{"Accept: application/json", "Cookie: S=1"}));
    EXPECT_EQ(Ours(reqs[1]), (L{"Accept: application/json", "Authorization: ", "Cookie: S=1"}));
    EXPECT_EQ(Ours(reqs[8]), (L{"Accept: application/json", "Cookie: S=1"}));
    EXPECT_EQ(Targets(server), L(9, "/api/me"));
}

TEST(SendGet, QuickPhaseThenEveryPathWithEveryHeaderSet)
{
    qtest::HttpTestServer server;
    server.SetDefault(qtest::Fail(7, "拒绝"));
    rapidjson::Document doc;
    wxString msg;
    EXPECT_FALSE(ClientFor(server).SendGet(wxS("/api/me?x=1"), wxS("T"), wxS("S=1"), wxS("失败"), doc, msg));
    EXPECT_EQ(msg, wxS("拒绝"));
    const auto reqs = server.Requests();
    ASSERT_EQ(reqs.size(), 3u + 3u * 11u);
    EXPECT_EQ(Ours(reqs[0]), (L{"Accept: application/json", "Authorization: T", "Cookie: S=1"}));
    EXPECT_EQ(Ours(reqs[1]), (L{"Accept: application/json", "token: T", "Cookie: S=1"}));
    EXPECT_EQ(Ours(reqs[2]), (L{"Accept: application/json", "Cookie: S=1"}));
    for (size_t i = 0; i < 3; ++i) EXPECT_EQ(reqs[i].target, "/api/me?x=1");
    for (size_t i = 3; i < 14; ++i) EXPECT_EQ(reqs[i].target, "/api/me?x=1");
    for (size_t i = 14; i < 25; ++i) EXPECT_EQ(reqs[i].target, "/api/me?x=1&token=T");
    for (size_t i = 25; i < 36; ++i) EXPECT_EQ(reqs[i].target, "/api/me?x=1&accessToken=T");
    EXPECT_EQ(Ours(reqs[35]), (L{"Accept: application/json", "Authorization: T",
                                 "Cookie: token=T; accessToken=T; Authorization=T"}));
    for (const auto& r : reqs) EXPECT_EQ(r.method, "GET");
}

TEST(SendGet, FirstAcceptedAnswerEndsTheWalkWithItsDocument)
{
    qtest::HttpTestServer server;
    server.SetDefault(qtest::Fail(401, "未登录"));
    server.Answer("GET", "/api/me?token=T", qtest::Ok(R"({"name":"甲"})"));
    rapidjson::Document doc;
    wxString msg;
    ASSERT_TRUE(ClientFor(server).SendGet(wxS("/api/me"), wxS("T"), wxS(""), wxS("失败"), doc, msg));
    EXPECT_EQ(server.RequestCount(), 2u + 10u + 1u);
    EXPECT_EQ(doc["data"]["name"].GetString(), std::string("甲"));
}

TEST(SendGet, SilentServerCostsOneTimeOutNotOnePerForm)
{
    qtest::HttpTestServer server;
    server.SetDefault(qtest::Ok().WithDelay(std::chrono::seconds(5)));
    rapidjson::Document doc;
    wxString msg;
    EXPECT_FALSE(ClientFor(server).SendGet(wxS("/api/me"), wxS("T"), wxS("S=1"), wxS("失败"), doc, msg));
    EXPECT_EQ(msg, wxS("接收响应失败。"));
    EXPECT_EQ(server.RequestCount(), 1u);
}

TEST(SendWithFallbacks, NestsPathsOutsideVariantsOutsideRebuiltHeaderSets)
{
    qtest::HttpTestServer server;
    server.SetDefault(qtest::Fail(3, ""));
    const std::vector<BodyVariant> variants{
        {wxS("id+value"), wxS("application/json"), std::string(R"({"id":1})")},
        {wxS("无请求体"), wxS("application/json"), std::nullopt},
        {wxS("form"), wxS("application/x-www-form-urlencoded"), std::string("id=1")},
    };
    const ApiResult r = ClientFor(server).SendWithFallbacks(wxS("PUT"), wxS("/api/post/1/lock"), wxS("T"),
                                                           wxS("S=1"), variants, wxS("锁定失败"));
    EXPECT_FALSE(r.success);
    EXPECT_EQ(r.message, wxS("锁定失败（code=3）"));
    EXPECT_EQ(r.debugInfo, wxS("路径：/api/post/1/lock?accessToken=T\n方式：form\n返回：锁定失败（code=3）"));
    const auto reqs = server.Requests();
    ASSERT_EQ(reqs.size(), 3u * 3u * 11u);
    // First variant, first set: Content-Type last, after the session cookie.
    EXPECT_EQ(Ours(reqs[0]), (L{"Accept: application/json", "Authorization: T", "Cookie: S=1",
                                "Content-Type: application/json"}));
    EXPECT_EQ(reqs[0].body, R"({"id":1})");
    // Second variant: no body and no Content-Type.
    EXPECT_EQ(Ours(reqs[11]), (L{"Accept: application/json", "Authorization: T", "Cookie: S=1"}));
    EXPECT_EQ(reqs[11].body, "");
    EXPECT_EQ(reqs[11].Header("Content-Length"), "0");  // a PUT always carries a length
    EXPECT_EQ(Ours(reqs[32]).back(), "Content-Type: application/x-www-form-urlencoded");
    EXPECT_EQ(reqs[32].body, "id=1");
    EXPECT_EQ(reqs[32].target, "/api/post/1/lock");
    EXPECT_EQ(reqs[33].target, "/api/post/1/lock?token=T");
    EXPECT_EQ(reqs[33].body, R"({"id":1})");
    for (const auto& req : reqs) EXPECT_EQ(req.method, "PUT");
}

TEST(SendWithFallbacks, FirstSuccessStops)
{
    qtest::HttpTestServer server;
    int seen = 0;
    server.SetHandler([&](const qtest::RecordedRequest&) { return ++seen == 5 ? qtest::Ok() : qtest::Fail(9, "x"); });
    const ApiResult r = ClientFor(server).SendWithoutBody(wxS("DELETE"), wxS("/api/post/-5"), wxS(""),
                                                         wxS(""), wxS("删除失败"));
    EXPECT_TRUE(r.success);
    EXPECT_EQ(server.RequestCount(), 5u);
    EXPECT_EQ(Ours(server.Requests()[4]), (L{"Accept: application/json", "authentication: "}));
    EXPECT_FALSE(server.Requests()[4].HasHeader("Content-Length"));  // DELETE without body
}

TEST(SendWithFallbacks, NoVariantsReportTheFailureText)
{
    qtest::HttpTestServer server;
    const ApiResult r = ClientFor(server).SendWithFallbacks(wxS("POST"), wxS("/api/x"), wxS("T"), wxS(""), {},
                                                           wxS("发送失败"));
    EXPECT_FALSE(r.success);
    EXPECT_EQ(r.message, wxS("发送失败"));
    EXPECT_EQ(r.debugInfo, wxS(""));
    EXPECT_EQ(server.RequestCount(), 0u);
}

TEST(SendWithFallbacks, AConnectionDroppedAfterSendingOrAnUnreachableServerStopsTheWalk)
{
    qtest::HttpTestServer server;
    server.SetDefault(qtest::Fail(404, "").WithCut(qtest::ScriptedAnswer::Cut::CloseBeforeAnswer));
    const ApiClient reachable = ClientFor(server);
    const ApiResult broken = reachable.SendWithoutBody(wxS("POST"), wxS("/api/x"), wxS(""), wxS(""), wxS("失败"));
    EXPECT_EQ(broken.message, wxS("接收响应失败。"));
    EXPECT_EQ(server.RequestCount(), 1u);  // the write may have been done: never twice

    ApiClient gone(ServerEndpoint{wxS("127.0.0.1"), qtest::UnusedLoopbackPort()});
    const ApiResult r = gone.SendWithoutBody(wxS("POST"), wxS("/api/x"), wxS("T"), wxS("S=1"), wxS("失败"));
    EXPECT_FALSE(r.success);
    EXPECT_EQ(r.message, wxS("连接服务器失败。"));
    EXPECT_EQ(r.debugInfo, wxS("路径：/api/x\n方式：无请求体\n返回：连接服务器失败。"));

    rapidjson::Document doc;
    wxString msg;
    EXPECT_FALSE(gone.SendGet(wxS("/api/me"), wxS("T"), wxS("S=1"), wxS("失败"), doc, msg));
    EXPECT_EQ(msg, wxS("连接服务器失败。"));
}

TEST(SendWithFallbacks, SilentServerCostsOneTimeOutNotOnePerForm)
{
    qtest::HttpTestServer server;
    server.SetDefault(qtest::Ok().WithDelay(std::chrono::seconds(5)));
    const auto start = std::chrono::steady_clock::now();
    const ApiResult r = ClientFor(server).SendWithoutBody(wxS("POST"), wxS("/api/x"), wxS("T"), wxS(""), wxS("失败"));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(4));
    EXPECT_FALSE(r.success);
    EXPECT_EQ(r.message, wxS("接收响应失败。"));
    EXPECT_EQ(server.RequestCount(), 1u);
}

}  // namespace
