// The answer envelope and the tolerant getters, on any body. Also checks
// that ParseJson names the same reason as RapidJSON's default parser,
// whose texts users are shown, wherever that parser can run safely.
#include <rapidjson/error/en.h>

#include <vector>

#include "api/json_read.h"
#include "fuzz_support.h"
#include "fuzz_check.h"

namespace {

// Nesting shallow enough for the recursive parser's stack.
bool Shallow(const std::string& body)
{
    int depth = 0;
    for (char c : body) {
        if (c == '[' || c == '{') ++depth;
        if (depth > 200) return false;
    }
    return true;
}

void Walk(const JsonValue& root)
{
    std::vector<const JsonValue*> todo{&root};
    while (!todo.empty()) {
        const JsonValue* v = todo.back();
        todo.pop_back();
        fuzz::Use(JsonValueToText(v));
        if (v->IsArray()) {
            for (const JsonValue& e : v->GetArray()) todo.push_back(&e);
        } else if (v->IsObject()) {
            for (const auto& m : v->GetObject()) {
                const std::string name(m.name.GetString(), m.name.GetStringLength());
                (void)JsonInt(v, name.c_str(), 0);
                (void)JsonDouble(v, name.c_str(), 0.0);
                (void)JsonBool(v, name.c_str(), false);
                fuzz::Use(JsonText(v, name.c_str()));
                todo.push_back(&m.value);
            }
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    rapidjson::Document doc;
    const bool ok = fuzz::Judge(data, size, doc);

    const std::string body(reinterpret_cast<const char*>(data), size);
    rapidjson::Document mine;
    wxString message;
    const bool parsed = ParseJson(body, mine, message);
    if (Shallow(body)) {
        rapidjson::Document recursive;
        recursive.Parse(body.c_str());
        FUZZ_CHECK(parsed != recursive.HasParseError());
        if (!parsed) {
            const wxString expected = wxS("JSON 解析失败：") +
                wxString::FromUTF8(rapidjson::GetParseError_En(recursive.GetParseError()));
            FUZZ_CHECK(message == expected);
        }
    }
    if (parsed) Walk(mine);
    if (ok) (void)JsonData(&doc);
    return 0;
}
