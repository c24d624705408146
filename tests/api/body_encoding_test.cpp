// Template escapes, writer bodies and query encoding, byte for byte.
#include <gtest/gtest.h>

#include <cmath>

#include "api/body_encoding.h"

namespace {

TEST(EscapeJsonText, EscapesTheFiveAndEveryOtherControlCharacter)
{
    EXPECT_EQ(EscapeJsonText(wxS("pa\"ss\\word")), wxS("pa\\\"ss\\\\word"));
    EXPECT_EQ(EscapeJsonText(wxS("a\tb\nc\rd")), wxS("a\\tb\\nc\\rd"));
    // Left raw these would make the filled template invalid JSON.
    EXPECT_EQ(EscapeJsonText(wxString(L"\f\x01\x1f\b", 4)), wxS("\\u000C\\u0001\\u001F\\u0008"));
    EXPECT_EQ(EscapeJsonText(wxString(L"\0", 1)), wxS("\\u0000"));
    EXPECT_EQ(EscapeJsonText(wxS("中文 /\x7f")), wxS("中文 /\x7f"));
    const wxString body = wxString::Format(wxS("{\"mobile\":\"%s\",\"password\":\"%s\"}"),
                                           EscapeJsonText(wxS("138")), EscapeJsonText(wxS("p\"\\\f")));
    EXPECT_EQ(ToUtf8(body), R"({"mobile":"138","password":"p\"\\\u000C"})");
}

TEST(JsonBodyWriter, WritesCompactBodiesWithRapidJsonEscapes)
{
    JsonBodyWriter w;
    w.StartObject()
        .Member("postId", int32_t{-5})
        .Member("body", wxS("line one\nline two"))
        .Member("ctl", wxString(L"\x01\b\f\t\r\"\\/", 8))
        .Member("title", wxS("标题"))
        .Member("notify", true)
        .Member("raw", "utf8")
        .Key("ids")
        .StartArray()
        .Value(int32_t{1})
        .Value(int32_t{2})
        .EndArray()
        .EndObject();
    EXPECT_EQ(w.Body(), "{\"postId\":-5,\"body\":\"line one\\nline two\","
                        "\"ctl\":\"\\u0001\\b\\f\\t\\r\\\"\\\\/\",\"title\":\"标题\","
                        "\"notify\":true,\"raw\":\"utf8\",\"ids\":[1,2]}");
}

TEST(JsonBodyWriter, NumbersWithoutAValueStillGiveValidJson)
{
    JsonBodyWriter w;
    w.StartObject()
        .Member("price", 1.5)
        .Member("nan", std::nan(""))
        .Member("inf", -HUGE_VAL)
        .Member("last", int32_t{2})
        .EndObject();
    EXPECT_EQ(w.Body(), R"({"price":1.5,"nan":null,"inf":null,"last":2})");
}

TEST(UrlEncode, KeepsUnreservedAndEncodesEveryOtherUtf8Byte)
{
    EXPECT_EQ(UrlEncode(wxS("a b/中")), wxS("a%20b%2F%E4%B8%AD"));
    EXPECT_EQ(UrlEncode(wxS("AZaz09-._~")), wxS("AZaz09-._~"));
    EXPECT_EQ(UrlEncode(wxS("&=?+%#")), wxS("%26%3D%3F%2B%25%23"));
    EXPECT_EQ(UrlEncode(wxS("")), wxS(""));
}

TEST(PathNumber, DecimalWithSign)
{
    EXPECT_EQ(wxS("/api/post/") + PathNumber(-5) + wxS("/shield"), wxS("/api/post/-5/shield"));
    EXPECT_EQ(PathNumber(2147483647), wxS("2147483647"));
    EXPECT_EQ(PathNumber(0), wxS("0"));
}

TEST(ToUtf8, ConvertsWithoutBomOrTerminator)
{
    EXPECT_EQ(ToUtf8(wxS("中a")), "\xE4\xB8\xAD" "a");
    EXPECT_EQ(ToUtf8(wxString(L"a\0b", 3)), std::string("a\0b", 3));
}

}  // namespace
