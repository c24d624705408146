// The client over HTTPS against the local forum in TLS mode, with a
// throwaway authority: trusted through caFile it logs in, reads, uploads
// and writes; without
// it, or with a certificate for another host, every call is refused with
// libcurl's reason and nothing reaches the server, in TLS or in plain HTTP.
#include <gtest/gtest.h>

#include "api/api_client.h"
#include "support/forum_login.h"
#include "support/local_forum_process.h"
#include "support/temp_dir.h"
#include "support/test_certificates.h"

#include <regex>

namespace {

ServerEndpoint Https(int port, const std::string& caFile)
{
    ServerEndpoint endpoint{wxS("127.0.0.1"), port};
    endpoint.https = true;
    endpoint.caFile = wxString::FromUTF8(caFile.c_str());
    return endpoint;
}

// Request lines of the server's log ("10:02:03 GET /api/... -> 200").
int LoggedRequests(const qtest::LocalForumProcess& forum)
{
    static const std::regex request(R"(\d\d:\d\d:\d\d (GET|POST|PUT|PATCH|DELETE|HEAD) /)");
    const std::string log = forum.log();
    return static_cast<int>(std::distance(std::sregex_iterator(log.begin(), log.end(), request),
                                          std::sregex_iterator()));
}

TEST(Https, TrustedThroughCaFileTheClientLogsInReadsAndWrites)
{
    qtest::TestCertificates certs;
    ASSERT_TRUE(certs.ok()) << certs.error();
    qtest::LocalForumProcess forum(certs.ServerArgs(certs.forLoopback));
    ASSERT_TRUE(forum.ok()) << forum.error();

    const ApiClient client(Https(forum.port(), certs.caFile()));
    const LoginResult login = client.Login(wxString::FromUTF8(qtest::LocalForumProcess::kUserMobile),
                                           wxString::FromUTF8(qtest::LocalForumProcess::kUserPassword));
    ASSERT_TRUE(login.ok) << login.message;
    EXPECT_FALSE(login.cookies.empty());

    const int32_t id = qtest::SeededMediaPostId(client);
    ASSERT_NE(id, 0);
    const PostDetailResult post = client.GetPostWithSession(id, login.token, login.cookies);
    ASSERT_TRUE(post.ok) << post.error;
    // The server's own file addresses come back as it wrote them.
    std::vector<wxString> urls;
    for (const auto* list : {&post.detail.audioList, &post.detail.videoList, &post.detail.fileList,
                             &post.detail.imageList}) {
        for (const MediaItem& item : *list) urls.push_back(item.url);
    }
    ASSERT_FALSE(urls.empty());
    for (const wxString& url : urls) EXPECT_TRUE(url.StartsWith(wxS("https://127.0.0.1:"))) << url;

    // Uploading and writing go the same way.
    qtest::TempDir dir;
    const UploadResult upload = client.UploadFile(login.token, login.cookies,
                                                  wxString::FromUTF8(dir.write("说明.txt", "澄川").c_str()),
                                                  UploadKind::File);
    ASSERT_TRUE(upload.ok) << upload.message;
    EXPECT_TRUE(upload.url.StartsWith(wxS("https://127.0.0.1:"))) << upload.url;
    PostInput in;
    in.sectionId = 3;
    in.title = wxS("经由 HTTPS 发表");
    in.body = wxS("正文");
    const ApiResult created = client.CreatePost(login.token, login.cookies, in);
    EXPECT_TRUE(created.success) << created.message;
}

TEST(Https, AnUntrustedOrWrongCertificateIsRefusedWithLibcurlsReason)
{
    qtest::TestCertificates certs;
    ASSERT_TRUE(certs.ok()) << certs.error();
    qtest::LocalForumProcess loopback(certs.ServerArgs(certs.forLoopback));
    qtest::LocalForumProcess otherHost(certs.ServerArgs(certs.forOtherHost));
    ASSERT_TRUE(loopback.ok()) << loopback.error();
    ASSERT_TRUE(otherHost.ok()) << otherHost.error();

    struct Case {
        const char* what;
        ServerEndpoint endpoint;
        const qtest::LocalForumProcess& server;
        const char* reason;  // in libcurl's words
    };
    const Case cases[] = {
        {"no caFile", Https(loopback.port(), ""), loopback, "certificate"},
        {"caFile that cannot be read", Https(loopback.port(), "/nonexistent/ca.pem"), loopback,
         "/nonexistent/ca.pem"},
        {"certificate for another host", Https(otherHost.port(), certs.caFile()), otherHost,
         "127.0.0.1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const ApiClient client(c.endpoint);
        const LoginResult login = client.Login(wxString::FromUTF8(qtest::LocalForumProcess::kUserMobile),
                                               wxString::FromUTF8(qtest::LocalForumProcess::kUserPassword));
        EXPECT_FALSE(login.ok);
        EXPECT_FALSE(login.refused);  // not the credentials' fault
        EXPECT_TRUE(login.message.StartsWith(wxS("服务器证书验证失败："))) << login.message;
        EXPECT_NE(login.message.utf8_string().find(c.reason), std::string::npos) << login.message;

        // A reading walk stops at the first refusal as well.
        const PostListPage hot = client.GetHotPosts(1, 20);
        EXPECT_FALSE(hot.ok);
        EXPECT_TRUE(hot.error.StartsWith(wxS("服务器证书验证失败："))) << hot.error;
        const HttpResponse raw = client.SendRequest(wxS("GET"), wxS("/api/post/hot"), {}, std::string());
        EXPECT_TRUE(raw.unreachable);
        EXPECT_FALSE(raw.ok);
    }
    // Nothing was ever answered: no request, in TLS or in plain HTTP,
    // reached either server.
    EXPECT_EQ(LoggedRequests(loopback), 0) << loopback.log();
    EXPECT_EQ(LoggedRequests(otherHost), 0) << otherHost.log();
}

}  // namespace
