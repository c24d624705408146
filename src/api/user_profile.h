// The logged-in user's profile, which doubles as the check that a session
// is still valid.
#pragma once

#include <cstdint>

#include <wx/string.h>

#include "api/json_read.h"

struct UserInfo {
    bool ok = false;  // read, and "id" is not 0 or "name" is not empty
    int32_t id = 0;
    wxString name;
    wxString avatar;  // an address
    int32_t point = 0;
    wxString mobile;
    int32_t gender = 0;
    wxString level;   // a numeric level reads as empty
    wxString birth;
    double balance = 0;
    int32_t isManager = 0;  // non-zero: site manager
    wxString error;   // failure text
    // Every session form the server answered was refused as not logged
    // in (see GetUserProfile); `error` then holds the first such text.
    bool sessionExpired = false;
};

// Fills a profile from the answer's "data": the shape message when it is
// not an object, the missing-fields message when neither id nor name is there.
UserInfo ReadUserProfile(const JsonValue* data);

// Whether a failure text says the server no longer knows the session: the
// envelope's code -100 ("code=-100", not "code=-1000"), or the server's
// own "未登录".
bool IsSessionExpiredText(const wxString& error);
