#pragma once

#include <string>

#include <wx/string.h>

// The name=value part of every "Set-Cookie:" line of a raw header block
// (lines separated by "\r\n"), in header order, joined by "; ".
// Attributes after the first ";" are dropped; duplicates are kept.
wxString ExtractCookies(const wxString& rawHeaders);

// The text of a raw response head. Header lines should be ASCII or UTF-8;
// each line is decoded on its own, so one stray byte elsewhere in the head
// cannot mangle a UTF-8 cookie. A line that is not valid UTF-8 is read byte
// for byte (Latin-1), so that no cookie is silently lost.
wxString DecodeHeaderText(const std::string& raw);
