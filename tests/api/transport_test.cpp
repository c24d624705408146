// SendRequest against a real loopback server: what goes onto the wire and
// how each kind of failure is reported.
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <thread>

#include "api/api_client.h"
#include "client_fixture.h"

using apitest::ClientFor;
using apitest::U8;
using qtest::HeaderPairs;
using qtest::ScriptedAnswer;

namespace {

TEST(Transport, SendsExactlyTheGivenHeadersInOrderWithDuplicates)
{
    qtest::HttpTestServer server;
    server.Answer("PATCH", "/api/x", qtest::Ok());
    const HeaderList headers{{wxS("Accept"), wxS("application/json")},
                             {wxS("token"), wxS("T1")},
                             {wxS("Cookie"), wxS("a=1")},
                             {wxS("token"), wxS("T2")},
                             {wxS("Content-Type"), wxS("text/plain")}};
    const HttpResponse r = ClientFor(server).SendRequest(wxS("PATCH"), wxS("/api/x?q=1&r=2"), headers,
                                                         std::string("b\0dy", 4));
    ASSERT_TRUE(r.ok) << U8(r.error);
    const auto req = server.Requests().at(0);
    EXPECT_EQ(req.method, "PATCH");
    EXPECT_EQ(req.target, "/api/x?q=1&r=2");
    EXPECT_EQ(req.version, "HTTP/1.1");
    EXPECT_EQ(req.body, std::string("b\0dy", 4));
    const HeaderPairs expected{{"Host", "127.0.0.1:" + std::to_string(server.Port())},
                               {"User-Agent", "QuilleryCommunity/1.0"},
                               {"Accept", "application/json"},
                               {"token", "T1"},
                               {"Cookie", "a=1"},
                               {"token", "T2"},
                               {"Content-Type", "text/plain"},
                               {"Content-Length", "4"}};
    HeaderPairs got = req.headers;
    // Host, User-Agent and Content-Length are the protocol's own; their
    // place among the lines is libcurl's choice.
    std::sort(got.begin(), got.end());
    HeaderPairs sortedExpected = expected;
    std::sort(sortedExpected.begin(), sortedExpected.end());
    EXPECT_EQ(got, sortedExpected);
    std::vector<std::string> ours;
    for (const auto& [n, v] : req.headers) {
        if (n != "Host" && n != "User-Agent" && n != "Content-Length") ours.push_back(n + ": " + v);
    }
    EXPECT_EQ(ours, (std::vector<std::string>{"Accept: application/json", "token: T1", "Cookie: a=1",
                                              "token: T2", "Content-Type: text/plain"}));
}

TEST(Transport, AddsNoDefaultsAndHandlesEmptyBodiesPerMethod)
{
    qtest::HttpTestServer server;
    server.SetDefault(qtest::Ok());
    const ApiClient client = ClientFor(server);
    ASSERT_TRUE(client.SendRequest(wxS("GET"), wxS("/g"), {}, {}).ok);
    ASSERT_TRUE(client.SendRequest(wxS("DELETE"), wxS("/d"), {}, {}).ok);
    ASSERT_TRUE(client.SendRequest(wxS("POST"), wxS("/p"), {}, {}).ok);
    ASSERT_TRUE(client.SendRequest(wxS("PUT"), wxS("/u"), {}, "{\"a\":1}").ok);
    const auto reqs = server.Requests();
    ASSERT_EQ(reqs.size(), 4u);
    for (const auto& req : reqs) {
        SCOPED_TRACE(req.method);
        EXPECT_FALSE(req.HasHeader("Accept"));
        EXPECT_FALSE(req.HasHeader("Expect"));
        EXPECT_FALSE(req.HasHeader("Content-Type"));
        EXPECT_FALSE(req.HasHeader("Transfer-Encoding"));
    }
    EXPECT_EQ(reqs[0].HeaderNames(), (std::vector<std::string>{"Host", "User-Agent"}));
    EXPECT_EQ(reqs[1].method, "DELETE");
    EXPECT_FALSE(reqs[1].HasHeader("Content-Length"));
    EXPECT_EQ(reqs[2].method, "POST");
    EXPECT_EQ(reqs[2].Header("Content-Length"), "0");
    EXPECT_EQ(reqs[2].body, "");
    EXPECT_EQ(reqs[3].method, "PUT");
    EXPECT_EQ(reqs[3].body, "{\"a\":1}");
}

TEST(Transport, EmptyHeaderValuesStillTravel)
{
    qtest::HttpTestServer server;
    server.SetDefault(qtest::Ok());
    ClientFor(server).SendRequest(wxS("GET"), wxS("/e"),
                                  {{wxS("Authorization"), wxS("")}, {wxS("X"), wxS("Bearer ")}}, {});
    const auto req = server.Requests().at(0);
    ASSERT_TRUE(req.HasHeader("Authorization"));
    EXPECT_EQ(req.Header("Authorization"), "");
    EXPECT_NE(req.head.find("\r\nAuthorization:\r\n"), std::string::npos) << req.head;
    EXPECT_NE(req.head.find("\r\nX: Bearer \r\n"), std::string::npos) << req.head;
}

TEST(Transport, ReturnsStatusCookiesAndWholeBodyOfAnyAnswer)
{
    qtest::HttpTestServer server;
    std::string big(3 * 1024 * 1024, 'x');
    server.Answer("GET", "/big", ScriptedAnswer{200, {}, big});
    server.Answer("GET", "/missing",
                  qtest::Fail(404, "没有")
                      .WithStatus(404)
                      .WithCookie("SESSION=abc; Path=/; HttpOnly")
                      .WithHeader("set-cookie", "  remember=1;Max-Age=60")
                      .WithCookie("SESSION=def"));
    const ApiClient client = ClientFor(server);
    const HttpResponse b = client.SendRequest(wxS("GET"), wxS("/big"), {}, {});
    EXPECT_TRUE(b.ok);
    EXPECT_EQ(b.body.size(), big.size());
    EXPECT_EQ(b.body, big);
    EXPECT_EQ(b.cookies, wxS(""));

    const HttpResponse m = client.SendRequest(wxS("GET"), wxS("/missing"), {}, {});
    EXPECT_TRUE(m.ok);
    EXPECT_EQ(m.statusCode, 404u);
    EXPECT_EQ(m.error, wxS(""));
    EXPECT_EQ(m.cookies, wxS("SESSION=abc; remember=1; SESSION=def"));
    EXPECT_EQ(m.body, R"({"code":404,"errMsg":"没有"})");
}

TEST(Transport, CookiesSurviveHeadLinesEndedByBareLineFeeds)
{
    qtest::HttpTestServer server;
    server.Answer("POST", "/api/user/login",
                  qtest::Ok(R"("tok")")
                      .WithCookie("SESSION=abc; Path=/")
                      .WithCookie("remember=1")
                      .WithBareLineFeeds());
    const HttpResponse r = ClientFor(server).SendRequest(wxS("POST"), wxS("/api/user/login"), {}, "{}");
    ASSERT_TRUE(r.ok) << U8(r.error);
    EXPECT_EQ(r.statusCode, 200u);
    EXPECT_EQ(r.cookies, wxS("SESSION=abc; remember=1"));
    EXPECT_EQ(r.body, R"({"code":0,"errMsg":"","data":"tok"})");
}

TEST(Transport, RefusedConnectionIsUnreachable)
{
    ApiClient client(ServerEndpoint{wxS("127.0.0.1"), qtest::UnusedLoopbackPort()});
    const HttpResponse r = client.SendRequest(wxS("GET"), wxS("/x"), {}, {});
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.statusCode, 0u);
    EXPECT_EQ(r.error, wxS("连接服务器失败。"));
    EXPECT_TRUE(r.unreachable);
}

TEST(Transport, UnresolvableHostIsUnreachable)
{
    ApiClient client(ServerEndpoint{wxS("no-such-host.invalid"), 80});
    client.SetTimeouts(platform::HttpTimeouts{1500, 1000});
    const HttpResponse r = client.SendRequest(wxS("GET"), wxS("/x"), {}, {});
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.error, wxS("连接服务器失败。"));
    EXPECT_TRUE(r.unreachable);
}

TEST(Transport, BrokenAnswersNameTheStepThatFailed)
{
    qtest::HttpTestServer server;
    const std::string body = R"({"code":0,"data":"0123456789abcdef"})";
    server.Answer("GET", "/nothing", ScriptedAnswer{}.WithCut(ScriptedAnswer::Cut::CloseBeforeAnswer));
    server.Answer("GET", "/half", ScriptedAnswer{200, {}, body}.WithCut(ScriptedAnswer::Cut::CloseMidBody));
    const ApiClient client = ClientFor(server);

    const HttpResponse nothing = client.SendRequest(wxS("GET"), wxS("/nothing"), {}, {});
    EXPECT_FALSE(nothing.ok);
    EXPECT_EQ(nothing.error, wxS("接收响应失败。"));
    EXPECT_FALSE(nothing.unreachable);  // it answered, if badly: other forms may do better

    const HttpResponse half = client.SendRequest(wxS("GET"), wxS("/half"), {}, {});
    EXPECT_FALSE(half.ok);
    EXPECT_EQ(half.error, wxS("读取响应失败。"));
    EXPECT_EQ(half.statusCode, 200u);
    EXPECT_EQ(half.body, body.substr(0, body.size() / 2));
    EXPECT_FALSE(half.unreachable);
}

TEST(Transport, SilentServerTimesOutInsteadOfHanging)
{
    qtest::HttpTestServer server;
    server.Answer("GET", "/slow", qtest::Ok().WithDelay(std::chrono::seconds(4)));
    server.Answer("GET", "/stall", ScriptedAnswer{200, {}, std::string(64, 'y')}.WithCut(
                                       ScriptedAnswer::Cut::StallMidBody));
    const ApiClient client = ClientFor(server);  // 1 s without progress

    auto start = std::chrono::steady_clock::now();
    const HttpResponse slow = client.SendRequest(wxS("GET"), wxS("/slow"), {}, {});
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3));
    EXPECT_FALSE(slow.ok);
    EXPECT_EQ(slow.error, wxS("接收响应失败。"));
    EXPECT_TRUE(slow.unreachable);

    start = std::chrono::steady_clock::now();
    const HttpResponse stall = client.SendRequest(wxS("GET"), wxS("/stall"), {}, {});
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3));
    EXPECT_FALSE(stall.ok);
    EXPECT_EQ(stall.error, wxS("读取响应失败。"));
    EXPECT_EQ(stall.body, std::string(32, 'y'));
    EXPECT_TRUE(stall.unreachable);
}

TEST(Transport, LineBreaksInRequestPartsAreRefusedBeforeSending)
{
    qtest::HttpTestServer server;
    server.SetDefault(qtest::Ok());
    const ApiClient client = ClientFor(server);
    const HttpResponse header = client.SendRequest(
        wxS("GET"), wxS("/x"), {{wxS("token"), wxS("t\r\nX-Admin: 1")}}, {});
    const HttpResponse target = client.SendRequest(wxS("GET"), wxS("/x?token=a b"), {}, {});
    const HttpResponse method = client.SendRequest(wxS("GE T"), wxS("/x"), {}, {});
    for (const HttpResponse* r : {&header, &target, &method}) {
        EXPECT_FALSE(r->ok);
        EXPECT_EQ(r->error, wxS("创建请求失败。"));
        EXPECT_FALSE(r->unreachable);
    }
    EXPECT_EQ(server.RequestCount(), 0u);
}

TEST(Transport, ConcurrentCallsAreIndependent)
{
    qtest::HttpTestServer server;
    server.SetHandler([](const qtest::RecordedRequest& req) { return qtest::Ok("\"" + req.Path() + "\""); });
    const ApiClient client = ClientFor(server);
    std::vector<std::string> bodies(8);
    std::vector<std::thread> threads;
    for (size_t i = 0; i < bodies.size(); ++i) {
        threads.emplace_back([&, i] {
            bodies[i] = client.SendRequest(wxS("GET"), wxString::Format("/t%zu", i), {}, {}).body;
        });
    }
    for (auto& t : threads) t.join();
    for (size_t i = 0; i < bodies.size(); ++i) {
        EXPECT_EQ(bodies[i], R"({"code":0,"errMsg":"","data":"/t)" + std::to_string(i) + "\"}");
    }
}

}  // namespace

namespace {

// A listener that never accepts: once its queue is full, further
// connection attempts get no answer at all, like a host that drops packets.
class BlackHole {
public:
    BlackHole()
    {
        fd_ = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t len = sizeof addr;
        ::bind(fd_, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
        ::listen(fd_, 0);
        ::getsockname(fd_, reinterpret_cast<sockaddr*>(&addr), &len);
        port_ = ntohs(addr.sin_port);
        // Fill the queue with connections nobody accepts.
        for (int i = 0; i < 4; ++i) {
            const int c = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0);
            ::connect(c, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
            fillers_.push_back(c);
        }
    }
    ~BlackHole()
    {
        for (int c : fillers_) ::close(c);
        ::close(fd_);
    }
    int port() const { return port_; }

private:
    int fd_ = -1;
    int port_ = 0;
    std::vector<int> fillers_;
};

TEST(Transport, ConnectTimeOutIsUnreachableAndBounded)
{
    BlackHole hole;
    ApiClient client(ServerEndpoint{wxS("127.0.0.1"), hole.port()});
    client.SetTimeouts(platform::HttpTimeouts{500, 1000});
    const auto start = std::chrono::steady_clock::now();
    const ApiResult r = client.SendWithoutBody(wxS("POST"), wxS("/api/x"), wxS("T"), wxS("S=1"), wxS("失败"));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3));
    EXPECT_FALSE(r.success);
    EXPECT_EQ(r.message, wxS("连接服务器失败。"));
}

// The test server itself: a request whose length cannot be read must cost
// only its own connection, never the test process, and the server goes on.
TEST(TestServer, UnreadableLengthsCloseOnlyTheirConnection)
{
    qtest::HttpTestServer server;
    server.Answer("GET", "/still", qtest::Ok());
    const char* broken[] = {
        "POST /x HTTP/1.1\r\nHost: a\r\nContent-Length: many\r\n\r\nbody",
        "POST /x HTTP/1.1\r\nHost: a\r\nContent-Length: 99999999999999999999999\r\n\r\nbody",
        "POST /x HTTP/1.1\r\nHost: a\r\nTransfer-Encoding: chunked\r\n\r\nzz\r\nbody\r\n0\r\n\r\n",
    };
    for (const char* request : broken) {
        const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
        ASSERT_GE(fd, 0);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_port = htons(static_cast<uint16_t>(server.Port()));
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ASSERT_EQ(::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
        ASSERT_GT(::send(fd, request, strlen(request), MSG_NOSIGNAL), 0);
        char buf[256];
        EXPECT_EQ(::recv(fd, buf, sizeof buf, 0), 0) << request;  // closed without an answer
        ::close(fd);
    }
    const HttpResponse r = ClientFor(server).SendRequest(wxS("GET"), wxS("/still"), {}, {});
    EXPECT_TRUE(r.ok) << U8(r.error);
    EXPECT_EQ(r.statusCode, 200u);
}

}  // namespace
