// Cookie extraction and the forms in which a request carries the session.
#include <gtest/gtest.h>

#include "api/auth_variants.h"
#include "api/cookies.h"

namespace {

std::vector<std::string> Lines(const HeaderList& set)
{
    std::vector<std::string> out;
    for (const auto& [n, v] : set) out.push_back(std::string((n + wxS(": ") + v).utf8_str()));
    return out;
}

using L = std::vector<std::string>;

TEST(ExtractCookies, TakesNameValueOfEverySetCookieLineInOrder)
{
    EXPECT_EQ(ExtractCookies(wxS("HTTP/1.1 200 OK\r\nContent-Type: x\r\n\r\n")), wxS(""));
    EXPECT_EQ(ExtractCookies(wxS("HTTP/1.1 200 OK\r\nset-cookie:  a=1; Path=/\r\nSET-COOKIE:\tb=2")),
              wxS("a=1; b=2"));
    EXPECT_EQ(ExtractCookies(wxS("Set-Cookie: a=1\r\nSet-Cookie: a=1\r\n")), wxS("a=1; a=1"));
    // Eleven characters alone, an empty value, or only attributes add nothing.
    EXPECT_EQ(ExtractCookies(wxS("Set-Cookie:\r\nSet-Cookie:   \r\nSet-Cookie: ;Path=/\r\nX: Set-Cookie: z=9")),
              wxS(""));
    EXPECT_EQ(ExtractCookies(wxS("Set-Cookie2: c=3\r\n")), wxS(""));
}

TEST(PathCandidates, OneWithoutTokenThreeWithQueryForms)
{
    EXPECT_EQ(BuildPathCandidates(wxS("/api/post/1/lock"), wxS("")),
              (std::vector<wxString>{wxS("/api/post/1/lock")}));
    EXPECT_EQ(BuildPathCandidates(wxS("/api/a"), wxS("t+k")),
              (std::vector<wxString>{wxS("/api/a"), wxS("/api/a?token=t+k"), wxS("/api/a?accessToken=t+k")}));
    EXPECT_EQ(BuildPathCandidates(wxS("/api/a?x=1"), wxS("T")),
              (std::vector<wxString>{wxS("/api/a?x=1"), wxS("/api/a?x=1&token=T"),
                                     wxS("/api/a?x=1&accessToken=T")}));
}

TEST(AuthHeaderSets, GuestGetsSevenSetsWithEmptyTokenHeaders)
{
    const auto sets = BuildAuthHeaderSets(wxS(""), wxS(""), false);
    ASSERT_EQ(sets.size(), 7u);
    EXPECT_EQ(Lines(sets[0]), (L{"Accept: application/json", "Authorization: "}));
    EXPECT_EQ(Lines(sets[3]), (L{"Accept: application/json", "Authorization: Bearer "}));
    EXPECT_EQ(Lines(sets[6]), (L{"Accept: application/json", "accessToken: "}));
}

TEST(AuthHeaderSets, CookiesOnlyAddAnEighthSetAndTravelEverywhere)
{
    const auto sets = BuildAuthHeaderSets(wxS(""), wxS("S=1; R=2"), false);
    ASSERT_EQ(sets.size(), 8u);
    EXPECT_EQ(Lines(sets[1]), (L{"Accept: application/json", "token: ", "Cookie: S=1; R=2"}));
    EXPECT_EQ(Lines(sets[7]), (L{"Accept: application/json", "Cookie: S=1; R=2"}));
}

TEST(AuthHeaderSets, TokenOnlyGivesTenSets)
{
    const auto sets = BuildAuthHeaderSets(wxS("T"), wxS(""), false);
    ASSERT_EQ(sets.size(), 10u);
    const std::string k = "Cookie: token=T; accessToken=T; Authorization=T";
    EXPECT_EQ(Lines(sets[7]), (L{"Accept: application/json", k}));
    EXPECT_EQ(Lines(sets[8]), (L{"Accept: application/json", "token: T", k}));
    EXPECT_EQ(Lines(sets[9]), (L{"Accept: application/json", "Authorization: T", k}));
}

TEST(AuthHeaderSets, TokenAndCookiesGiveElevenSetsInTheFixedOrder)
{
    const auto sets = BuildAuthHeaderSets(wxS("T"), wxS("S=1"), false);
    const std::string k = "Cookie: token=T; accessToken=T; Authorization=T";
    const std::vector<L> expected{
        {"Accept: application/json", "Authorization: T", "Cookie: S=1"},
        {"Accept: application/json", "token: T", "Cookie: S=1"},
        {"Accept: application/json", "Token: T", "Cookie: S=1"},
        {"Accept: application/json", "Authorization: Bearer T", "Cookie: S=1"},
        {"Accept: application/json", "authentication: T", "Cookie: S=1"},
        {"Accept: application/json", "X-Token: T", "Cookie: S=1"},
        {"Accept: application/json", "accessToken: T", "Cookie: S=1"},
        {"Accept: application/json", "Cookie: S=1"},
        {"Accept: application/json", k},
        {"Accept: application/json", "token: T", k},
        {"Accept: application/json", "Authorization: T", k},
    };
    ASSERT_EQ(sets.size(), expected.size());
    for (size_t i = 0; i < sets.size(); ++i) EXPECT_EQ(Lines(sets[i]), expected[i]) << "set " << i + 1;
}

TEST(AuthHeaderSets, JsonContentTypeComesAfterTokenAndBeforeAppendedCookie)
{
    const auto sets = BuildAuthHeaderSets(wxS("T"), wxS("S=1"), true);
    ASSERT_EQ(sets.size(), 11u);
    const std::string ct = "Content-Type: application/json; charset=utf-8";
    EXPECT_EQ(Lines(sets[0]), (L{"Accept: application/json", "Authorization: T", ct, "Cookie: S=1"}));
    EXPECT_EQ(Lines(sets[7]), (L{"Accept: application/json", "Cookie: S=1", ct}));
    EXPECT_EQ(Lines(sets[10]), (L{"Accept: application/json", "Authorization: T",
                                  "Cookie: token=T; accessToken=T; Authorization=T", ct}));
    const auto guest = BuildAuthHeaderSets(wxS(""), wxS(""), true);
    ASSERT_EQ(guest.size(), 7u);
    EXPECT_EQ(Lines(guest[2]), (L{"Accept: application/json", "Token: ", ct}));
}

}  // namespace
