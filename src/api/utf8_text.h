// Strict UTF-8 for what comes from outside. wxString::FromUTF8 accepts
// encoded surrogates (ED A0 80 becomes a lone U+D800, which no later
// conversion can carry) and gives an empty text for anything it rejects.
#pragma once

#include <string_view>

#include <wx/string.h>

// Well-formed UTF-8: shortest forms only, no surrogates, nothing above
// U+10FFFF.
bool IsValidUtf8(std::string_view bytes);

// The text of `bytes`, with U+FFFD for each byte that does not begin a
// well-formed sequence; the bytes after it are read again.
wxString Utf8WithReplacement(std::string_view bytes);
