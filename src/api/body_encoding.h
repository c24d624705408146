// Request bodies and the variable parts of request paths.
#pragma once

#include <cstdint>
#include <string>

#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>
#include <wx/string.h>

// The escape for values placed into text templates such as
// "{\"mobile\":\"%s\"}": tab, line feed, carriage return, quotation mark
// and backslash get their two-character escapes, every other character
// below U+0020 becomes \u00XX, so the filled template stays valid JSON.
wxString EscapeJsonText(const wxString& text);

// Percent-encoding of a query value: UTF-8 bytes, letters, digits and
// "-._~" kept, every other byte as %XX in upper case.
wxString UrlEncode(const wxString& text);

// The UTF-8 bytes of a text, as bodies and the wire need them.
std::string ToUtf8(const wxString& text);

// A number inside a request path or query: decimal, "-" when negative.
wxString PathNumber(int32_t number);

// Compact JSON bodies written with RapidJSON's Writer, members in the
// order they are added, texts converted to UTF-8.
class JsonBodyWriter {
public:
    JsonBodyWriter() : writer_(buffer_) {}

    JsonBodyWriter& StartObject() { writer_.StartObject(); return *this; }
    JsonBodyWriter& EndObject() { writer_.EndObject(); return *this; }
    JsonBodyWriter& StartArray() { writer_.StartArray(); return *this; }
    JsonBodyWriter& EndArray() { writer_.EndArray(); return *this; }
    JsonBodyWriter& Key(const char* name) { writer_.Key(name); return *this; }
    JsonBodyWriter& Value(const wxString& text);
    // Without this overload a string literal would be written as `true`.
    JsonBodyWriter& Value(const char* utf8) { writer_.String(utf8); return *this; }
    JsonBodyWriter& Value(const wchar_t* text) { return Value(wxString(text)); }
    JsonBodyWriter& Value(int32_t number) { writer_.Int(number); return *this; }
    JsonBodyWriter& Value(int64_t number) { writer_.Int64(number); return *this; }
    // RapidJSON writes nothing for NaN or infinity, which would leave a
    // key without a value; such a number is sent as null instead.
    JsonBodyWriter& Value(double number);
    JsonBodyWriter& Value(bool flag) { writer_.Bool(flag); return *this; }
    JsonBodyWriter& Null() { writer_.Null(); return *this; }
    template <typename T>
    JsonBodyWriter& Member(const char* name, const T& value) { Key(name); return Value(value); }

    // The body written so far.
    std::string Body() const { return std::string(buffer_.GetString(), buffer_.GetSize()); }

private:
    rapidjson::StringBuffer buffer_;
    rapidjson::Writer<rapidjson::StringBuffer> writer_;
};
