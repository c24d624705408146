// SendRequest through the system's proxy, against servers that answer
// something other than HTTP, too much or too slowly, and with head lines
// in mixed encodings.
#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>

#include "api/api_client.h"
#include "client_fixture.h"
#include "support/loopback_proxy.h"

using apitest::ClientFor;
using apitest::U8;
using qtest::ScriptedAnswer;

namespace {

// Sets environment variables for one test and puts the old values back.
class EnvGuard {
public:
    ~EnvGuard()
    {
        for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) {
            if (it->second) {
                ::setenv(it->first.c_str(), it->second->c_str(), 1);
            } else {
                ::unsetenv(it->first.c_str());
            }
        }
    }
    void Set(const std::string& name, const char* value)
    {
        const char* old = std::getenv(name.c_str());
        saved_.emplace_back(name, old ? std::optional<std::string>(old) : std::nullopt);
        if (value) {
            ::setenv(name.c_str(), value, 1);
        } else {
            ::unsetenv(name.c_str());
        }
    }

private:
    std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

void ClearProxyEnvironment(EnvGuard& env)
{
    for (const char* name : {"http_proxy", "HTTP_PROXY", "all_proxy", "ALL_PROXY", "no_proxy", "NO_PROXY"}) {
        env.Set(name, nullptr);
    }
}

TEST(Proxy, EnvironmentDecidesPerHost)
{
    struct Row {
        const char* httpProxy;
        const char* allProxy;
        const char* noProxy;
        const char* host;
        const char* expected;
    };
    const Row rows[] = {
        {nullptr, nullptr, nullptr, "forum.example.org", ""},
        {"http://p:3128", nullptr, nullptr, "forum.example.org", "http://p:3128"},
        {nullptr, "socks5://s:1080", nullptr, "forum.example.org", "socks5://s:1080"},
        {"http://p:3128", "socks5://s:1080", nullptr, "forum.example.org", "http://p:3128"},
        {"http://p:3128", nullptr, "example.org", "forum.example.org", ""},
        {"http://p:3128", nullptr, ".example.org", "forum.example.org", ""},
        {"http://p:3128", nullptr, "localhost, Forum.Example.ORG", "forum.example.org", ""},
        {"http://p:3128", nullptr, "ample.org", "forum.example.org", "http://p:3128"},
        {"http://p:3128", nullptr, "*", "forum.example.org", ""},
        {"http://p:3128", nullptr, "127.0.0.1", "127.0.0.1", ""},
        {"http://p:3128", nullptr, "127.0.0.2,::1", "127.0.0.1", "http://p:3128"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.host) + " no_proxy=" + (row.noProxy ? row.noProxy : "-"));
        EnvGuard env;
        ClearProxyEnvironment(env);
        env.Set("http_proxy", row.httpProxy);
        env.Set("all_proxy", row.allProxy);
        env.Set("no_proxy", row.noProxy);
        EXPECT_EQ(platform::ProxyForHost(row.host), row.expected);
    }
    EnvGuard env;
    ClearProxyEnvironment(env);
    env.Set("HTTP_PROXY", "http://p:3128");  // may come from a web server's request
    EXPECT_EQ(platform::ProxyForHost("forum.example.org"), "");
}

TEST(Proxy, RequestsTravelThroughTheSystemProxy)
{
    qtest::HttpTestServer server;
    qtest::LoopbackProxy proxy;
    server.Answer("POST", "/api/x?q=1&r=2", qtest::Ok(R"("via")").WithCookie("SESSION=abc; Path=/"));
    EnvGuard env;
    ClearProxyEnvironment(env);
    env.Set("http_proxy", proxy.Url().c_str());
    const ApiClient client = ClientFor(server);

    const HttpResponse r = client.SendRequest(wxS("POST"), wxS("/api/x?q=1&r=2"),
                                              {{wxS("token"), wxS("T")}}, "{\"a\":1}");
    ASSERT_TRUE(r.ok) << U8(r.error);
    EXPECT_EQ(r.statusCode, 200u);
    EXPECT_EQ(r.body, R"({"code":0,"errMsg":"","data":"via"})");
    EXPECT_EQ(r.cookies, wxS("SESSION=abc"));
    ASSERT_EQ(proxy.Heads().size(), 1u);
    const std::string head = proxy.Heads().at(0);
    const std::string origin = "http://127.0.0.1:" + std::to_string(server.Port());
    EXPECT_EQ(head.substr(0, head.find("\r\n")), "POST " + origin + "/api/x?q=1&r=2 HTTP/1.1");
    EXPECT_EQ(head.find("Proxy-Connection"), std::string::npos) << head;
    const auto req = server.Requests().at(0);
    EXPECT_EQ(req.target, "/api/x?q=1&r=2");
    EXPECT_EQ(req.Header("token"), "T");
    EXPECT_EQ(req.body, "{\"a\":1}");

    // A host the system exempts goes straight to the server.
    env.Set("no_proxy", "localhost,127.0.0.1");
    ASSERT_TRUE(client.SendRequest(wxS("POST"), wxS("/api/x?q=1&r=2"), {}, "{}").ok);
    EXPECT_EQ(proxy.Heads().size(), 1u);
    EXPECT_EQ(server.RequestCount(), 2u);
}

TEST(Transport, AnAnswerInAnotherProtocolIsAReceiveFailure)
{
    qtest::HttpTestServer server;
    server.Answer("GET", "/ssh", ScriptedAnswer{200, {}, "SSH-2.0-OpenSSH_9.2p1\r\n"}.WithoutHead());
    server.Answer("GET", "/bin", ScriptedAnswer{200, {}, std::string("\0\x01\xFF garbage\n\n", 13)}.WithoutHead());
    const ApiClient client = ClientFor(server);
    for (const wxString path : {wxS("/ssh"), wxS("/bin")}) {
        SCOPED_TRACE(U8(path));
        const HttpResponse r = client.SendRequest(wxS("GET"), path, {}, {});
        EXPECT_FALSE(r.ok);
        EXPECT_EQ(r.error, wxS("接收响应失败。"));
        EXPECT_FALSE(r.unreachable);
    }
}

TEST(Transport, AnswersBeyondTheSizeLimitAreRefused)
{
    qtest::HttpTestServer server;
    server.Answer("GET", "/fits", ScriptedAnswer{200, {}, std::string(1000, 'a')});
    server.Answer("GET", "/big", ScriptedAnswer{200, {}, std::string(1001, 'b')});
    server.Answer("GET", "/head", qtest::Ok().WithHeader("X-Filler", std::string(1200, 'h')));
    ApiClient client = ClientFor(server);
    client.SetBodyLimit(1000);

    const HttpResponse fits = client.SendRequest(wxS("GET"), wxS("/fits"), {}, {});
    EXPECT_TRUE(fits.ok) << U8(fits.error);
    EXPECT_EQ(fits.body.size(), 1000u);

    const HttpResponse big = client.SendRequest(wxS("GET"), wxS("/big"), {}, {});
    EXPECT_FALSE(big.ok);
    EXPECT_EQ(big.error, wxS("读取响应失败。"));
    EXPECT_LE(big.body.size(), 1000u);
    EXPECT_FALSE(big.unreachable);

    const HttpResponse head = client.SendRequest(wxS("GET"), wxS("/head"), {}, {});
    EXPECT_FALSE(head.ok);
    EXPECT_EQ(head.error, wxS("接收响应失败。"));

    // The default limit is generous: the test server's biggest answers pass.
    const HttpResponse normal = ClientFor(server).SendRequest(wxS("GET"), wxS("/head"), {}, {});
    EXPECT_TRUE(normal.ok) << U8(normal.error);
}

TEST(Transport, ATricklingServerMeetsTheOverallDeadline)
{
    qtest::HttpTestServer server;
    // One byte every 100 ms never trips the 1 s stall limit; 40 bytes
    // would take 4 s.
    server.Answer("GET", "/drip", ScriptedAnswer{200, {}, std::string(40, 'd')}
                                      .WithCut(ScriptedAnswer::Cut::Trickle)
                                      .WithDelay(std::chrono::milliseconds(100)));
    ApiClient client = ClientFor(server);
    client.SetTimeouts(platform::HttpTimeouts{2000, 1000, 1500});
    const auto start = std::chrono::steady_clock::now();
    const HttpResponse r = client.SendRequest(wxS("GET"), wxS("/drip"), {}, {});
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.error, wxS("读取响应失败。"));
    EXPECT_TRUE(r.unreachable);  // another form would only wait as long again
    EXPECT_GE(took, std::chrono::milliseconds(1400));
    EXPECT_LT(took, std::chrono::milliseconds(3900));
    EXPECT_LT(r.body.size(), 40u);
}

TEST(Transport, EachHeadLineIsDecodedOnItsOwn)
{
    qtest::HttpTestServer server;
    server.Answer("GET", "/c", qtest::Ok()
                                   .WithHeader("X-Junk", "\xFF\xFE")
                                   .WithCookie("a=澄; Path=/")
                                   .WithCookie("b=\xED\xA0\x80")
                                   .WithCookie("c=1"));
    const HttpResponse r = ClientFor(server).SendRequest(wxS("GET"), wxS("/c"), {}, {});
    ASSERT_TRUE(r.ok) << U8(r.error);
    // A line that is not UTF-8 (an encoded surrogate included) is read byte
    // for byte; the others keep their characters.
    EXPECT_EQ(r.cookies, wxString(L"a=澄; b=\u00ED\u00A0\u0080; c=1"));
}

}  // namespace
