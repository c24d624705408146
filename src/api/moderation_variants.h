// The request bodies that the moderation, report, move and message calls
// offer the server, in the order they are offered. Kept apart from the
// sending so that the order and the bytes can be checked on their own.
#pragma once

#include <cstdint>
#include <vector>

#include <wx/string.h>

#include "api/api_result.h"

// The switches essence, lock, sink and top. `field` is the switch's own
// key ("essence", "lock", "sink", "top"). The form that names only the
// post ({"id":N}) carries no state, so a server that flips on it could turn
// an "off" request into "on": it is offered last, after every form that
// says the wanted state.
std::vector<BodyVariant> ToggleVariants(int32_t postId, bool on, const char* field);

// Pinning into several sections: one array of section numbers, [0] when
// the list is empty.
std::vector<BodyVariant> TopAllVariants(const std::vector<int32_t>& sectionIds);

// A complaint about a post: type 1 before type 0, "objectId" before "id".
std::vector<BodyVariant> ComplaintVariants(int32_t postId, const wxString& reason);

// Moving a post: "id" before "postId", "sectionId" before "targetSectionId".
std::vector<BodyVariant> MoveVariants(int32_t postId, int32_t sectionId);

// A site message: recipient keys rUserId, userId, toUserId, receiverId,
// each with the text under "content" and then "body".
std::vector<BodyVariant> MessageVariants(int32_t userId, const wxString& text);
