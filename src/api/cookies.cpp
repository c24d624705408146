#include "api/cookies.h"

#include <string_view>

#include "api/utf8_text.h"

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

wxString DecodeHeaderText(const std::string& raw)
{
    wxString text;
    size_t pos = 0;
    while (pos < raw.size()) {
        size_t end = raw.find("\r\n", pos);
        end = end == std::string::npos ? raw.size() : end + 2;
        const std::string_view line(raw.data() + pos, end - pos);
        if (IsValidUtf8(line)) {
            text += wxString::FromUTF8(line.data(), line.size());
        } else {
            text += wxString(line.data(), wxConvISO8859_1, line.size());
        }
        pos = end;
    }
    return text;
}
