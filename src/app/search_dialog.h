#pragma once

#include <optional>

#include <wx/string.h>

class wxWindow;

// Asks for a search keyword. Returns the trimmed keyword, or nullopt when
// the user cancelled or entered only white space (then a notice says so).
std::optional<wxString> AskSearchKeyword(wxWindow* parent);
