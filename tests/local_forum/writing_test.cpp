// Writing through real HTTP: posts with uploads, edits, replies, moderation
// and how each change shows in later reads; bad bodies never break it.
#include "local_forum/forum_http.h"

#include <gtest/gtest.h>

#include <memory>

namespace qtest {
namespace {

class ForumWriting : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        forum_ = std::make_unique<LocalForumProcess>(std::vector<std::string>{"--no-media", "--max-upload", "4096"});
    }
    static void TearDownTestSuite() { forum_.reset(); }
    void SetUp() override {
        ASSERT_TRUE(forum_->ok()) << forum_->error();
        user_ = TokenHeader(http_.Login(LocalForumProcess::kUserMobile, LocalForumProcess::kUserPassword));
        manager_ = TokenHeader(http_.Login(LocalForumProcess::kManagerMobile, LocalForumProcess::kManagerPassword));
    }

    // Publishes a post as the ordinary user and returns its id.
    std::string NewPost(const std::string& title, const std::string& extra = "") {
        Answer a = http_.Send("POST", "/api/post",
                              R"({"title":")" + title + R"(","sectionId":1,"body":"第一行\n第二行")" + extra + "}", user_);
        EXPECT_EQ(a.code(), 0) << a.body;
        return a.code() == 0 ? std::to_string(a.data()["id"].GetInt()) : "0";
    }

    // Whether post `id` is on the list page at `path` (section pages hold
    // their list under "postPage").
    bool Listed(const std::string& path, const std::string& id) {
        Answer a = http_.Get(path);
        const rapidjson::Value& d = a.data();
        const rapidjson::Value& page = d.IsObject() && d.HasMember("postPage") ? d["postPage"] : d;
        if (!page.IsObject() || !page.HasMember("list") || !page["list"].IsArray()) {
            ADD_FAILURE() << path << " has no list: " << a.body;
            return false;
        }
        for (const auto& e : page["list"].GetArray())
            if (std::to_string(e["id"].GetInt()) == id) return true;
        return false;
    }

    static std::unique_ptr<LocalForumProcess> forum_;
    ForumHttp http_{*forum_};
    httplib::Headers user_, manager_;
};
std::unique_ptr<LocalForumProcess> ForumWriting::forum_;

TEST_F(ForumWriting, PostWithUploadsReadsBackAndShortEditKeepsAttachments) {
    Answer audio = http_.Upload("/api/file", "歌 \"一\".mp3", std::string(3000, 'a'), user_);
    ASSERT_EQ(audio.code(), 0) << audio.body;
    int fileId = audio.data()["id"].GetInt();
    EXPECT_NE(fileId, 0);
    std::string url = audio.data()["url"].GetString();
    ASSERT_EQ(url.rfind(forum_->baseUrl() + "/files/", 0), 0u);
    EXPECT_EQ(http_.Get(url.substr(forum_->baseUrl().size())).body, std::string(3000, 'a'));

    std::string id = NewPost("带附件的帖子", R"(,"notify":1,"viewPrice":1.5,"audioList":[{"fileId":)" +
                                                 std::to_string(fileId) + R"(,"desc":"第一首"}],)"
                                                 R"("linkList":[{"url":"http://example.com/a","desc":"链接"}])");
    Answer post = http_.Get("/api/post/" + id, user_);
    ASSERT_EQ(post.code(), 0);
    EXPECT_TRUE(post.data()["isOwner"].GetBool());
    EXPECT_EQ(post.data()["audioList"][0]["url"].GetString(), url);
    EXPECT_DOUBLE_EQ(post.data()["viewPrice"].GetDouble(), 1.5);
    EXPECT_STREQ(post.data()["linkList"][0]["desc"].GetString(), "链接");

    Answer edit = http_.Send("PUT", "/api/post", R"({"id":)" + id +
                                                     R"(,"title":"改过的标题","sectionId":1,"body":"新正文","linkList":[]})",
                             user_);
    ASSERT_EQ(edit.code(), 0) << edit.body;
    post = http_.Get("/api/post/" + id);
    EXPECT_STREQ(post.data()["title"].GetString(), "改过的标题");
    EXPECT_EQ(post.data()["audioList"].Size(), 1u);
    EXPECT_EQ(post.data()["linkList"].Size(), 0u);
    EXPECT_DOUBLE_EQ(post.data()["viewPrice"].GetDouble(), 1.5);

    // Someone else's post: refused as owner, allowed as section manager.
    EXPECT_EQ(http_.Send("PUT", "/api/post", R"({"id":)" + id + R"(,"title":"x"})", manager_).code(), 403);
    EXPECT_EQ(http_.Send("PUT", "/api/post/manage", R"({"id":)" + id + R"(,"title":"版主改的"})", manager_).code(), 0);
    EXPECT_NE(http_.Send("POST", "/api/post", R"({"title":"坏附件","sectionId":1,"body":"x","audioList":[{"fileId":999}]})",
                         user_).code(), 0);
}

TEST_F(ForumWriting, DeletedPostsVanishFromReads) {
    std::string id = NewPost("马上删除");
    EXPECT_TRUE(Listed("/api/post/new?pageNum=1&pageSize=20", id));
    EXPECT_EQ(http_.Send("DELETE", "/api/post/" + id, "", manager_).code(), 0);
    EXPECT_EQ(http_.Get("/api/post/" + id).code(), 404);
    EXPECT_FALSE(Listed("/api/post/new?pageNum=1&pageSize=20", id));
    EXPECT_EQ(http_.Send("DELETE", "/api/post/" + id, "", user_).code(), 404);
}

TEST_F(ForumWriting, RepliesGetFloorsAndLockStopsThem) {
    std::string id = NewPost("回复测试");
    Answer first = http_.Send("POST", "/api/reply", R"({"postId":)" + id + R"(,"body":"带\"引号\"\n和换行"})", user_);
    ASSERT_EQ(first.code(), 0) << first.body;
    int firstId = first.data()["id"].GetInt();
    Answer floorReply = http_.Send("POST", "/api/reply",
                                   R"({"postId":)" + id + R"(,"body":"楼中楼","parentId":)" + std::to_string(firstId) + "}",
                                   manager_);
    ASSERT_EQ(floorReply.code(), 0);
    EXPECT_NE(http_.Send("POST", "/api/reply", R"({"postId":)" + id + R"(,"body":"x","parentId":1})", user_).code(), 0);
    EXPECT_NE(http_.Send("POST", "/api/reply", R"({"postId":)" + id + R"(,"body":"   "})", user_).code(), 0);

    Answer list = http_.Get("/api/reply?postId=" + id + "&pageNum=1&pageSize=20");
    ASSERT_EQ(list.data()["list"].Size(), 2u);
    EXPECT_STREQ(list.data()["list"][0]["body"].GetString(), "带\"引号\"\n和换行");
    EXPECT_EQ(list.data()["list"][1]["floor"].GetInt(), 2);
    EXPECT_EQ(list.data()["list"][1]["parentFloor"].GetInt(), 1);
    EXPECT_EQ(list.data()["list"][1]["isManager"].GetInt(), 1);
    EXPECT_EQ(http_.Get("/api/post/" + id).data()["replyCount"].GetInt(), 2);
    EXPECT_TRUE(Listed("/api/post/new-reply?pageNum=1&pageSize=20", id));

    EXPECT_EQ(http_.Send("PATCH", "/api/post/lock", R"({"id":)" + id + R"(,"value":true})", user_).code(), 403);
    EXPECT_EQ(http_.Send("PATCH", "/api/post/lock", R"({"id":)" + id + R"(,"value":true})", manager_).code(), 0);
    Answer locked = http_.Get("/api/post/" + id);
    EXPECT_EQ(locked.data()["lock"].GetInt(), 1);
    EXPECT_EQ(locked.data()["replyForbidden"].GetInt(), 1);
    Answer refused = http_.Send("POST", "/api/reply", R"({"postId":)" + id + R"(,"body":"还能回吗"})", user_);
    EXPECT_NE(refused.code(), 0);
    EXPECT_FALSE(refused.errMsg().empty());
}

TEST_F(ForumWriting, ModerationChangesLaterReads) {
    std::string id = NewPost("被管理的帖子");
    const std::string hot = "/api/post/hot?pageNum=1&pageSize=100";
    EXPECT_TRUE(Listed(hot, id));
    // An id-only toggle flips; the explicit forms set.
    EXPECT_EQ(http_.Send("PATCH", "/api/post/top", "{\"id\":" + id + "}", manager_).code(), 0);
    EXPECT_EQ(http_.Get("/api/post/" + id).data()["top"].GetInt(), 1);
    EXPECT_EQ(http_.Send("PATCH", "/api/post/top", "{\"postId\":" + id + ",\"top\":0}", manager_).code(), 0);
    EXPECT_EQ(http_.Get("/api/post/" + id).data()["top"].GetInt(), 0);

    EXPECT_EQ(http_.Send("PATCH", "/api/post/sink", "{\"id\":" + id + ",\"status\":1}", manager_).code(), 0);
    EXPECT_FALSE(Listed(hot, id));
    http_.Send("PATCH", "/api/post/sink", "{\"id\":" + id + ",\"enabled\":false}", manager_);
    EXPECT_TRUE(Listed(hot, id));

    EXPECT_EQ(http_.Send("PATCH", "/api/post/" + id + "/shield", "", manager_).code(), 0);
    EXPECT_EQ(http_.Get("/api/post/" + id).data()["status"].GetInt(), 2);
    EXPECT_FALSE(Listed(hot, id));
    EXPECT_EQ(http_.Send("PATCH", "/api/post/" + id + "/unshield", "", manager_).code(), 0);
    EXPECT_TRUE(Listed(hot, id));

    EXPECT_EQ(http_.Send("POST", "/api/post/" + id + "/top-all", "[3]", manager_).code(), 0);
    Answer three = http_.Get("/api/section/3?pageNum=1&pageSize=20");
    EXPECT_EQ(std::to_string(three.data()["postPage"]["list"][0]["id"].GetInt()), id);
    EXPECT_EQ(http_.Get("/api/post/" + id).data()["topAll"].GetInt(), 1);
    EXPECT_EQ(http_.Send("DELETE", "/api/post/" + id + "/top-all", "", manager_).code(), 0);
    EXPECT_EQ(http_.Get("/api/post/" + id).data()["topAll"].GetInt(), 0);
    EXPECT_FALSE(Listed("/api/section/3?pageNum=1&pageSize=20", id));

    EXPECT_EQ(http_.Send("PATCH", "/api/post/move", "{\"postId\":" + id + ",\"targetSectionId\":2}", manager_).code(), 0);
    EXPECT_EQ(http_.Get("/api/post/" + id).data()["sectionId"].GetInt(), 2);
    EXPECT_EQ(http_.Send("PATCH", "/api/post/move", "{\"id\":" + id + ",\"sectionId\":999}", manager_).code(), 404);

    EXPECT_EQ(http_.Send("POST", "/api/complaint", "{\"type\":0,\"id\":" + id + ",\"reason\":\"重复\\n发帖\"}", user_).code(), 0);
    EXPECT_NE(http_.Send("POST", "/api/complaint", "{\"type\":1,\"objectId\":" + id + ",\"reason\":\"\"}", user_).code(), 0);
}

TEST_F(ForumWriting, MessagesReachTheRecipientAndBansEndSessions) {
    EXPECT_EQ(http_.Send("POST", "/api/msg", R"({"receiverId":7,"body":"你好，小橙子"})", user_).code(), 0);
    std::string orange = http_.Login("13800000007", "demo123");
    Answer inbox = http_.Get("/api/msg/my?pageNum=1&pageSize=20", TokenHeader(orange));
    ASSERT_EQ(inbox.code(), 0);
    ASSERT_EQ(inbox.data()["total"].GetInt(), 1);
    EXPECT_STREQ(inbox.data()["list"][0]["content"].GetString(), "你好，小橙子");

    EXPECT_EQ(http_.Send("PATCH", "/api/user/7/silence", "", manager_).code(), 0);
    EXPECT_NE(http_.Send("POST", "/api/reply", R"({"postId":1,"body":"被禁言了"})", TokenHeader(orange)).code(), 0);
    EXPECT_EQ(http_.Send("PATCH", "/api/user/7/cancelSilence", "", manager_).code(), 0);
    EXPECT_EQ(http_.Send("POST", "/api/reply", R"({"postId":1,"body":"解除了"})", TokenHeader(orange)).code(), 0);

    EXPECT_EQ(http_.Send("PATCH", "/api/user/7/ban", "", user_).code(), 403);
    EXPECT_EQ(http_.Send("PATCH", "/api/user/7/ban", "", manager_).code(), 0);
    EXPECT_EQ(http_.Get("/api/user", TokenHeader(orange)).code(), -100);
    EXPECT_TRUE(http_.Login("13800000007", "demo123").empty());
    EXPECT_EQ(http_.Send("PATCH", "/api/user/7/cancelBan", "", manager_).code(), 0);
    EXPECT_FALSE(http_.Login("13800000007", "demo123").empty());
}

TEST_F(ForumWriting, UploadsCheckKindPartAndSize) {
    EXPECT_EQ(http_.Upload("/api/file/image", "photo.png", "png", user_).code(), 0);
    EXPECT_NE(http_.Upload("/api/file/image", "clip.mp4", "mp4", user_).code(), 0);
    EXPECT_EQ(http_.Upload("/api/file/video", "clip.mp4", "mp4", user_).code(), 0);
    EXPECT_EQ(http_.Upload("/api/file", "empty.txt", "", user_).code(), 0);
    EXPECT_EQ(http_.Upload("/api/file", "a.txt", "x").code(), -100);
    Answer exact = http_.Upload("/api/file", "limit.bin", std::string(4096, 'x'), user_);
    EXPECT_EQ(exact.code(), 0) << exact.body;
    Answer over = http_.Upload("/api/file", "over.bin", std::string(4097, 'x'), user_);
    EXPECT_EQ(over.code(), 413);
    EXPECT_FALSE(over.errMsg().empty());
    Answer huge = http_.Upload("/api/file", "huge.bin", std::string(2 * 1024 * 1024, 'x'), user_);
    EXPECT_NE(huge.code(), 0);
    EXPECT_FALSE(huge.errMsg().empty()) << huge.body;
    Answer noPart = http_.Send("POST", "/api/file", "not multipart", user_, "text/plain");
    EXPECT_EQ(noPart.code(), 400);
}

TEST_F(ForumWriting, MalformedBodiesGetAnEnvelopeAndChangeNothing) {
    const std::vector<std::pair<std::string, std::string>> writes = {
        {"POST", "/api/post"},       {"PUT", "/api/post"},      {"PUT", "/api/post/manage"},
        {"POST", "/api/reply"},      {"PATCH", "/api/post/essence"}, {"PATCH", "/api/post/move"},
        {"POST", "/api/complaint"},  {"POST", "/api/msg"},      {"POST", "/api/post/1/top-all"},
        {"POST", "/api/user/register"}, {"POST", "/api/user/reset-password"}};
    int before = http_.Get("/api/post/new?pageNum=1&pageSize=1").data()["total"].GetInt();
    for (const auto& [method, path] : writes) {
        for (const char* body : {"{broken", "{}", "[1,\"x\"]", "{\"id\":\"abc\",\"postId\":null,\"title\":5}"}) {
            Answer a = http_.Send(method, path, body, manager_);
            ASSERT_TRUE(a.parsed()) << method << " " << path << " " << body << ": " << a.body;
            EXPECT_NE(a.code(), 0) << method << " " << path << " " << body;
            EXPECT_FALSE(a.errMsg().empty()) << method << " " << path << " " << body;
        }
    }
    // Nesting deep enough to exhaust a recursive parser's stack.
    Answer deep = http_.Send("POST", "/api/post", std::string(500000, '['), manager_);
    EXPECT_EQ(deep.code(), 400) << deep.body.substr(0, 200);
    EXPECT_EQ(http_.Get("/api/post/new?pageNum=1&pageSize=1").data()["total"].GetInt(), before);
}

TEST_F(ForumWriting, TextsThatAreNotUtf8AreRefusedAndNeverServed) {
    std::string id = NewPost("编码测试");
    const std::string post = R"({"title":"t","sectionId":1,"body":")";
    const std::string reply = R"({"postId":)" + id + R"(,"body":")";
    const std::vector<std::string> bad = {"\xFF", "a\xC0\xAF", "\xED\xA0\x80", "\\udc00", "\xE4\xB8"};
    int before = http_.Get("/api/post/new?pageNum=1&pageSize=1").data()["total"].GetInt();
    for (const std::string& text : bad) {
        for (const std::string& body : {post + text + "\"}", reply + text + "\"}",
                                        R"({"title":"t","sectionId":1,"body":"b",")" + text + R"(":1})"}) {
            Answer a = http_.Send("POST", body.rfind(reply, 0) == 0 ? "/api/reply" : "/api/post", body, user_);
            ASSERT_TRUE(a.parsed()) << a.body;
            EXPECT_EQ(a.code(), 400) << body;
            EXPECT_FALSE(a.errMsg().empty()) << body;
        }
    }
    Answer name = http_.Upload("/api/file", "bad\xFF.txt", "x", user_);
    EXPECT_EQ(name.code(), 400) << name.body;
    EXPECT_EQ(http_.Get("/api/post/new?pageNum=1&pageSize=1").data()["total"].GetInt(), before);
    EXPECT_EQ(http_.Get("/api/reply?postId=" + id + "&pageNum=1&pageSize=20").data()["total"].GetInt(), 0);
    // Well-formed texts of every length still pass.
    EXPECT_EQ(http_.Send("POST", "/api/reply", reply + "\xC2\xA9\xE4\xB8\xAD\xF0\x9F\x8E\xB5\"}", user_).code(), 0);
}

TEST_F(ForumWriting, RangesCutFilesButNeverAnEnvelope) {
    Answer whole = http_.Get("/api/section");
    ASSERT_EQ(whole.code(), 0) << whole.body;
    Answer ranged = http_.Get("/api/section", {{"Range", "bytes=0-5"}});
    EXPECT_EQ(ranged.status, 200);
    EXPECT_EQ(ranged.body, whole.body);
    EXPECT_FALSE(ranged.headers.count("Content-Range"));
    Answer file = http_.Upload("/api/file", "r.txt", "0123456789", user_);
    ASSERT_EQ(file.code(), 0) << file.body;
    const std::string url = file.data()["url"].GetString();
    Answer part = http_.Get(url.substr(url.find("/files/")), {{"Range", "bytes=2-5"}});
    EXPECT_EQ(part.status, 206);
    EXPECT_EQ(part.body, "2345");
}

}  // namespace
}  // namespace qtest
