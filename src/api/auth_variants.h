// The forms in which a request carries the caller's session. The server
// recognises the session from at least one of them, so calls try them in
// a fixed order until one is accepted.
#pragma once

#include <vector>

#include <wx/string.h>

#include "api/http_types.h"

// The header sets that carry `token` in its different header and cookie
// forms: 7 sets, one more with `cookies`, three more with a token. Every
// set starts with Accept: application/json. With `addJsonContentType` each
// set gains Content-Type: application/json; charset=utf-8; sets without a
// Cookie header then gain Cookie: `cookies` (when there are any).
std::vector<HeaderList> BuildAuthHeaderSets(const wxString& token, const wxString& cookies,
                                            bool addJsonContentType);

// `path` itself, then (with a token) `path` with "token=" and with
// "accessToken=" appended as a query parameter. The token is not encoded.
std::vector<wxString> BuildPathCandidates(const wxString& path, const wxString& token);
