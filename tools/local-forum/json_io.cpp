#include "json_io.h"

#include <rapidjson/error/en.h>

#include <cmath>
#include <cstdlib>
#include <limits>
#include <vector>

namespace forum {

namespace {

// Every key and string value is well-formed UTF-8. Checked after parsing,
// so that escapes ("\\udc00") are caught as well as raw bytes; walked with
// a stack of its own, since a body may nest a million levels deep.
bool AllTextsAreUtf8(const rapidjson::Value& root) {
    std::vector<const rapidjson::Value*> todo{&root};
    while (!todo.empty()) {
        const rapidjson::Value* v = todo.back();
        todo.pop_back();
        if (v->IsString()) {
            if (!IsUtf8(std::string(v->GetString(), v->GetStringLength()))) return false;
        } else if (v->IsArray()) {
            for (const auto& e : v->GetArray()) todo.push_back(&e);
        } else if (v->IsObject()) {
            for (const auto& m : v->GetObject()) {
                todo.push_back(&m.name);
                todo.push_back(&m.value);
            }
        }
    }
    return true;
}

}  // namespace

bool ParseJsonBody(const std::string& body, rapidjson::Document& doc, std::string& error) {
    // Iterative parsing: a body of a million '[' must not exhaust the stack.
    doc.Parse<rapidjson::kParseIterativeFlag>(body.c_str(), body.size());
    if (doc.HasParseError()) {
        error = std::string("请求体不是有效的 JSON：") + rapidjson::GetParseError_En(doc.GetParseError());
        return false;
    }
    // Stored bytes are served back in every list; one bad byte would break
    // those lists for every client that checks its input.
    if (!AllTextsAreUtf8(doc)) {
        error = "请求体含有无效的 UTF-8 文本。";
        return false;
    }
    return true;
}

bool IsUtf8(const std::string& text) {
    const auto* s = reinterpret_cast<const unsigned char*>(text.data());
    const size_t n = text.size();
    for (size_t i = 0; i < n;) {
        const unsigned char b = s[i];
        size_t len = 1;
        unsigned char lo = 0x80, hi = 0xBF;
        if (b < 0x80) {
            ++i;
            continue;
        } else if (b >= 0xC2 && b <= 0xDF) {
            len = 2;
        } else if (b >= 0xE0 && b <= 0xEF) {
            len = 3;
            if (b == 0xE0) lo = 0xA0;
            if (b == 0xED) hi = 0x9F;
        } else if (b >= 0xF0 && b <= 0xF4) {
            len = 4;
            if (b == 0xF0) lo = 0x90;
            if (b == 0xF4) hi = 0x8F;
        } else {
            return false;
        }
        if (n - i < len || s[i + 1] < lo || s[i + 1] > hi) return false;
        for (size_t k = 2; k < len; ++k) {
            if ((s[i + k] & 0xC0) != 0x80) return false;
        }
        i += len;
    }
    return true;
}

const rapidjson::Value* Member(const rapidjson::Value& object, const char* key) {
    if (!object.IsObject()) return nullptr;
    auto it = object.FindMember(key);
    return it == object.MemberEnd() ? nullptr : &it->value;
}

std::optional<int> IntMember(const rapidjson::Value& object, const char* key) {
    const rapidjson::Value* v = Member(object, key);
    if (!v) return std::nullopt;
    if (v->IsInt()) return v->GetInt();
    if (v->IsDouble()) {
        double d = v->GetDouble();
        if (std::isfinite(d) && d == std::floor(d) && std::fabs(d) <= std::numeric_limits<int>::max())
            return static_cast<int>(d);
        return std::nullopt;
    }
    int n = 0;
    if (v->IsString() && ParseInt(v->GetString(), n)) return n;
    return std::nullopt;
}

std::optional<double> NumberMember(const rapidjson::Value& object, const char* key) {
    const rapidjson::Value* v = Member(object, key);
    if (!v || !v->IsNumber()) return std::nullopt;
    double d = v->GetDouble();
    if (!std::isfinite(d)) return std::nullopt;
    return d;
}

std::optional<bool> FlagMember(const rapidjson::Value& object, const char* key) {
    const rapidjson::Value* v = Member(object, key);
    if (!v) return std::nullopt;
    if (v->IsBool()) return v->GetBool();
    if (v->IsInt()) return v->GetInt() != 0;
    return std::nullopt;
}

std::optional<std::string> TextMember(const rapidjson::Value& object, const char* key) {
    const rapidjson::Value* v = Member(object, key);
    if (!v || !v->IsString()) return std::nullopt;
    return std::string(v->GetString(), v->GetStringLength());
}

void Put(JsonWriter& w, const char* key, int value) {
    w.Key(key);
    w.Int(value);
}

void Put(JsonWriter& w, const char* key, double value) {
    w.Key(key);
    w.Double(value);
}

void Put(JsonWriter& w, const char* key, const std::string& value) {
    w.Key(key);
    w.String(value.data(), static_cast<rapidjson::SizeType>(value.size()));
}

void PutBool(JsonWriter& w, const char* key, bool value) {
    w.Key(key);
    w.Bool(value);
}

bool ParseInteger(const std::string& text, long long min, long long max, long long& out) {
    if (text.empty()) return false;
    char* end = nullptr;
    long long v = std::strtoll(text.c_str(), &end, 10);
    if (*end != '\0' || v < min || v > max) return false;
    out = v;
    return true;
}

bool ParseInt(const std::string& text, int& out) {
    long long v = 0;
    if (!ParseInteger(text, std::numeric_limits<int>::min(), std::numeric_limits<int>::max(), v)) return false;
    out = static_cast<int>(v);
    return true;
}

std::string Trim(const std::string& text) {
    const char* ws = " \t\r\n";
    auto b = text.find_first_not_of(ws);
    if (b == std::string::npos) return {};
    auto e = text.find_last_not_of(ws);
    return text.substr(b, e - b + 1);
}

std::size_t Utf8Length(const std::string& text) {
    std::size_t n = 0;
    for (unsigned char c : text)
        if ((c & 0xC0) != 0x80) ++n;
    return n;
}

std::string Utf8Prefix(const std::string& text, std::size_t chars) {
    std::size_t n = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) {
            if (n == chars) return text.substr(0, i);
            ++n;
        }
    }
    return text;
}

}  // namespace forum
