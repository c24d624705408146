// Sessions and accounts: the token in every form the client offers, the
// -100 answer, registration and reset with printed codes, manager codes.
#include "local_forum/forum_http.h"

#include <gtest/gtest.h>

#include <memory>

namespace qtest {
namespace {

class ForumSessions : public ::testing::Test {
protected:
    static void SetUpTestSuite() { forum_ = std::make_unique<LocalForumProcess>(std::vector<std::string>{"--no-media"}); }
    static void TearDownTestSuite() { forum_.reset(); }
    void SetUp() override { ASSERT_TRUE(forum_->ok()) << forum_->error(); }

    static std::unique_ptr<LocalForumProcess> forum_;
    ForumHttp http_{*forum_};
};
std::unique_ptr<LocalForumProcess> ForumSessions::forum_;

std::string Cookie(const Answer& a, const std::string& name) {
    for (const auto& [key, value] : a.headers)
        if (key == "Set-Cookie" && value.rfind(name + "=", 0) == 0)
            return value.substr(name.size() + 1, value.find(';') - name.size() - 1);
    return "";
}

TEST_F(ForumSessions, TokenIsRecognisedInEveryOfferedForm) {
    Answer login = http_.Send("POST", "/api/user/login", R"({"mobile":"13800000001","password":"user123"})");
    ASSERT_EQ(login.code(), 0) << login.body;
    ASSERT_TRUE(login.data().IsString());
    std::string t = login.data().GetString();
    std::string session = Cookie(login, "forum_session");
    ASSERT_FALSE(session.empty());
    EXPECT_EQ(Cookie(login, "forum_lang"), "zh-CN");

    const std::vector<httplib::Headers> forms = {
        {{"Authorization", t}}, {{"Authorization", "Bearer " + t}}, {{"token", t}}, {{"Token", t}},
        {{"authentication", t}}, {{"X-Token", t}}, {{"accessToken", t}},
        // Each cookie alone, among cookies that carry nothing, so every name counts.
        {{"Cookie", "forum_lang=zh-CN; token=" + t}}, {{"Cookie", "accessToken=" + t + "; forum_lang=zh-CN"}},
        {{"Cookie", "a=b; Authorization=" + t + "; c=d"}},
        {{"Cookie", "forum_session=" + session + "; forum_lang=zh-CN"}},
    };
    for (const auto& headers : forms) {
        Answer a = http_.Get("/api/user", headers);
        EXPECT_EQ(a.code(), 0) << headers.begin()->first << ": " << headers.begin()->second << ": " << a.body;
        if (a.data().IsObject()) {
            EXPECT_STREQ(a.data()["name"].GetString(), "小澄同学");
        }
    }
    for (const char* q : {"token", "accessToken"}) {
        Answer a = http_.Get(std::string("/api/user?") + q + "=" + t);
        EXPECT_EQ(a.code(), 0) << q;
    }
    Answer coins = http_.Get("/api/user/1/lanyin", TokenHeader(t));
    EXPECT_EQ(coins.code(), 0);
    EXPECT_TRUE(coins.data().IsInt());
    Answer diamonds = http_.Get("/api/user/1/zuanshi", TokenHeader(t));
    EXPECT_TRUE(diamonds.data()["count"].IsInt()) << diamonds.body;
    EXPECT_NE(http_.Get("/api/user/2/zuanshi", TokenHeader(t)).code(), 0);
}

TEST_F(ForumSessions, MissingOrUnknownSessionIsMinus100WithoutMessage) {
    for (const httplib::Headers& h : std::vector<httplib::Headers>{{}, {{"token", "nope"}}, {{"Authorization", ""}}}) {
        for (const char* path : {"/api/user", "/api/album", "/api/post/my?pageNum=1&pageSize=20",
                                 "/api/post/manager?sectionId=1"}) {
            Answer a = http_.Get(path, h);
            EXPECT_EQ(a.code(), -100) << path << " " << a.body;
            EXPECT_FALSE(a.hasErrMsg()) << path;
        }
    }
    Answer write = http_.Send("POST", "/api/reply", R"({"postId":1,"body":"x"})");
    EXPECT_EQ(write.code(), -100);
}

TEST_F(ForumSessions, WrongPasswordAndBadBodiesAreRefusedWithMessages) {
    for (const char* body : {R"({"mobile":"13800000001","password":"wrong"})", R"({"mobile":"13800000001"})",
                             R"({"mobile":"12","password":"x"})", "{not json", "[]", ""}) {
        Answer a = http_.Send("POST", "/api/user/login", body);
        EXPECT_NE(a.code(), 0) << body;
        EXPECT_FALSE(a.errMsg().empty()) << body;
    }
}

TEST_F(ForumSessions, CodesAcceptEveryBodyFormAndGateRegistrationAndReset) {
    const std::string mobile = "13900000123";
    Answer asString = http_.Send("POST", "/api/verify-code", "\"" + mobile + "\"");
    EXPECT_EQ(asString.code(), 0) << asString.body;
    Answer asText = http_.Send("POST", "/api/verify-code", mobile, {}, "text/plain; charset=utf-8");
    EXPECT_EQ(asText.code(), 0) << asText.body;
    Answer asRaw = http_.Send("POST", "/api/verify-code", mobile);
    EXPECT_EQ(asRaw.code(), 0) << asRaw.body;
    EXPECT_NE(http_.Send("POST", "/api/verify-code", "\"123\"").code(), 0);

    std::string code = forum_->LastVerifyCode(mobile);
    ASSERT_EQ(code.size(), 6u) << forum_->log();
    std::string wrong = code == "111111" ? "222222" : "111111";
    Answer bad = http_.Send("POST", "/api/user/register",
                            R"({"mobile":")" + mobile + R"(","password":"secret1","code":")" + wrong + "\"}");
    EXPECT_NE(bad.code(), 0);
    EXPECT_NE(bad.code(), 1);
    EXPECT_FALSE(bad.errMsg().empty());

    Answer ok = http_.Send("POST", "/api/user/register",
                           R"({"mobile":")" + mobile + R"(","password":"secret1","code":")" + code + "\"}");
    ASSERT_EQ(ok.code(), 0) << ok.body;
    ASSERT_TRUE(ok.data().IsString());
    EXPECT_EQ(http_.Get("/api/user", TokenHeader(ok.data().GetString())).code(), 0);

    // The number is known now: code 1 alone, so the client shows its own text.
    Answer again = http_.Send("POST", "/api/user/register",
                              R"({"mobile":")" + mobile + R"(","password":"secret1","code":")" + code + "\"}");
    EXPECT_EQ(again.code(), 1);
    EXPECT_FALSE(again.hasErrMsg());

    // A code is used up by the registration.
    Answer reused = http_.Send("POST", "/api/user/reset-password",
                               R"({"mobile":")" + mobile + R"(","password":"secret2","code":")" + code + "\"}");
    EXPECT_NE(reused.code(), 0);
    http_.Send("POST", "/api/verify-code", "\"" + mobile + "\"");
    Answer reset = http_.Send("POST", "/api/user/reset-password",
                              R"({"mobile":")" + mobile + R"(","password":"secret2","code":")" +
                                  forum_->LastVerifyCode(mobile) + "\"}");
    ASSERT_EQ(reset.code(), 0) << reset.body;
    EXPECT_TRUE(http_.Login(mobile, "secret1").empty());
    EXPECT_FALSE(http_.Login(mobile, "secret2").empty());
}

TEST_F(ForumSessions, ManagerQueryAnswersZeroOneOrMinus101) {
    std::string manager = http_.Login(LocalForumProcess::kManagerMobile, LocalForumProcess::kManagerPassword);
    std::string user = http_.Login(LocalForumProcess::kUserMobile, LocalForumProcess::kUserPassword);
    ASSERT_FALSE(manager.empty());
    EXPECT_EQ(http_.Get("/api/post/manager?sectionId=1", TokenHeader(manager)).code(), 0);
    EXPECT_EQ(http_.Get("/api/post/manager?sectionId=2016", TokenHeader(manager)).code(), 1);
    EXPECT_EQ(http_.Get("/api/post/manager?sectionId=1", TokenHeader(user)).code(), 1);
    EXPECT_EQ(http_.Get("/api/post/manager?sectionId=424242", TokenHeader(user)).code(), -101);
}

TEST_F(ForumSessions, DetailTellsTheOwnerAndTheManager) {
    std::string author = http_.Login(LocalForumProcess::kAuthorMobile, LocalForumProcess::kAuthorPassword);
    std::string manager = http_.Login(LocalForumProcess::kManagerMobile, LocalForumProcess::kManagerPassword);
    Answer mine = http_.Get("/api/post/my?pageNum=1&pageSize=20", TokenHeader(author));
    ASSERT_EQ(mine.code(), 0);
    ASSERT_GT(mine.data()["total"].GetInt(), 0);
    std::string id = std::to_string(mine.data()["list"][0]["id"].GetInt());
    EXPECT_TRUE(http_.Get("/api/post/" + id, TokenHeader(author)).data()["isOwner"].GetBool());
    EXPECT_FALSE(http_.Get("/api/post/" + id, TokenHeader(manager)).data()["isOwner"].GetBool());
    EXPECT_FALSE(http_.Get("/api/post/" + id).data()["isOwner"].GetBool());

    // The manage view is for managers of the post's section only.
    Answer section = http_.Get("/api/section/3?pageNum=1&pageSize=20");
    std::string inThree = std::to_string(section.data()["postPage"]["list"][0]["id"].GetInt());
    Answer manage = http_.Get("/api/post/manage/" + inThree, TokenHeader(manager));
    EXPECT_EQ(manage.code(), 0) << manage.body;
    EXPECT_EQ(manage.data()["isManager"].GetInt(), 1);
    EXPECT_NE(http_.Get("/api/post/manage/" + inThree, TokenHeader(author)).code(), 0);
}

}  // namespace
}  // namespace qtest
