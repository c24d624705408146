// Publishing, saving, deleting and replying: the post bodies byte for byte,
// the attempt walks on the wire, and the rule that a write is tried in
// another form only after the server clearly refused it.
#include <gtest/gtest.h>

#include "api/api_client.h"
#include "api/post_body.h"
#include "client_fixture.h"
#include "support/temp_dir.h"

using apitest::ClientFor;
using apitest::U8;
using Cut = qtest::ScriptedAnswer::Cut;

namespace {

PostInput Plain()
{
    PostInput in;
    in.sectionId = 3;
    in.title = wxS("标题 \"引号\"");
    in.body = wxS("第一行\r\n第二行\\");
    in.resourceType = 2;
    in.downloadType = wxS("网盘");
    in.resourceDesc = wxS("简介\x01");
    in.linkList = {{wxS("http://a/b?c=1&d"), wxS("链接")}};
    return in;
}

PostInput Full()
{
    PostInput in = Plain();
    in.id = 41;
    in.notify = true;
    in.rewardPoint = 5;
    in.viewPrice = 1.5;
    in.goodsPrice = 0.0;
    in.attachmentPrice = 2.0;
    in.mediaPrice = 0.25;
    in.postPrice = 10.0;
    in.albumId = 9;
    in.richBody = true;
    in.isResource = true;
    in.mediaDownload = 1;
    in.replyForbidden = 1;
    in.imageList = {{11, 0, wxS("图"), wxS("u"), wxS("/tmp/a.png")}};
    in.audioList = {{12, 0, wxS("歌"), wxS(""), wxS("")}};
    in.videoList = {{13, 14, wxS("片"), wxS(""), wxS("")}};
    in.fileList = {{15, 0, wxS("包"), wxS(""), wxS("")}, {16, 0, wxS(""), wxS(""), wxS("")}};
    return in;
}

TEST(PostBody, BothVariantsByteForByte)
{
    const std::string head = R"("title":"标题 \"引号\"","sectionId":3,"body":"第一行\r\n第二行\\",)";
    const std::string resource =
        R"("isResource":0,"resourceType":2,"downloadType":"网盘","resourceDesc":"简介\u0001",)"
        R"("linkList":[{"url":"http://a/b?c=1&d","desc":"链接"}])";
    EXPECT_EQ(*CompatiblePostBody(Plain()).body,
              "{" + head +
                  R"("notify":0,"rewardPoint":0,"viewPrice":0.0,"goodsPrice":0.0,"attachmentPrice":0.0,)"
                  R"("richBody":0,"postPrice":0.0,"mediaPrice":0.0,"albumId":0,"summary":"第一行 第二行\\",)"
                  R"("replyForbidden":0,"mediaDownload":0,"needReply":false,"secret":0,"useCoupon":0,)" +
                  resource + R"(,"imageList":[],"audioList":[],"videoList":[],"fileList":[]})");
    EXPECT_EQ(*FallbackPostBody(Plain()).body,
              "{" + head + R"("summary":"第一行 第二行\\","mediaDownload":0,)" + resource + "}");

    const BodyVariant full = CompatiblePostBody(Full());
    EXPECT_EQ(full.label, wxS("JSON兼容版"));
    EXPECT_EQ(full.contentType, wxS("application/json"));
    EXPECT_EQ(*full.body,
              R"({"id":41,)" + head +
                  R"("notify":1,"rewardPoint":5,"viewPrice":1.5,"goodsPrice":0.0,"attachmentPrice":2.0,)"
                  R"("richBody":1,"postPrice":10.0,"mediaPrice":0.25,"albumId":9,"summary":"第一行 第二行\\",)"
                  R"("replyForbidden":1,"mediaDownload":1,"needReply":false,"secret":0,"useCoupon":0,)"
                  R"("isResource":1,"resourceType":2,"downloadType":"网盘","resourceDesc":"简介\u0001",)"
                  R"("linkList":[{"url":"http://a/b?c=1&d","desc":"链接"}],)"
                  R"("imageList":[{"fileId":11,"desc":"图"}],"audioList":[{"fileId":12,"desc":"歌"}],)"
                  R"("videoList":[{"fileId":13,"attachFileId":14,"desc":"片"}],)"
                  R"("fileList":[{"fileId":15,"desc":"包"},{"fileId":16,"desc":""}]})");
    const BodyVariant shortEdit = FallbackPostBody(Full());
    EXPECT_EQ(shortEdit.label, wxS("JSON回退版"));
    EXPECT_EQ(shortEdit.body->rfind(R"({"id":41,"title":)", 0), 0u);
}

TEST(PostBody, TheShortBodyIsSentOnlyWhenItDropsNothingThatIsSet)
{
    using Change = void (*)(PostInput&);
    const std::vector<std::pair<const char*, Change>> setters{
        {"viewPrice", [](PostInput& p) { p.viewPrice = 0.01; }},
        {"goodsPrice", [](PostInput& p) { p.goodsPrice = 3; }},
        {"attachmentPrice", [](PostInput& p) { p.attachmentPrice = 1; }},
        {"mediaPrice", [](PostInput& p) { p.mediaPrice = 1; }},
        {"postPrice", [](PostInput& p) { p.postPrice = 1; }},
        {"notify", [](PostInput& p) { p.notify = true; }},
        {"rewardPoint", [](PostInput& p) { p.rewardPoint = 1; }},
        {"richBody", [](PostInput& p) { p.richBody = true; }},
        {"albumId", [](PostInput& p) { p.albumId = 2; }},
        {"replyForbidden", [](PostInput& p) { p.replyForbidden = 1; }},
        {"imageList", [](PostInput& p) { p.imageList.push_back(AttachmentEntry{1, 0, wxS("x"), wxS(""), wxS("")}); }},
        {"audioList", [](PostInput& p) { p.audioList.push_back(AttachmentEntry{1, 0, wxS("x"), wxS(""), wxS("")}); }},
        {"videoList", [](PostInput& p) { p.videoList.push_back(AttachmentEntry{1, 0, wxS("x"), wxS(""), wxS("")}); }},
        {"fileList", [](PostInput& p) { p.fileList.push_back(AttachmentEntry{1, 0, wxS("x"), wxS(""), wxS("")}); }},
    };
    const std::vector<BodyVariant> plain = BuildPostBody(Plain());
    ASSERT_EQ(plain.size(), 2u);
    EXPECT_EQ(plain[0].label, wxS("JSON兼容版"));
    EXPECT_EQ(plain[1].label, wxS("JSON回退版"));
    for (const auto& [name, set] : setters) {
        PostInput in = Plain();
        set(in);
        EXPECT_FALSE(FallbackKeepsEverything(in)) << name;
        const std::vector<BodyVariant> sent = BuildPostBody(in);
        ASSERT_EQ(sent.size(), 1u) << name;
        EXPECT_EQ(sent[0].label, wxS("JSON兼容版")) << name;
    }
    // Links, resource settings and media download travel in both bodies.
    PostInput resource = Plain();
    resource.isResource = true;
    resource.mediaDownload = 1;
    EXPECT_TRUE(FallbackKeepsEverything(resource));
}

TEST(PostBody, Summary)
{
    EXPECT_EQ(MakeSummary(wxS("a\r\nb\nc\rd")), wxS("a b c d"));
    EXPECT_EQ(MakeSummary(wxS("\r\n\n\r")), wxS(""));
    EXPECT_EQ(MakeSummary(wxS("  中文  ")), wxS("中文"));
    const wxString long200(wxS('字'), 200);
    EXPECT_EQ(MakeSummary(long200), wxString(wxS('字'), 120));
}

TEST(PostWrites, CreatePostTriesBothBodiesAndNamesTheLastOne)
{
    qtest::HttpTestServer server;
    server.SetDefault(qtest::Fail(400, "标题太长"));
    const ApiResult r = ClientFor(server).CreatePost(wxS(""), wxS(""), Plain());
    EXPECT_FALSE(r.success);
    EXPECT_EQ(r.message, wxS("标题太长 [JSON回退版]"));
    EXPECT_EQ(r.debugInfo, wxS("路径：/api/post\n方式：JSON回退版\n返回：标题太长"));
    const auto reqs = server.Requests();
    ASSERT_EQ(reqs.size(), 2u * 7u);
    EXPECT_EQ(reqs[0].body, *CompatiblePostBody(Plain()).body);
    EXPECT_EQ(reqs[7].body, *FallbackPostBody(Plain()).body);
    EXPECT_EQ(reqs[13].Header("Content-Type"), "application/json");
    for (const auto& q : reqs) EXPECT_EQ(q.method + " " + q.target, "POST /api/post");

    // A priced post never goes out in the short body.
    server.ClearRequests();
    PostInput priced = Plain();
    priced.postPrice = 8;
    const ApiResult p = ClientFor(server).CreatePost(wxS(""), wxS(""), priced);
    EXPECT_EQ(p.message, wxS("标题太长 [JSON兼容版]"));
    EXPECT_EQ(server.RequestCount(), 7u);
}

TEST(PostWrites, EditAsManagerOrOwnerDeleteAndTheFinalTexts)
{
    qtest::HttpTestServer server;
    server.Answer("PUT", "/api/post/manage?token=T", qtest::Ok());
    server.SetDefault(qtest::Fail(403, ""));
    const ApiClient client = ClientFor(server);
    PostInput in = Full();
    EXPECT_TRUE(client.EditPost(wxS("T"), wxS(""), in, true).success);
    EXPECT_EQ(server.Requests().back().target, "/api/post/manage?token=T");
    EXPECT_EQ(server.Requests().back().body.rfind(R"({"id":41,)", 0), 0u);

    server.ClearRequests();
    const ApiResult owner = client.EditPost(wxS(""), wxS(""), in, false);
    EXPECT_EQ(owner.message, wxS("编辑帖子失败（code=403） [JSON兼容版]"));
    EXPECT_EQ(server.Requests().at(0).method + " " + server.Requests().at(0).target, "PUT /api/post");

    server.ClearRequests();
    server.AnswerOnce("DELETE", "/api/post/-5", qtest::Ok());
    const ApiResult gone = client.DeletePost(wxS("T"), wxS("S=1"), -5);
    EXPECT_TRUE(gone.success);
    EXPECT_EQ(gone.message, wxS(""));
    EXPECT_EQ(server.RequestCount(), 1u);
    EXPECT_FALSE(server.Requests()[0].HasHeader("Content-Length"));

    server.ClearRequests();
    const ApiResult refused = client.DeletePost(wxS(""), wxS(""), 7);
    EXPECT_EQ(refused.message, wxS("删除帖子失败（code=403）"));
    EXPECT_EQ(refused.debugInfo, wxS(""));
    EXPECT_EQ(server.RequestCount(), 7u);
}

TEST(PostWrites, ReplyBodiesWithAndWithoutAFloor)
{
    qtest::HttpTestServer server;
    server.AnswerOnce("POST", "/api/reply", qtest::Fail(-100));
    server.Answer("POST", "/api/reply", qtest::Ok(R"({"id":3})"));
    const ApiClient client = ClientFor(server);
    EXPECT_TRUE(client.CreateReply(wxS("T"), wxS("S=1"), 12, wxS("说\"好\"\n行\t中"), 0, false).success);
    const auto reqs = server.Requests();
    ASSERT_EQ(reqs.size(), 2u);  // the refusal moved on to the second header set
    EXPECT_EQ(reqs[1].body, R"({"postId":12,"body":"说\"好\"\n行\t中"})");
    EXPECT_EQ(reqs[1].Header("Content-Type"), "application/json; charset=utf-8");
    EXPECT_EQ(reqs[1].Header("token"), "T");
    EXPECT_EQ(reqs[1].Header("Cookie"), "S=1");

    server.ClearRequests();
    EXPECT_TRUE(client.CreateReply(wxS(""), wxS(""), 12, wxS("楼"), 77, true).success);
    EXPECT_EQ(server.Requests().at(0).body, R"({"postId":12,"body":"楼","parentId":77})");

    qtest::HttpTestServer refusing;
    refusing.SetDefault(qtest::Fail(409, "帖子已锁定，不能回复。"));
    const ApiResult locked = ClientFor(refusing).CreateReply(wxS("T"), wxS(""), 1, wxS("x"), 0, false);
    EXPECT_EQ(locked.message, wxS("帖子已锁定，不能回复。"));
    EXPECT_EQ(refusing.RequestCount(), 3u * 10u);
}

// One write under each kind of answer: how many requests reach the server.
struct SafetyCase {
    const char* what;
    qtest::ScriptedAnswer answer;
    size_t requests;  // per operation: 1 = stopped at the first attempt
    const char* message;
};

TEST(WriteSafety, OnlyAClearRefusalLetsAnotherFormTryTheSameWrite)
{
    const std::vector<SafetyCase> cases{
        {"envelope refusal", qtest::Fail(5, "不行"), 0, "不行"},
        {"server error page", qtest::ScriptedAnswer{}.WithStatus(500), 0, "JSON 解析失败：The document is empty."},
        // A gateway's page while the server behind it may finish the write.
        {"gateway 502 page", qtest::JsonAnswer("<html>bad gateway</html>", 502), 1,
         "网关错误（HTTP 502），服务器可能已经处理了该请求。"},
        {"gateway 504 empty", qtest::ScriptedAnswer{}.WithStatus(504), 1,
         "网关超时（HTTP 504），服务器可能已经处理了该请求。"},
        {"502 with an envelope", qtest::Fail(5, "不行").WithStatus(502), 0, "不行"},
        {"refusal 400", qtest::Fail(400, "参数错误").WithStatus(400), 0, "参数错误"},
        {"refusal page 404", qtest::JsonAnswer("<html>no</html>", 404), 0, "JSON 解析失败：Invalid value."},
        {"dropped after sending", qtest::Fail(5).WithCut(Cut::CloseBeforeAnswer), 1, "接收响应失败。"},
        {"answer cut mid-body", qtest::Ok().WithCut(Cut::CloseMidBody), 1, "读取响应失败。"},
        {"silence", qtest::Ok().WithDelay(std::chrono::seconds(3)), 1, "接收响应失败。"},
        {"2xx HTML page", qtest::JsonAnswer("<html>ok</html>", 200), 1, "JSON 解析失败：Invalid value."},
        {"2xx JSON without code", qtest::JsonAnswer(R"({"data":1})", 201), 1, "失败（code=-1）"},
        {"2xx code as text", qtest::JsonAnswer(R"({"code":"0"})"), 1, "失败（code=-1）"},
    };
    const std::vector<BodyVariant> two{{wxS("A"), wxS("application/json"), std::string("{}")},
                                       {wxS("B"), wxS("application/json"), std::string("{}")}};
    qtest::TempDir folder;
    const wxString file = wxString::FromUTF8(folder.write("a.txt", "abc"));
    for (const SafetyCase& c : cases) {
        qtest::HttpTestServer server;
        server.SetDefault(c.answer);
        const ApiClient client = ClientFor(server);
        // Token and cookies: 3 paths × 2 variants × 11 header sets when refused.
        const ApiResult w = client.SendWithFallbacks(wxS("POST"), wxS("/api/x"), wxS("T"), wxS("S=1"), two,
                                                     wxS("失败"));
        EXPECT_FALSE(w.success) << c.what;
        EXPECT_EQ(U8(w.message), c.message) << c.what;
        EXPECT_EQ(server.RequestCount(), c.requests ? c.requests : 66u) << c.what;

        server.ClearRequests();
        const ApiResult r = client.CreateReply(wxS("T"), wxS("S=1"), 1, wxS("回"), 0, false);
        EXPECT_FALSE(r.success) << c.what;
        EXPECT_EQ(server.RequestCount(), c.requests ? c.requests : 33u) << c.what;

        server.ClearRequests();
        const ApiResult p = client.CreatePost(wxS(""), wxS(""), Plain());
        EXPECT_EQ(server.RequestCount(), c.requests ? c.requests : 14u) << c.what;
        EXPECT_TRUE(p.message.EndsWith(c.requests ? wxS(" [JSON兼容版]") : wxS(" [JSON回退版]"))) << c.what;

        server.ClearRequests();
        const UploadResult u = client.UploadFile(wxS("T"), wxS("S=1"), file, UploadKind::File);
        EXPECT_FALSE(u.ok) << c.what;
        // An upload waits out three seconds of silence after its last
        // byte: the server may be storing the file.
        const bool silence = std::string(c.what) == "silence";
        EXPECT_TRUE(u.message.EndsWith(silence ? wxS("上传成功，但响应数据格式不正确。") : wxString::FromUTF8(c.message)))
            << c.what;
        EXPECT_EQ(server.RequestCount(), c.requests ? c.requests : 11u) << c.what;
    }
}

}  // namespace
