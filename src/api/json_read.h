// Tolerant reading of the server's JSON: every getter takes a value that
// may be null or of any kind and falls back to the caller's default rather
// than failing, because the server's types vary between endpoints.
#pragma once

#include <cstdint>
#include <string>

#include <rapidjson/document.h>
#include <wx/string.h>

using JsonValue = rapidjson::Value;

// The member `name` (exact, case-sensitive) of an object, else nullptr.
const JsonValue* JsonMember(const JsonValue* value, const char* name);
// The envelope's "data".
const JsonValue* JsonData(const JsonValue* document);

// Integers within int64 give their low 32 bits; floating-point numbers are
// truncated toward zero (saturating at the int32 limits); anything else,
// quoted numbers included, gives `def`.
int32_t JsonInt(const JsonValue* value, const char* name, int32_t def);
// Floating-point numbers and int32 integers; anything else gives `def`.
double JsonDouble(const JsonValue* value, const char* name, double def);
// true/false, or an int32 integer (non-zero is true); else `def`.
bool JsonBool(const JsonValue* value, const char* name, bool def);
// Strings only (numbers give `def`).
wxString JsonText(const JsonValue* value, const char* name, const wxString& def = wxString());

// Display form of any value: text, "true"/"false", "%d", "%lld", "%.2f",
// "数组(n)", "对象(n)", "null"; empty for an unsigned integer beyond int64.
wxString JsonValueToText(const JsonValue* value);

// Parses `body` (up to its first NUL) into `document`. On failure `message`
// becomes "JSON 解析失败：" and RapidJSON's English reason.
bool ParseJson(const std::string& body, rapidjson::Document& document, wxString& message);
