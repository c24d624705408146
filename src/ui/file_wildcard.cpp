#include "ui/file_wildcard.h"

#include <wx/tokenzr.h>

namespace {

wxString CaseInsensitivePattern(const wxString& pattern)
{
    if (pattern == wxS("*.*")) return wxS("*");
    wxString out;
    bool inClass = false;  // a "[...]" already in the pattern stays as written
    for (wxUniChar c : pattern) {
        if (c == '[') inClass = true;
        if (c == ']') inClass = false;
        const bool letter = c.IsAscii() && ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'));
        if (!letter || inClass) {
            out += c;
            continue;
        }
        const char ascii = static_cast<char>(c.GetValue());
        const char lower = ascii >= 'A' && ascii <= 'Z' ? static_cast<char>(ascii - 'A' + 'a') : ascii;
        const char upper = ascii >= 'a' && ascii <= 'z' ? static_cast<char>(ascii - 'a' + 'A') : ascii;
        out << '[' << lower << upper << ']';
    }
    return out;
}

wxString CaseInsensitivePatterns(const wxString& patterns)
{
    wxString out;
    wxStringTokenizer tokens(patterns, wxS(";"), wxTOKEN_RET_EMPTY_ALL);
    while (tokens.HasMoreTokens()) {
        if (!out.empty()) out += ';';
        out += CaseInsensitivePattern(tokens.GetNextToken());
    }
    return out;
}

}  // namespace

wxString FileChooserWildcard(const wxString& wildcard)
{
    // Fields alternate: description, patterns, description, patterns, ...
    wxString out;
    wxStringTokenizer fields(wildcard, wxS("|"), wxTOKEN_RET_EMPTY_ALL);
    for (size_t index = 0; fields.HasMoreTokens(); ++index) {
        const wxString field = fields.GetNextToken();
        if (index > 0) out += '|';
        out += index % 2 == 1 ? CaseInsensitivePatterns(field) : field;
    }
    return out;
}
