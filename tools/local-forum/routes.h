// Endpoint groups; each registers its paths on the router.
#pragma once

#include "router.h"

namespace forum {

void RegisterAccountRoutes(Router& r);     // login, register, reset, codes, profile, coins
void RegisterReadingRoutes(Router& r);     // sections and post lists
void RegisterDetailRoutes(Router& r);      // post detail, manage detail, replies, manager query
void RegisterWritingRoutes(Router& r);     // create, edit, delete post; reply
void RegisterModerationRoutes(Router& r);  // toggles, shield, top-all, ban, report, move, message
void RegisterPersonalRoutes(Router& r);    // albums, follows, my lists, record lists
void RegisterFileRoutes(Router& r);        // uploads

// Shared answers.
Reply BadRequest(const std::string& message);
Reply NotFound(const std::string& message);
// The strict-mode refusal for a request form outside the pinned one.
Reply WrongForm(const Options& options, Family family, const std::string& form);

}  // namespace forum
