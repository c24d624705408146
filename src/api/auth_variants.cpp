#include "api/auth_variants.h"

#include <algorithm>

namespace {

const wxString kAccept = wxS("Accept");
const wxString kJson = wxS("application/json");
const wxString kCookie = wxS("Cookie");

HeaderList Set(std::initializer_list<std::pair<wxString, wxString>> extra)
{
    HeaderList headers{{kAccept, kJson}};
    headers.insert(headers.end(), extra.begin(), extra.end());
    return headers;
}

bool HasCookieHeader(const HeaderList& headers)
{
    // Exact, case-sensitive: only our own "Cookie" header counts.
    return std::any_of(headers.begin(), headers.end(),
                       [](const auto& h) { return h.first == kCookie; });
}

}  // namespace

std::vector<HeaderList> BuildAuthHeaderSets(const wxString& token, const wxString& cookies,
                                            bool addJsonContentType)
{
    const wxString& t = token;
    std::vector<HeaderList> sets{
        Set({{wxS("Authorization"), t}}),
        Set({{wxS("token"), t}}),
        Set({{wxS("Token"), t}}),
        Set({{wxS("Authorization"), wxS("Bearer ") + t}}),
        Set({{wxS("authentication"), t}}),
        Set({{wxS("X-Token"), t}}),
        Set({{wxS("accessToken"), t}}),
    };
    if (!cookies.empty()) sets.push_back(Set({{kCookie, cookies}}));
    if (!t.empty()) {
        const wxString k = wxS("token=") + t + wxS("; accessToken=") + t + wxS("; Authorization=") + t;
        sets.push_back(Set({{kCookie, k}}));
        sets.push_back(Set({{wxS("token"), t}, {kCookie, k}}));
        sets.push_back(Set({{wxS("Authorization"), t}, {kCookie, k}}));
    }
    for (HeaderList& set : sets) {
        if (addJsonContentType) {
            set.emplace_back(wxS("Content-Type"), wxS("application/json; charset=utf-8"));
        }
        if (!cookies.empty() && !HasCookieHeader(set)) set.emplace_back(kCookie, cookies);
    }
    return sets;
}

std::vector<wxString> BuildPathCandidates(const wxString& path, const wxString& token)
{
    std::vector<wxString> paths{path};
    if (!token.empty()) {
        const wxString sep = path.Contains(wxS("?")) ? wxS("&") : wxS("?");
        paths.push_back(path + sep + wxS("token=") + token);
        paths.push_back(path + sep + wxS("accessToken=") + token);
    }
    return paths;
}
