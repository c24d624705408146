// The seeded forum read through real HTTP: every list and detail has the
// members and shapes the client reads.
#include "local_forum/forum_http.h"

#include <gtest/gtest.h>

#include <memory>
#include <set>

namespace qtest {
namespace {

class ForumReading : public ::testing::Test {
protected:
    static void SetUpTestSuite() { forum_ = std::make_unique<LocalForumProcess>(); }
    static void TearDownTestSuite() { forum_.reset(); }
    void SetUp() override { ASSERT_TRUE(forum_->ok()) << forum_->error(); }

    static std::unique_ptr<LocalForumProcess> forum_;
    ForumHttp http_{*forum_};
};
std::unique_ptr<LocalForumProcess> ForumReading::forum_;

void ExpectPaging(const rapidjson::Value& page, int pageNum, int pageSize) {
    ASSERT_TRUE(page.IsObject());
    ASSERT_TRUE(page["list"].IsArray());
    EXPECT_EQ(page["pageNum"].GetInt(), pageNum);
    EXPECT_EQ(page["pageSize"].GetInt(), pageSize);
    int total = page["total"].GetInt();
    EXPECT_EQ(page["pages"].GetInt(), total == 0 ? 1 : (total + pageSize - 1) / pageSize);
}

int FindByTitle(const rapidjson::Value& list, const std::string& title) {
    for (const auto& e : list.GetArray())
        if (title == e["title"].GetString()) return e["id"].GetInt();
    return 0;
}

TEST_F(ForumReading, SectionsCoverEverySpecialKind) {
    Answer a = http_.Get("/api/section");
    ASSERT_EQ(a.code(), 0) << a.body;
    ASSERT_TRUE(a.data().IsArray());
    std::set<int> ids;
    bool allowAdmin = false, noDescription = false, described = false;
    for (const auto& s : a.data().GetArray()) {
        ids.insert(s["id"].GetInt());
        EXPECT_FALSE(std::string(s["name"].GetString()).empty());
        allowAdmin |= s["allowAdmin"].GetInt() == 1;
        (std::string(s["description"].GetString()).empty() ? noDescription : described) = true;
        EXPECT_TRUE(s["resource"].IsInt());
    }
    EXPECT_TRUE(ids.count(2014) && ids.count(2016)) << a.body;
    EXPECT_TRUE(allowAdmin && noDescription && described) << a.body;
}

TEST_F(ForumReading, SectionPostsSpanTwoPagesPinnedFirstSunkLast) {
    Answer first = http_.Get("/api/section/1?pageNum=1&pageSize=20");
    ASSERT_EQ(first.code(), 0) << first.body;
    EXPECT_EQ(first.data()["id"].GetInt(), 1);
    EXPECT_STREQ(first.data()["name"].GetString(), "综合讨论");
    const auto& page = first.data()["postPage"];
    ExpectPaging(page, 1, 20);
    EXPECT_GT(page["total"].GetInt(), 20);
    ASSERT_EQ(page["list"].Size(), 20u);
    EXPECT_EQ(page["list"][0]["top"].GetInt(), 1);

    int pages = page["pages"].GetInt();
    Answer last = http_.Get("/api/section/1?pageNum=" + std::to_string(pages) + "&pageSize=20");
    ASSERT_EQ(last.code(), 0);
    const auto& lastList = last.data()["postPage"]["list"];
    ASSERT_EQ(static_cast<int>(lastList.Size()), page["total"].GetInt() - 20 * (pages - 1));
    EXPECT_EQ(lastList[lastList.Size() - 1]["sink"].GetInt(), 1);
}

TEST_F(ForumReading, FrontListsAreFilledAndPaged) {
    for (const char* path : {"/api/post/hot", "/api/post/new", "/api/post/new-reply"}) {
        SCOPED_TRACE(path);
        Answer a = http_.Get(std::string(path) + "?pageNum=1&pageSize=5");
        ASSERT_EQ(a.code(), 0) << a.body;
        ExpectPaging(a.data(), 1, 5);
        ASSERT_GT(a.data()["list"].Size(), 0u);
        for (const auto& e : a.data()["list"].GetArray()) {
            EXPECT_NE(e["id"].GetInt(), 0);
            EXPECT_TRUE(e["title"].IsString() && e["userName"].IsString() && e["createTimeCn"].IsString());
            EXPECT_TRUE(e["replyCount"].IsInt() && e["viewCount"].IsInt() && e["top"].IsInt());
        }
    }
    Answer replies = http_.Get("/api/post/new-reply?pageNum=1&pageSize=20");
    for (const auto& e : replies.data()["list"].GetArray()) EXPECT_GT(e["replyCount"].GetInt(), 0);
}

TEST_F(ForumReading, SearchDecodesTheKeywordAndMatchesTitleAndBody) {
    Answer title = http_.Get("/api/post/search?keyword=" + UrlEncode("Orca 常用") + "&pageNum=1&pageSize=20");
    ASSERT_EQ(title.code(), 0) << title.body;
    EXPECT_NE(FindByTitle(title.data()["list"], "NVDA 与 Orca 常用快捷键对照整理"), 0) << title.body;

    Answer body = http_.Get("/api/post/search?keyword=" + UrlEncode("修饰键") + "&pageNum=1&pageSize=20");
    ASSERT_EQ(body.code(), 0);
    EXPECT_NE(FindByTitle(body.data()["list"], "NVDA 与 Orca 常用快捷键对照整理"), 0) << body.body;

    Answer none = http_.Get("/api/post/search?keyword=" + UrlEncode("没有这个词") + "&pageNum=1&pageSize=20");
    ASSERT_EQ(none.code(), 0);
    EXPECT_EQ(none.data()["list"].Size(), 0u);
    EXPECT_EQ(none.data()["total"].GetInt(), 0);

    Answer empty = http_.Get("/api/post/search?keyword=%20&pageNum=1&pageSize=20");
    EXPECT_NE(empty.code(), 0);
    EXPECT_FALSE(empty.errMsg().empty());
}

TEST_F(ForumReading, MediaPostListsFilesTheServerStreamsWithRanges) {
    Answer found = http_.Get("/api/post/search?keyword=" + UrlEncode("试听") + "&pageNum=1&pageSize=20");
    int id = FindByTitle(found.data()["list"], "【试听】两段合成器小品与一段演奏视频");
    ASSERT_NE(id, 0) << found.body;
    Answer post = http_.Get("/api/post/" + std::to_string(id));
    ASSERT_EQ(post.code(), 0) << post.body;
    const auto& d = post.data();
    EXPECT_EQ(d["id"].GetInt(), id);
    EXPECT_FALSE(d["isOwner"].GetBool());
    ASSERT_EQ(d["audioList"].Size(), 2u);
    ASSERT_EQ(d["videoList"].Size(), 1u);
    EXPECT_STRNE(d["videoList"][0]["attachFileUrl"].GetString(), "");
    EXPECT_GT(d["linkList"].Size(), 0u);
    EXPECT_TRUE(d["viewPrice"].IsNumber() && d["lock"].IsInt() && d["status"].IsInt());

    std::string prefix = forum_->baseUrl();
    for (const auto* list : {&d["audioList"], &d["videoList"]}) {
        for (const auto& item : list->GetArray()) {
            std::string url = item["url"].GetString();
            ASSERT_EQ(url.rfind(prefix + "/files/", 0), 0u) << url;
            Answer whole = http_.Get(url.substr(prefix.size()));
            ASSERT_EQ(whole.status, 200) << url;
            ASSERT_GT(whole.body.size(), 1000u);
            Answer part = http_.Get(url.substr(prefix.size()), {{"Range", "bytes=100-299"}});
            EXPECT_EQ(part.status, 206);
            EXPECT_EQ(part.body, whole.body.substr(100, 200));
            EXPECT_EQ(httplib::detail::get_header_value(part.headers, "Content-Range", 0, ""),
                      "bytes 100-299/" + std::to_string(whole.body.size()));
        }
    }
}

TEST_F(ForumReading, FloorsNameTheirParentsAndKeepLineBreaksAndLongBodies) {
    Answer found = http_.Get("/api/post/search?keyword=" + UrlEncode("快捷键对照") + "&pageNum=1&pageSize=20");
    int id = FindByTitle(found.data()["list"], "NVDA 与 Orca 常用快捷键对照整理");
    ASSERT_NE(id, 0);
    Answer a = http_.Get("/api/reply?postId=" + std::to_string(id) + "&pageNum=1&pageSize=20");
    ASSERT_EQ(a.code(), 0) << a.body;
    ExpectPaging(a.data(), 1, 20);
    std::map<int, int> floorOf;
    bool floorReply = false, lineBreak = false, longBody = false;
    for (const auto& r : a.data()["list"].GetArray()) floorOf[r["id"].GetInt()] = r["floor"].GetInt();
    for (const auto& r : a.data()["list"].GetArray()) {
        std::string body = r["body"].GetString();
        if (int parent = r["parentId"].GetInt()) {
            floorReply = true;
            EXPECT_EQ(r["parentFloor"].GetInt(), floorOf.at(parent));
        } else {
            EXPECT_EQ(r["parentFloor"].GetInt(), 0);
        }
        lineBreak |= body.find('\n') != std::string::npos;
        longBody |= CharCount(body) > 120;
        EXPECT_TRUE(r["userName"].IsString() && r["createTime"].IsString() && r["isManager"].IsInt());
    }
    EXPECT_TRUE(floorReply && lineBreak && longBody) << a.body;

    Answer chain = http_.Get("/api/post/search?keyword=" + UrlEncode("楼层接龙") + "&pageNum=1&pageSize=20");
    int chainId = FindByTitle(chain.data()["list"], "楼层接龙：说说你最常用的读屏快捷键");
    Answer second = http_.Get("/api/reply?postId=" + std::to_string(chainId) + "&pageNum=2&pageSize=20");
    ASSERT_EQ(second.code(), 0);
    EXPECT_EQ(second.data()["pages"].GetInt(), 2);
    ASSERT_EQ(second.data()["list"].Size(), 3u);
    EXPECT_EQ(second.data()["list"][0]["floor"].GetInt(), 21);
}

TEST_F(ForumReading, BadReadsGetAnEnvelopeWithAMessage) {
    for (const char* path : {"/api/post/999999", "/api/section/999999", "/api/reply?postId=999999",
                             "/api/reply?postId=abc", "/api/post/hot?pageNum=x", "/api/nothing/here",
                             "/files/missing.mp3"}) {
        SCOPED_TRACE(path);
        Answer a = http_.Get(path);
        ASSERT_TRUE(a.parsed()) << a.body;
        EXPECT_NE(a.code(), 0);
        EXPECT_FALSE(a.errMsg().empty());
    }
    // A page far beyond the end is empty, not an overflow.
    Answer far = http_.Get("/api/section/1?pageNum=999999999&pageSize=100");
    ASSERT_EQ(far.code(), 0) << far.body;
    EXPECT_EQ(far.data()["postPage"]["list"].Size(), 0u);
    EXPECT_EQ(far.data()["postPage"]["pageNum"].GetInt(), 999999999);

    // A session-only read without a session: -100 and no message at all.
    Answer profile = http_.Get("/api/user");
    EXPECT_EQ(profile.code(), -100);
    EXPECT_FALSE(profile.hasErrMsg()) << profile.body;
}

}  // namespace
}  // namespace qtest
