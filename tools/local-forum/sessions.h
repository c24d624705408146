// Sessions: a token and a login cookie issued at login, recognised in every
// form the client offers them (token headers, the cookie text, the query
// parameters, the login cookie) unless a strict mode names one form.
#pragma once

#include "router.h"

#include <string>

namespace forum {

// Name of the login cookie set next to the token.
inline const char* kSessionCookie = "forum_session";

struct Issued {
    std::string token;
    std::string cookie;              // value of the login cookie
    std::vector<std::string> setCookies;
};

Issued IssueSession(Database& db, int userId);
void EndSessionsOf(Database& db, int userId);

// The user id of the request's session, or 0 when no offered form holds a
// valid session (banned users have none).
int SessionUser(const Call& call);

}  // namespace forum
