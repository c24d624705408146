// Tolerant JSON getters, parse messages and the envelope judgement.
#include <gtest/gtest.h>

#include "api/envelope.h"
#include "api/json_read.h"

#include <rapidjson/error/en.h>

namespace {

rapidjson::Document Doc(const char* json)
{
    rapidjson::Document d;
    d.Parse(json);
    EXPECT_FALSE(d.HasParseError()) << json;
    return d;
}

TEST(JsonGetters, IntReadsEveryNumberKindAndRejectsTheRest)
{
    const auto d = Doc(R"({"i":-7,"big":4294967297,"u32":3000000000,"neg64":-4294967297,
        "f":-2.9,"g":2.9,"huge":1e12,"u64":18446744073709551615,"s":"12","b":true,"n":null,"o":{},"a":[]})");
    EXPECT_EQ(JsonInt(&d, "i", 5), -7);
    EXPECT_EQ(JsonInt(&d, "big", 5), 1);           // low 32 bits
    EXPECT_EQ(JsonInt(&d, "u32", 5), -1294967296);  // low 32 bits, negative
    EXPECT_EQ(JsonInt(&d, "neg64", 5), -1);
    EXPECT_EQ(JsonInt(&d, "f", 5), -2);             // toward zero
    EXPECT_EQ(JsonInt(&d, "g", 5), 2);
    EXPECT_EQ(JsonInt(&d, "huge", 5), 2147483647);  // saturated, never undefined
    for (const char* k : {"u64", "s", "b", "n", "o", "a", "missing"}) EXPECT_EQ(JsonInt(&d, k, 5), 5) << k;
    EXPECT_EQ(JsonInt(nullptr, "i", 9), 9);
    const auto arr = Doc("[1]");
    EXPECT_EQ(JsonInt(&arr, "0", 9), 9);
}

TEST(JsonGetters, DoubleBoolAndTextFollowTheirOwnKinds)
{
    const auto d = Doc(R"({"d":1.25,"i":3,"i64":5000000000,"s":"1.5","t":true,"f":false,
        "zero":0,"two":2,"txt":"中文\u0000x","num":7,"e":""})");
    EXPECT_DOUBLE_EQ(JsonDouble(&d, "d", -1), 1.25);
    EXPECT_DOUBLE_EQ(JsonDouble(&d, "i", -1), 3.0);
    EXPECT_DOUBLE_EQ(JsonDouble(&d, "i64", -1), -1.0);
    EXPECT_DOUBLE_EQ(JsonDouble(&d, "s", -1), -1.0);
    EXPECT_TRUE(JsonBool(&d, "t", false));
    EXPECT_FALSE(JsonBool(&d, "f", true));
    EXPECT_FALSE(JsonBool(&d, "zero", true));
    EXPECT_TRUE(JsonBool(&d, "two", false));
    EXPECT_TRUE(JsonBool(&d, "s", true));
    EXPECT_FALSE(JsonBool(&d, "d", false));
    EXPECT_EQ(JsonText(&d, "txt"), wxString(L"中文\0x", 4));
    EXPECT_EQ(JsonText(&d, "num", wxS("dflt")), wxS("dflt"));
    EXPECT_EQ(JsonText(&d, "e", wxS("dflt")), wxS(""));
    EXPECT_EQ(JsonText(&d, "missing"), wxS(""));
    EXPECT_EQ(JsonMember(&d, "D"), nullptr);  // names are case-sensitive
    const auto withNull = Doc(R"({"data":null})");
    EXPECT_NE(JsonData(&withNull), nullptr);
    EXPECT_EQ(JsonData(&d), nullptr);
}

TEST(JsonGetters, BrokenUtf8KeepsTheRestOfTheText)
{
    // A stray byte, a cut-off sequence at the end, a surrogate and an
    // overlong form: each bad byte reads as U+FFFD, the rest survives.
    const auto d = Doc("{\"t\":\"ab\xFF\xE4\xB8\xAD\xE4\xB8\",\"s\":\"x\xED\xA0\x80y\xC0\xAFz\"}");
    EXPECT_EQ(JsonText(&d, "t"), wxString(L"ab\uFFFD中\uFFFD\uFFFD"));
    EXPECT_EQ(JsonText(&d, "s"), wxString(L"x\uFFFD\uFFFD\uFFFDy\uFFFD\uFFFDz"));
    EXPECT_EQ(JsonValueToText(JsonMember(&d, "t")), wxString(L"ab\uFFFD中\uFFFD\uFFFD"));
}

TEST(JsonGetters, EncodedSurrogateAloneIsInvalidToo)
{
    // The whole string is otherwise well formed, so only a strict decoder
    // notices the surrogate; a lone U+D800 would reach the screen as
    // nothing at all.
    const auto d = Doc("{\"t\":\"a\xED\xA0\x80" "b\",\"u\":\"\xF4\x90\x80\x80\",\"k\":\"\xF0\x9F\x8E\xB5\xED\x9F\xBF\"}");
    EXPECT_EQ(JsonText(&d, "t"), wxString(L"a\uFFFD\uFFFD\uFFFDb"));
    EXPECT_EQ(JsonValueToText(JsonMember(&d, "t")), wxString(L"a\uFFFD\uFFFD\uFFFDb"));
    EXPECT_EQ(JsonText(&d, "u"), wxString(L"\uFFFD\uFFFD\uFFFD\uFFFD"));  // above U+10FFFF
    EXPECT_EQ(JsonText(&d, "k"), wxString::FromUTF8("\xF0\x9F\x8E\xB5\xED\x9F\xBF"));
    // A long text (a post body) decodes the same way.
    std::string body;
    wxString expected;
    for (int i = 0; i < 200; ++i) {
        body += "\xE4\xB8\xAD\xF0\x9F\x8E\xB5" "a\xFF";
        expected += wxString::FromUTF8("\xE4\xB8\xAD\xF0\x9F\x8E\xB5" "a") + wxUniChar(0xFFFD);
    }
    const auto long_ = Doc(("{\"b\":\"" + body + "\"}").c_str());
    EXPECT_EQ(JsonText(&long_, "b"), expected);
}

TEST(JsonGetters, ValueToTextCoversEveryKind)
{
    const auto d = Doc(R"({"s":"文","t":true,"f":false,"i":-3,"l":3000000000,"y":-1.5,
        "a":[1,2,3],"o":{"k":1},"n":null,"u":18446744073709551615})");
    auto text = [&](const char* k) { return JsonValueToText(JsonMember(&d, k)); };
    EXPECT_EQ(text("s"), wxS("文"));
    EXPECT_EQ(text("t"), wxS("true"));
    EXPECT_EQ(text("f"), wxS("false"));
    EXPECT_EQ(text("i"), wxS("-3"));
    EXPECT_EQ(text("l"), wxS("3000000000"));
    EXPECT_EQ(text("y"), wxS("-1.50"));
    EXPECT_EQ(text("a"), wxS("数组(3)"));
    EXPECT_EQ(text("o"), wxS("对象(1)"));
    EXPECT_EQ(text("n"), wxS("null"));
    EXPECT_EQ(text("u"), wxS(""));
}

TEST(ParseJson, ReportsRapidJsonReasonInChinese)
{
    rapidjson::Document d;
    wxString msg;
    EXPECT_TRUE(ParseJson(" \r\n\t{\"a\":1} \n", d, msg));
    EXPECT_EQ(msg, wxS(""));
    EXPECT_FALSE(ParseJson("", d, msg));
    EXPECT_EQ(msg, wxS("JSON 解析失败：The document is empty."));
    EXPECT_FALSE(ParseJson("<html>502</html>", d, msg));
    EXPECT_EQ(msg, wxS("JSON 解析失败：Invalid value."));
    EXPECT_FALSE(ParseJson("{} {}", d, msg));
    EXPECT_EQ(msg, wxS("JSON 解析失败：The document root must not be followed by other values."));
    // The body is read up to its first NUL, as a C string.
    EXPECT_TRUE(ParseJson(std::string("{}\0garbage", 10), d, msg));
}

// Whatever the parser does inside, the reason given is the one the default
// (recursive) parser gives for the same text.
TEST(ParseJson, ReasonsAreThoseOfTheDefaultParser)
{
    const char* bodies[] = {
        "", "  \r\n", ",", ":1", "]", "}", " }{", "x", "[1,]", "[1 2]", "{1}", "{\"a\" 1}",
        "{\"a\":}", "{\"a\":1,}", "{\"a\":1 \"b\"}", "[\"\\x\"]", "\"\\uD800\"", "[\"a",
        "tru", "1.", "-", "1e", "{} x", "[[[", "\"\x01\"",
    };
    for (const char* body : bodies) {
        SCOPED_TRACE(body);
        rapidjson::Document recursive;
        recursive.Parse(body);
        ASSERT_TRUE(recursive.HasParseError());
        rapidjson::Document d;
        wxString msg;
        EXPECT_FALSE(ParseJson(body, d, msg));
        EXPECT_EQ(msg, wxS("JSON 解析失败：") +
                           wxString::FromUTF8(rapidjson::GetParseError_En(recursive.GetParseError())));
    }
}

TEST(ParseJson, DeeplyNestedAnswerIsReadWithoutExhaustingTheStack)
{
    const size_t depth = 1000000;
    const std::string nested = std::string(depth, '[') + std::string(depth, ']');
    rapidjson::Document d;
    wxString msg;
    ASSERT_TRUE(ParseJson(nested, d, msg));
    EXPECT_TRUE(d.IsArray());
    EXPECT_FALSE(ParseJson(std::string(depth, '['), d, msg));
    EXPECT_EQ(msg, wxS("JSON 解析失败：Invalid value."));
}

HttpResponse Answer(const std::string& body)
{
    HttpResponse r;
    r.ok = true;
    r.statusCode = 500;  // never consulted
    r.body = body;
    return r;
}

TEST(EvaluateResponse, OnlyNumberZeroSucceedsAndMessagesFollowPrecedence)
{
    struct Case {
        std::string body;
        bool ok;
        const wchar_t* message;
    };
    const std::vector<Case> cases{
        {R"({"code":0})", true, L"keep"},
        {R"({"code":0.0,"errMsg":"x"})", true, L"keep"},
        {R"({"code":"0"})", false, L"设为精华失败（code=-1）"},
        {R"({"data":{}})", false, L"设为精华失败（code=-1）"},
        {R"({"code":"0","errMsg":"坏了"})", false, L"坏了"},
        {R"({"code":5,"errMsg":""})", false, L"设为精华失败（code=5）"},
        {R"({"code":5,"errMsg":"无权操作"})", false, L"无权操作"},
        {R"({"code":5,"errMsg":7})", false, L"设为精华失败（code=5）"},
        {"", false, L"JSON 解析失败：The document is empty."},
        {"[0]", false, L"设为精华失败（code=-1）"},
    };
    for (const Case& c : cases) {
        rapidjson::Document d;
        wxString msg = wxS("keep");
        EXPECT_EQ(EvaluateResponse(Answer(c.body), d, msg, wxS("设为精华失败")), c.ok) << c.body;
        EXPECT_EQ(msg, wxString(c.message)) << c.body;
    }
}

TEST(EvaluateResponse, TransportFailureNeverReachesTheParser)
{
    HttpResponse r = Answer(R"({"code":0})");
    r.ok = false;
    r.error = wxS("连接服务器失败。");
    rapidjson::Document d;
    wxString msg;
    EXPECT_FALSE(EvaluateResponse(r, d, msg, wxS("失败")));
    EXPECT_EQ(msg, wxS("连接服务器失败。"));
    EXPECT_EQ(FormatCodeMessage(wxS("获取版块失败"), -100), wxS("获取版块失败（code=-100）"));
}

}  // namespace
