// Signing in to a forum server with one raw login request through the
// client's own transport, for tests that need a session before the login
// dialog is at hand.
#pragma once

#include <wx/string.h>

#include "api/api_client.h"

namespace qtest {

struct ForumSession {
    wxString token;
    wxString cookies;
    bool ok() const { return !token.empty(); }
};

// POST /api/user/login; an empty session when the server refused.
ForumSession LoginRaw(const ApiClient& client, const char* mobile, const char* password);

// The local forum's seeded media post (section 2, "【试听】…"), or 0.
int32_t SeededMediaPostId(const ApiClient& client);

}  // namespace qtest
