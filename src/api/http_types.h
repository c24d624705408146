// What one exchange with the forum server sends and gets back.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include <wx/string.h>

// Request headers as (name, value) pairs: sent in this order, duplicates kept.
using HeaderList = std::vector<std::pair<wxString, wxString>>;

struct HttpResponse {
    // True once a response arrived; false again if its body broke off.
    bool ok = false;
    uint32_t statusCode = 0;
    std::string body;   // the bytes as received (UTF-8 JSON), maybe partial
    wxString cookies;   // name=value of every Set-Cookie, joined by "; "
    wxString error;     // the failed step's text, empty on success
    // The server could not be reached at all, did not answer in time, or
    // the user cancelled the call.
    // Other request forms cannot help then, so retry loops stop here
    // instead of waiting out one time-out per form.
    bool unreachable = false;
};
