// The account operations against a loopback server: what each sends, and
// how every shape of answer becomes a session or a message.
#include <gtest/gtest.h>

#include "api/api_client.h"
#include "api/envelope.h"
#include "client_fixture.h"

using apitest::ClientFor;
using apitest::U8;

namespace {

using Lines = std::vector<std::string>;

Lines HeaderLines(const qtest::RecordedRequest& r)
{
    Lines out;
    for (const auto& [n, v] : r.headers) {
        if (n == "Content-Type" || n == "Accept" || n == "Cookie" || n == "Authorization" || n == "token")
            out.push_back(n + ": " + v);
    }
    return out;
}

TEST(Login, SendsCredentialsWithoutSessionAndTakesTokenCookiesAndName)
{
    qtest::HttpTestServer server;
    server.Answer("POST", "/api/user/login",
                  qtest::Ok(R"("tok-1")").WithCookie("forum_session=abc; Path=/").WithCookie("lang=zh"));
    // The name comes through the first session form the server accepts.
    server.AnswerOnce("GET", "/api/user", qtest::Fail(-100));
    server.Answer("GET", "/api/user", qtest::Ok(R"({"id":5,"name":"小澄同学"})"));

    const LoginResult r = ClientFor(server).Login(wxS("13800000001"), wxS("pa\"ss\\word"));
    ASSERT_TRUE(r.ok) << U8(r.message);
    EXPECT_EQ(r.token, wxS("tok-1"));
    EXPECT_EQ(r.cookies, wxS("forum_session=abc; lang=zh"));
    EXPECT_EQ(r.displayName, wxS("小澄同学"));
    EXPECT_EQ(r.mobile, wxS("13800000001"));
    EXPECT_TRUE(r.message.empty());

    const auto requests = server.Requests();
    ASSERT_EQ(requests.size(), 3u);
    const auto& login = requests[0];
    EXPECT_EQ(login.method, "POST");
    EXPECT_EQ(login.target, "/api/user/login");
    EXPECT_EQ(HeaderLines(login), (Lines{"Content-Type: application/json; charset=utf-8",
                                         "Accept: application/json"}));
    // The quotation mark and the backslash are escaped, so the body stays JSON.
    EXPECT_EQ(login.body, R"({"mobile":"13800000001","password":"pa\"ss\\word"})");
    // Display name: the header sets of the session, on the plain path only.
    EXPECT_EQ(requests[1].target, "/api/user");
    EXPECT_EQ(requests[1].Header("Authorization"), "tok-1");
    EXPECT_EQ(requests[2].target, "/api/user");
    EXPECT_EQ(requests[2].Header("Cookie"), "forum_session=abc; lang=zh");
}

TEST(Login, AnswersWithoutUsableTokenAreNoSession)
{
    struct Case {
        const char* name;
        qtest::ScriptedAnswer answer;
        const char* message;
        bool refused;  // the server turned the credentials down
    };
    const Case cases[] = {
        {"data an object", qtest::Ok(R"({"token":"x"})"), "登录成功，但未拿到令牌。", false},
        {"data an empty string", qtest::Ok(R"("")"), "登录成功，但未拿到令牌。", false},
        {"no data", qtest::Ok(), "登录成功，但未拿到令牌。", false},
        {"data a number", qtest::Ok("12345"), "登录成功，但未拿到令牌。", false},
        {"token with a space", qtest::Ok(R"("ab cd")"), "登录成功，但令牌含有空格或控制字符，无法使用。", false},
        {"token with CR LF", qtest::Ok(R"("ab\r\nX-Evil: 1")"), "登录成功，但令牌含有空格或控制字符，无法使用。", false},
        {"token with a tab", qtest::Ok(R"("ab\tcd")"), "登录成功，但令牌含有空格或控制字符，无法使用。", false},
        {"wrong password", qtest::Fail(403, "手机号或密码错误。"), "手机号或密码错误。", true},
        {"code without text", qtest::Fail(7), "登录失败（code=7）", true},
        {"not JSON", qtest::JsonAnswer("<html>", 502), "JSON 解析失败：", false},
        {"answer cut off", qtest::Fail(403, "x").WithCut(qtest::ScriptedAnswer::Cut::CloseMidBody), "", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        qtest::HttpTestServer server;
        server.Answer("POST", "/api/user/login", c.answer);
        const LoginResult r = ClientFor(server).Login(wxS("13800000001"), wxS("pw"));
        EXPECT_FALSE(r.ok);
        EXPECT_TRUE(r.token.empty());
        EXPECT_TRUE(r.message.StartsWith(wxString::FromUTF8(c.message))) << U8(r.message);
        EXPECT_FALSE(r.message.empty());
        EXPECT_EQ(r.refused, c.refused);
        EXPECT_EQ(r.mobile, wxS("13800000001"));
        // No session, so no profile request either.
        EXPECT_EQ(server.RequestCount(), 1u);
    }
}

TEST(Login, UnreachableServerSaysSo)
{
    ApiClient client(ServerEndpoint{wxS("127.0.0.1"), qtest::UnusedLoopbackPort()});
    const LoginResult r = client.Login(wxS("13800000001"), wxS("pw"));
    EXPECT_FALSE(r.ok);
    EXPECT_FALSE(r.refused);
    EXPECT_EQ(r.message, wxS("连接服务器失败。"));
}

TEST(Login, DisplayNameFallsBackToTheMobileNumber)
{
    struct Case {
        const char* name;
        qtest::ScriptedAnswer profile;
        size_t requests;  // the login and one profile request per header set
    };
    // A token and cookies give eleven header sets; the walk stops early only
    // when the server cannot be reached.
    const Case cases[] = {
        {"profile refused", qtest::Fail(-100), 12},
        {"name empty", qtest::Ok(R"({"id":5,"name":""})"), 12},
        {"name not a text", qtest::Ok(R"({"id":5,"name":7})"), 12},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        qtest::HttpTestServer server;
        server.Answer("POST", "/api/user/login", qtest::Ok(R"("t")").WithCookie("s=1"));
        server.Answer("GET", "/api/user", c.profile);
        const LoginResult r = ClientFor(server).Login(wxS("13800000009"), wxS("pw"));
        ASSERT_TRUE(r.ok);
        EXPECT_EQ(r.displayName, wxS("13800000009"));
        EXPECT_EQ(server.RequestCount(), c.requests);
    }
}

TEST(RegisterAndReset, SendCodeAndReadCodeOneOnlyForRegistration)
{
    struct Case {
        const char* name;
        bool reset;
        qtest::ScriptedAnswer answer;
        bool ok;
        const char* message;
    };
    const Case cases[] = {
        {"register ok", false, qtest::Ok(R"("new-token")"), true, ""},
        {"register code 1 without text", false, qtest::Fail(1), false, "该手机号已注册，请直接登录或找回密码。"},
        {"register code 1 with text", false, qtest::Fail(1, "号码已存在"), false, "号码已存在"},
        {"register code 2", false, qtest::Fail(2), false, "注册失败（code=2）"},
        {"register no token", false, qtest::Ok("null"), false, "注册成功，但未拿到令牌。"},
        {"reset ok", true, qtest::Ok(R"("reset-token")"), true, ""},
        {"reset code 1", true, qtest::Fail(1), false, "重置密码失败（code=1）"},
        {"reset no token", true, qtest::Ok("{}"), false, "重置密码成功，但未拿到令牌。"},
        {"reset bad token", true, qtest::Ok(R"("a b")"), false, "重置密码成功，但令牌含有空格或控制字符，无法使用。"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        qtest::HttpTestServer server;
        const char* path = c.reset ? "/api/user/reset-password" : "/api/user/register";
        server.Answer("POST", path, c.answer);
        server.Answer("GET", "/api/user", qtest::Ok(R"({"id":9,"name":"新用户"})"));
        const ApiClient client = ClientFor(server);
        const LoginResult r = c.reset ? client.ResetPassword(wxS("13900000000"), wxS(" new pw "), wxS("12\"3"))
                                      : client.Register(wxS("13900000000"), wxS(" new pw "), wxS("12\"3"));
        EXPECT_EQ(r.ok, c.ok);
        EXPECT_EQ(r.message, wxString::FromUTF8(c.message));
        EXPECT_EQ(r.displayName, c.ok ? wxS("新用户") : wxS(""));
        const auto requests = server.Requests();
        ASSERT_FALSE(requests.empty());
        EXPECT_EQ(requests[0].target, path);
        EXPECT_EQ(HeaderLines(requests[0]), (Lines{"Content-Type: application/json; charset=utf-8",
                                                   "Accept: application/json"}));
        // The password travels as typed, spaces included.
        EXPECT_EQ(requests[0].body, R"({"mobile":"13900000000","password":" new pw ","code":"12\"3"})");
    }
}

TEST(SendVerifyCode, TriesTheThreeBodiesInOrderUntilOneIsAccepted)
{
    qtest::HttpTestServer server;
    server.AnswerOnce("POST", "/api/verify-code", qtest::Fail(415, "不支持"));
    server.AnswerOnce("POST", "/api/verify-code", qtest::Fail(415, "不支持"));
    server.Answer("POST", "/api/verify-code", qtest::Ok("null"));
    const ApiResult r = ClientFor(server).SendVerifyCode(wxS("1380\"0"));
    EXPECT_TRUE(r.success);
    EXPECT_TRUE(r.message.empty());
    const auto requests = server.Requests();
    ASSERT_EQ(requests.size(), 3u);
    EXPECT_EQ(requests[0].body, R"("1380\"0")");
    EXPECT_EQ(requests[1].body, "1380\"0");
    EXPECT_EQ(requests[2].body, "1380\"0");
    EXPECT_EQ(HeaderLines(requests[0]), (Lines{"Content-Type: application/json; charset=utf-8",
                                               "Accept: application/json"}));
    EXPECT_EQ(HeaderLines(requests[1]), (Lines{"Content-Type: text/plain; charset=utf-8",
                                               "Accept: application/json"}));
    EXPECT_EQ(HeaderLines(requests[2]), (Lines{"Content-Type: application/json; charset=utf-8",
                                               "Accept: application/json"}));
    for (const auto& request : requests) EXPECT_FALSE(request.HasHeader("Cookie"));
}

TEST(SendVerifyCode, EveryBodyRefusedReportsTheLastWithItsForm)
{
    qtest::HttpTestServer server;
    server.AnswerOnce("POST", "/api/verify-code", qtest::Fail(400, "第一种"));
    server.AnswerOnce("POST", "/api/verify-code", qtest::Fail(400, "第二种"));
    server.Answer("POST", "/api/verify-code", qtest::Fail(429));
    const ApiResult r = ClientFor(server).SendVerifyCode(wxS("13800000001"));
    EXPECT_FALSE(r.success);
    EXPECT_EQ(r.message, wxS("发送验证码失败（code=429）"));
    EXPECT_EQ(r.debugInfo, wxS("方式：JSON原始文本\n返回：发送验证码失败（code=429）"));
    EXPECT_EQ(server.RequestCount(), 3u);

    // A server that cannot be reached is not asked three times.
    ApiClient gone(ServerEndpoint{wxS("127.0.0.1"), qtest::UnusedLoopbackPort()});
    const ApiResult none = gone.SendVerifyCode(wxS("13800000001"));
    EXPECT_FALSE(none.success);
    EXPECT_EQ(none.debugInfo, wxS("方式：JSON字符串\n返回：连接服务器失败。"));
}

TEST(GetUserProfile, ReadsEveryFieldWithItsRule)
{
    struct Case {
        const char* name;
        qtest::ScriptedAnswer answer;
        bool ok;
        const char* error;
    };
    const Case cases[] = {
        {"full", qtest::Ok(R"({"id":5,"name":"小澄同学","avatar":"http://h/a.png","point":12,
            "mobile":"13800000001","gender":1,"level":"LV3","birth":"2000-01-01","balance":2.5,"isManager":1})"),
         true, ""},
        {"name only", qtest::Ok(R"({"id":0,"name":"无号"})"), true, ""},
        {"numeric level", qtest::Ok(R"({"id":3,"level":3})"), true, ""},
        {"no key fields", qtest::Ok(R"({"id":0,"name":""})"), false, "用户资料缺少关键字段。"},
        {"data an array", qtest::Ok("[]"), false, "用户资料数据格式不正确。"},
        {"no data", qtest::Ok(), false, "用户资料数据格式不正确。"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        qtest::HttpTestServer server;
        server.Answer("GET", "/api/user", c.answer);
        const UserInfo info = ClientFor(server).GetUserProfile(wxS("t"), wxS(""));
        EXPECT_EQ(info.ok, c.ok);
        EXPECT_EQ(info.error, wxString::FromUTF8(c.error));
    }
    qtest::HttpTestServer server;
    server.Answer("GET", "/api/user", cases[0].answer);
    const UserInfo full = ClientFor(server).GetUserProfile(wxS("t"), wxS(""));
    EXPECT_EQ(full.id, 5);
    EXPECT_EQ(full.name, wxS("小澄同学"));
    EXPECT_EQ(full.avatar, wxS("http://h/a.png"));
    EXPECT_EQ(full.point, 12);
    EXPECT_EQ(full.mobile, wxS("13800000001"));
    EXPECT_EQ(full.gender, 1);
    EXPECT_EQ(full.level, wxS("LV3"));
    EXPECT_EQ(full.birth, wxS("2000-01-01"));
    EXPECT_DOUBLE_EQ(full.balance, 2.5);
    EXPECT_EQ(full.isManager, 1);
    server.Answer("GET", "/api/user", cases[2].answer);
    EXPECT_EQ(ClientFor(server).GetUserProfile(wxS("t"), wxS("")).level, wxS(""));
}

TEST(GetUserProfile, ExpiredOnlyWhenEveryFormWasRefusedAsNotLoggedIn)
{
    // A form the server refused as not logged in, while another failed
    // differently: the server knows the session, so the other failure
    // stands and the session is not expired.
    qtest::HttpTestServer server;
    server.AnswerOnce("GET", "/api/user", qtest::Fail(-100));
    server.SetDefault(qtest::Fail(500, "服务器内部错误"));
    const UserInfo info = ClientFor(server).GetUserProfile(wxS("t"), wxS("s=1"));
    EXPECT_FALSE(info.ok);
    EXPECT_FALSE(info.sessionExpired);
    EXPECT_EQ(info.error, wxS("服务器内部错误"));
    EXPECT_GT(server.RequestCount(), 2u);

    // Every form refused: expired, with the refusal's text.
    qtest::HttpTestServer gone;
    gone.SetDefault(qtest::Fail(-100));
    const UserInfo expired = ClientFor(gone).GetUserProfile(wxS("t"), wxS(""));
    EXPECT_TRUE(expired.sessionExpired);
    EXPECT_EQ(expired.error, FormatCodeMessage(wxS("获取用户资料失败"), -100));

    EXPECT_TRUE(IsSessionExpiredText(wxS("请先登录：未登录")));
    EXPECT_TRUE(IsSessionExpiredText(wxS("code=-100")));
    // Another code that merely starts with the same digits is no expiry.
    EXPECT_FALSE(IsSessionExpiredText(wxS("获取用户资料失败（code=-1000）")));
    EXPECT_FALSE(IsSessionExpiredText(wxS("连接服务器失败。")));
}

}  // namespace
