#include "api/json_read.h"

#include <cmath>
#include <limits>

#include <rapidjson/error/en.h>

#include "api/utf8_text.h"

namespace {

// The parser does not validate encodings, and wx turns a string with one
// bad byte into an empty text: a post body would vanish. Each byte that
// does not start a valid sequence becomes U+FFFD instead.
wxString Utf8(const JsonValue& v)
{
    return Utf8WithReplacement(std::string_view(v.GetString(), v.GetStringLength()));
}

}  // namespace

const JsonValue* JsonMember(const JsonValue* value, const char* name)
{
    if (!value || !value->IsObject()) return nullptr;
    auto it = value->FindMember(name);
    return it == value->MemberEnd() ? nullptr : &it->value;
}

const JsonValue* JsonData(const JsonValue* document)
{
    return JsonMember(document, "data");
}

int32_t JsonInt(const JsonValue* value, const char* name, int32_t def)
{
    const JsonValue* v = JsonMember(value, name);
    if (!v || !v->IsNumber()) return def;
    if (v->IsInt64()) {
        return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(v->GetInt64())));
    }
    if (v->IsDouble()) {
        // A plain conversion of an out-of-range double is undefined; the
        // nearest representable value is the sensible reading.
        const double d = std::trunc(v->GetDouble());
        if (d >= static_cast<double>(std::numeric_limits<int32_t>::max())) {
            return std::numeric_limits<int32_t>::max();
        }
        if (d <= static_cast<double>(std::numeric_limits<int32_t>::min())) {
            return std::numeric_limits<int32_t>::min();
        }
        return static_cast<int32_t>(d);
    }
    return def;  // unsigned beyond int64
}

double JsonDouble(const JsonValue* value, const char* name, double def)
{
    const JsonValue* v = JsonMember(value, name);
    if (!v) return def;
    if (v->IsDouble()) return v->GetDouble();
    if (v->IsInt()) return v->GetInt();
    return def;
}

bool JsonBool(const JsonValue* value, const char* name, bool def)
{
    const JsonValue* v = JsonMember(value, name);
    if (!v) return def;
    if (v->IsBool()) return v->GetBool();
    if (v->IsInt()) return v->GetInt() != 0;
    return def;
}

wxString JsonText(const JsonValue* value, const char* name, const wxString& def)
{
    const JsonValue* v = JsonMember(value, name);
    if (!v || !v->IsString()) return def;
    return Utf8(*v);
}

wxString JsonValueToText(const JsonValue* value)
{
    if (!value || value->IsNull()) return wxS("null");
    if (value->IsString()) return Utf8(*value);
    if (value->IsBool()) return value->GetBool() ? wxS("true") : wxS("false");
    if (value->IsInt()) return wxString::Format(wxS("%d"), value->GetInt());
    if (value->IsInt64()) return wxString::Format(wxS("%lld"), static_cast<long long>(value->GetInt64()));
    if (value->IsDouble()) return wxString::Format(wxS("%.2f"), value->GetDouble());
    if (value->IsArray()) return wxString::Format(wxS("数组(%zu)"), static_cast<size_t>(value->Size()));
    if (value->IsObject()) {
        return wxString::Format(wxS("对象(%zu)"), static_cast<size_t>(value->MemberCount()));
    }
    return wxString();  // unsigned beyond int64
}

bool ParseJson(const std::string& body, rapidjson::Document& document, wxString& message)
{
    // The iterative parser reads the same documents, but a deeply nested
    // answer cannot overflow the stack. Its errors are those of the default
    // parser but one: a text that starts with a character no value can
    // start with ("," ":" "]" "}") is "empty" to it, and "Invalid value."
    // to the default parser, which is what users are told.
    document.Parse<rapidjson::kParseIterativeFlag>(body.c_str());
    if (!document.HasParseError()) return true;
    rapidjson::ParseErrorCode code = document.GetParseError();
    if (code == rapidjson::kParseErrorDocumentEmpty && document.GetErrorOffset() < body.size() &&
        body[document.GetErrorOffset()] != '\0') {
        code = rapidjson::kParseErrorValueInvalid;
    }
    message = wxString::Format(wxS("JSON 解析失败：%s"),
                               wxString::FromUTF8(rapidjson::GetParseError_En(code)));
    return false;
}
