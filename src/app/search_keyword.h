#pragma once

#include <optional>

#include <wx/string.h>

// Texts of the keyword dialog.
wxString SearchKeywordPrompt();
wxString SearchKeywordCaption();
wxString SearchButtonLabel();

// The keyword to search for, white space removed at both ends; nullopt when
// nothing is left (then SearchKeywordMissing() is shown instead).
std::optional<wxString> CleanSearchKeyword(const wxString& entered);

wxString SearchKeywordMissing();
