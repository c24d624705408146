// One post in full, with and without the session, and the manager query.
#include <gtest/gtest.h>

#include "api/api_client.h"
#include "client_fixture.h"

using apitest::ClientFor;
using apitest::U8;

namespace {

const char* kFullPost = R"({"id":77,"userId":5,"sectionId":3,"title":"标题","body":"<p>正文</p>",
    "userName":"楼主","createTime":"2026-12-07 08:00","createTimeCn":"今天","isReply":false,
    "replyForbidden":2,"status":1,"lock":true,"top":1,"topAll":0,"essence":"1","sink":false,
    "isOwner":1,"isManager":true,"notify":2,"rewardPoint":30,"viewPrice":1.5,"goodsPrice":2,
    "attachmentPrice":"3","mediaPrice":5000000000,"postPrice":0.25,"richBody":1,"isResource":true,
    "mediaDownload":1,"resourceType":4,"downloadType":"网盘","resourceDesc":"说明",
    "audioList":[{"id":1,"fileId":10,"attachFileId":11,"url":"http://h/a.mp3","attachFileUrl":"http://h/a.lrc",
                  "desc":"歌","fileName":"a.mp3"},
                 {"fileId":12},{"fileName":"only-name.mp3"},{"desc":"只有说明"},"跳过"],
    "videoList":{"url":"not-an-array"},
    "fileList":[{"url":"http://h/f.zip"}],
    "linkList":[{"url":"http://x","desc":"链接"},{"desc":"没有地址"},5]})";

TEST(PostDetail, ReadsEveryFieldWithItsOwnRule)
{
    qtest::HttpTestServer server;
    server.Answer("GET", "/api/post/77", qtest::Ok(kFullPost));
    const PostDetailResult r = ClientFor(server).GetPost(77);
    ASSERT_TRUE(r.ok) << U8(r.error);
    const PostDetail& d = r.detail;
    EXPECT_EQ(d.id, 77);
    EXPECT_EQ(d.userId, 5);
    EXPECT_EQ(d.sectionId, 3);
    EXPECT_EQ(d.title, wxS("标题"));
    EXPECT_EQ(d.body, wxS("<p>正文</p>"));
    EXPECT_EQ(d.userName, wxS("楼主"));
    EXPECT_EQ(d.createTime, wxS("2026-12-07 08:00"));  // no "Cn" form for details
    EXPECT_FALSE(d.isReply);
    EXPECT_EQ(d.replyForbidden, 2);
    EXPECT_EQ(d.status, 1);
    // Lenient flags take true and non-zero numbers, nothing else.
    EXPECT_TRUE(d.lock);
    EXPECT_TRUE(d.top);
    EXPECT_FALSE(d.topAll);
    EXPECT_FALSE(d.essence);
    EXPECT_FALSE(d.sink);
    EXPECT_TRUE(d.isManager);
    EXPECT_TRUE(d.notify);
    EXPECT_TRUE(d.richBody);
    EXPECT_TRUE(d.isResource);
    EXPECT_TRUE(d.isOwner);  // bool rule: an int32 counts
    EXPECT_EQ(d.rewardPoint, 30);
    EXPECT_DOUBLE_EQ(d.viewPrice, 1.5);
    EXPECT_DOUBLE_EQ(d.goodsPrice, 2.0);
    EXPECT_DOUBLE_EQ(d.attachmentPrice, 0.0);
    EXPECT_DOUBLE_EQ(d.mediaPrice, 0.0);
    EXPECT_DOUBLE_EQ(d.postPrice, 0.25);
    EXPECT_EQ(d.mediaDownload, 1);
    EXPECT_EQ(d.resourceType, 4);
    EXPECT_EQ(d.downloadType, wxS("网盘"));
    EXPECT_EQ(d.resourceDesc, wxS("说明"));

    ASSERT_EQ(d.audioList.size(), 3u);
    const MediaItem& a = d.audioList[0];
    EXPECT_EQ(a.id, 1);
    EXPECT_EQ(a.fileId, 10);
    EXPECT_EQ(a.attachFileId, 11);
    EXPECT_EQ(a.url, wxS("http://h/a.mp3"));
    EXPECT_EQ(a.attachFileUrl, wxS("http://h/a.lrc"));
    EXPECT_EQ(a.desc, wxS("歌"));
    EXPECT_EQ(a.fileName, wxS("a.mp3"));
    EXPECT_EQ(d.audioList[1].fileId, 12);  // no url, but a file number
    EXPECT_EQ(d.audioList[2].desc, wxS("只有说明"));
    EXPECT_TRUE(d.videoList.empty());
    ASSERT_EQ(d.fileList.size(), 1u);
    EXPECT_TRUE(d.imageList.empty());
    ASSERT_EQ(d.linkList.size(), 1u);
    EXPECT_EQ(d.linkList[0].url, wxS("http://x"));
    EXPECT_EQ(d.linkList[0].desc, wxS("链接"));

    const auto req = server.Requests().at(0);
    EXPECT_EQ(req.HeaderNames(), (std::vector<std::string>{"Host", "User-Agent", "Accept"}));
}

TEST(PostDetail, DefaultsAndShapeFailures)
{
    qtest::HttpTestServer server;
    const ApiClient client = ClientFor(server);
    server.Answer("GET", "/api/post/-5", qtest::Ok(R"({"id":-5})"));
    const PostDetailResult bare = client.GetPost(-5);
    ASSERT_TRUE(bare.ok);
    EXPECT_TRUE(bare.detail.isReply);  // default true
    EXPECT_FALSE(bare.detail.isOwner);
    EXPECT_TRUE(bare.detail.audioList.empty());

    server.Answer("GET", "/api/post/6", qtest::Ok(R"({"id":0,"title":"读到了","lock":1})"));
    const PostDetailResult noId = client.GetPost(6);
    EXPECT_FALSE(noId.ok);
    EXPECT_EQ(noId.error, wxS("帖子详情缺少帖子编号。"));
    EXPECT_EQ(noId.detail.title, wxS("读到了"));

    server.Answer("GET", "/api/post/7", qtest::Ok(R"([{"id":7}])"));
    EXPECT_EQ(client.GetPost(7).error, wxS("帖子详情数据格式不正确。"));
    server.Answer("GET", "/api/post/8", qtest::Ok());
    EXPECT_EQ(client.GetPost(8).error, wxS("帖子详情数据格式不正确。"));
    server.Answer("GET", "/api/post/9", qtest::Fail(-2));
    EXPECT_EQ(client.GetPost(9).error, wxS("获取帖子详情失败（code=-2）"));
}

TEST(PostDetail, SessionReadsWalkTheSessionForms)
{
    qtest::HttpTestServer server;
    server.SetDefault(qtest::Fail(-100));
    server.Answer("GET", "/api/post/12", qtest::Fail(-100));
    const ApiClient client = ClientFor(server);
    // Accepted in the second quick set: token header with the cookies.
    server.SetHandler([](const qtest::RecordedRequest& req) {
        if (req.Path() == "/api/post/manage/12" && req.Header("token") == "T") {
            return qtest::Ok(R"({"id":12,"isOwner":true})");
        }
        return qtest::Fail(-100);
    });
    const PostDetailResult managed = client.GetManagedPost(12, wxS("T"), wxS("S=1"));
    ASSERT_TRUE(managed.ok) << U8(managed.error);
    EXPECT_TRUE(managed.detail.isOwner);
    auto reqs = server.Requests();
    ASSERT_EQ(reqs.size(), 2u);
    EXPECT_EQ(reqs[1].target, "/api/post/manage/12");
    EXPECT_EQ(reqs[1].Header("Cookie"), "S=1");

    server.ClearRequests();
    const PostDetailResult mine = client.GetPostWithSession(12, wxS("T"), wxS(""));
    EXPECT_FALSE(mine.ok);
    EXPECT_EQ(mine.error, wxS("获取帖子详情失败（code=-100）"));
    EXPECT_EQ(server.RequestCount(), 2u + 3u * 10u);

    server.Answer("GET", "/api/post/manage/13", qtest::Ok(R"({"title":"x"})"));
    EXPECT_EQ(client.GetManagedPost(13, wxS(""), wxS("")).error, wxS("管理帖子详情缺少帖子编号。"));
    server.Answer("GET", "/api/post/manage/14", qtest::Ok("1"));
    EXPECT_EQ(client.GetManagedPost(14, wxS(""), wxS("")).error, wxS("管理帖子详情数据格式不正确。"));
    server.Answer("GET", "/api/post/manage/15", qtest::Fail(-3));
    EXPECT_EQ(client.GetManagedPost(15, wxS(""), wxS("")).error, wxS("获取管理帖子详情失败（code=-3）"));
}

TEST(SectionManager, DefiniteCodesEndTheWalk)
{
    qtest::HttpTestServer server;
    const ApiClient client = ClientFor(server);
    server.Answer("GET", "/api/post/manager", qtest::Fail(-101, "不是管理员"));
    ManagerCheck c = client.CheckSectionManager(wxS("T"), wxS("S=1"), 3);
    EXPECT_TRUE(c.answered);
    EXPECT_FALSE(c.isManager);
    EXPECT_EQ(c.error, wxS(""));
    ASSERT_EQ(server.RequestCount(), 1u);
    const auto first = server.Requests()[0];
    EXPECT_EQ(first.target, "/api/post/manager?sectionId=3");
    EXPECT_EQ(first.Header("Authorization"), "T");
    EXPECT_EQ(first.Header("Cookie"), "S=1");

    server.ClearRequests();
    server.Answer("GET", "/api/post/manager", qtest::Fail(1));
    c = client.CheckSectionManager(wxS(""), wxS(""), 3);
    EXPECT_TRUE(c.answered);
    EXPECT_FALSE(c.isManager);

    // Broken answers, then the server's own message, then manager.
    server.ClearRequests();
    server.Answer("GET", "/api/post/manager", qtest::Fail(401, "未登录"));
    server.AnswerOnce("GET", "/api/post/manager", qtest::JsonAnswer("oops"));
    server.AnswerOnce("GET", "/api/post/manager", qtest::Fail(401));
    server.Answer("GET", "/api/post/manager?sectionId=3&token=T", qtest::Ok(R"({"ignored":true})"));
    c = client.CheckSectionManager(wxS("T"), wxS(""), 3);
    EXPECT_TRUE(c.answered);
    EXPECT_TRUE(c.isManager);
    EXPECT_EQ(server.RequestCount(), 11u);
}

TEST(SectionManager, NoDefiniteAnswerKeepsTheLastMessage)
{
    qtest::HttpTestServer server;
    const ApiClient client = ClientFor(server);
    server.SetDefault(qtest::Fail(401));
    ManagerCheck c = client.CheckSectionManager(wxS("T"), wxS("S=1"), -4);
    EXPECT_FALSE(c.answered);
    EXPECT_FALSE(c.isManager);
    EXPECT_EQ(c.error, wxS("获取管理员权限失败（code=401）"));
    EXPECT_EQ(server.RequestCount(), 3u * 11u);
    EXPECT_EQ(server.Requests().back().target, "/api/post/manager?sectionId=-4&accessToken=T");

    server.ClearRequests();
    server.SetDefault(qtest::JsonAnswer("", 500));
    c = client.CheckSectionManager(wxS(""), wxS(""), 1);
    EXPECT_EQ(c.error, wxS("JSON 解析失败：The document is empty."));
    EXPECT_EQ(server.RequestCount(), 7u);

    ApiClient gone(ServerEndpoint{wxS("127.0.0.1"), qtest::UnusedLoopbackPort()});
    c = gone.CheckSectionManager(wxS("T"), wxS("S=1"), 1);
    EXPECT_FALSE(c.answered);
    EXPECT_EQ(c.error, wxS("连接服务器失败。"));
}

TEST(SectionManager, SilentServerCostsOneTimeOutNotOnePerForm)
{
    qtest::HttpTestServer server;
    server.SetDefault(qtest::Ok().WithDelay(std::chrono::seconds(5)));
    const ManagerCheck c = ClientFor(server).CheckSectionManager(wxS("T"), wxS("S=1"), 1);
    EXPECT_FALSE(c.answered);
    EXPECT_EQ(c.error, wxS("接收响应失败。"));
    EXPECT_EQ(server.RequestCount(), 1u);
}

}  // namespace
