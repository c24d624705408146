// JSON in and out: the writer used for answers and tolerant readers for
// request bodies, whose errors are the Chinese texts the client shows.
#pragma once

#include <rapidjson/document.h>
#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>

#include <optional>
#include <string>

namespace forum {

using JsonWriter = rapidjson::Writer<rapidjson::StringBuffer>;

// Parses a request body; on failure `error` says why in Chinese. A body
// whose texts are not all well-formed UTF-8 is refused.
bool ParseJsonBody(const std::string& body, rapidjson::Document& doc, std::string& error);

// Members of a request object. An id may come as a number or as a text of
// digits; a flag as true/false or as a number.
const rapidjson::Value* Member(const rapidjson::Value& object, const char* key);
std::optional<int> IntMember(const rapidjson::Value& object, const char* key);
std::optional<double> NumberMember(const rapidjson::Value& object, const char* key);
std::optional<bool> FlagMember(const rapidjson::Value& object, const char* key);
std::optional<std::string> TextMember(const rapidjson::Value& object, const char* key);

// Writes key and value in one call.
void Put(JsonWriter& w, const char* key, int value);
void Put(JsonWriter& w, const char* key, double value);
void Put(JsonWriter& w, const char* key, const std::string& value);
void PutBool(JsonWriter& w, const char* key, bool value);

// The whole text as a decimal integer within [min, max]; false otherwise.
bool ParseInteger(const std::string& text, long long min, long long max, long long& out);
// The same for the range of int.
bool ParseInt(const std::string& text, int& out);

std::string Trim(const std::string& text);
// Well-formed UTF-8: shortest forms, no surrogates, nothing above U+10FFFF.
bool IsUtf8(const std::string& text);
// Number of characters (code points) of a UTF-8 text.
std::size_t Utf8Length(const std::string& text);
std::string Utf8Prefix(const std::string& text, std::size_t chars);

}  // namespace forum
