#include "api/json_read.h"

#include <cmath>
#include <limits>

#include <rapidjson/error/en.h>

namespace {

// The parser does not validate encodings, and wx turns a string with one
// bad byte into an empty text: a post body would vanish. Each byte that
// does not start a valid sequence becomes U+FFFD instead.
wxString Utf8(const JsonValue& v)
{
    const char* s = v.GetString();
    const size_t n = v.GetStringLength();
    wxString text = wxString::FromUTF8(s, n);
    if (!text.empty() || n == 0) return text;
    for (size_t i = 0; i < n;) {
        const auto lead = static_cast<unsigned char>(s[i]);
        const size_t len = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xE ? 3
                         : (lead >> 3) == 0x1E ? 4 : 0;
        if (len == 1) {
            text += wxUniChar(lead);
            ++i;
            continue;
        }
        const wxString one = len && i + len <= n ? wxString::FromUTF8(s + i, len) : wxString();
        const bool surrogate = one.length() == 1 && one[0] >= 0xD800 && one[0] <= 0xDFFF;
        if (one.empty() || surrogate) {
            text += wxUniChar(0xFFFD);
            ++i;
        } else {
            text += one;
            i += len;
        }
    }
    return text;
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
    // The iterative parser reads the same documents and reports the same
    // errors, but a deeply nested answer cannot overflow the stack.
    document.Parse<rapidjson::kParseIterativeFlag>(body.c_str());
    if (!document.HasParseError()) return true;
    message = wxString::Format(wxS("JSON 解析失败：%s"),
                               wxString::FromUTF8(rapidjson::GetParseError_En(document.GetParseError())));
    return false;
}
