#include "api/cookies.h"

namespace {

const wxString kSetCookie = wxS("Set-Cookie:");

void TakeCookie(const wxString& line, wxString& result)
{
    if (line.length() <= kSetCookie.length()) return;
    if (line.Left(kSetCookie.length()).CmpNoCase(kSetCookie) != 0) return;
    size_t start = kSetCookie.length();
    while (start < line.length() && (line[start] == ' ' || line[start] == '\t')) ++start;
    wxString cookie = line.Mid(start).BeforeFirst(';');
    if (cookie.empty()) return;
    if (!result.empty()) result += wxS("; ");
    result += cookie;
}

}  // namespace

wxString ExtractCookies(const wxString& rawHeaders)
{
    wxString result;
    size_t pos = 0;
    while (true) {
        const size_t end = rawHeaders.find(wxS("\r\n"), pos);
        if (end == wxString::npos) {
            TakeCookie(rawHeaders.Mid(pos), result);
            break;
        }
        TakeCookie(rawHeaders.Mid(pos, end - pos), result);
        pos = end + 2;
    }
    return result;
}
