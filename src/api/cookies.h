#pragma once

#include <wx/string.h>

// The name=value part of every "Set-Cookie:" line of a raw header block
// (lines separated by "\r\n"), in header order, joined by "; ".
// Attributes after the first ";" are dropped; duplicates are kept.
wxString ExtractCookies(const wxString& rawHeaders);
