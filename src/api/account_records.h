// What the account operations hand back: the session a login, a
// registration or a password reset created.
#pragma once

#include <wx/string.h>

struct LoginResult {
    bool ok = false;       // the server accepted the call and returned a usable token
    wxString token;        // "data" of the answer; empty unless ok
    wxString cookies;      // name=value of the answer's Set-Cookie headers, joined by "; "
    wxString displayName;  // the profile's name, else the mobile number
    wxString mobile;       // the number the call was made with, always filled
    wxString message;      // the failure message; empty on success
    // The server answered and turned the call down (a non-zero code), as
    // opposed to not answering at all; only then are the credentials wrong.
    bool refused = false;
};
