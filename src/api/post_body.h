// The bodies that publishing and saving a post send.
#pragma once

#include <vector>

#include <wx/string.h>

#include "api/api_result.h"
#include "api/post_input.h"

// Line breaks become spaces, the ends are trimmed, at most 120 characters.
wxString MakeSummary(const wxString& text);

// "JSON兼容版": every member of the post.
BodyVariant CompatiblePostBody(const PostInput& input);
// "JSON回退版": title, section, body, summary, resource settings and links
// only; no prices, switches or files.
BodyVariant FallbackPostBody(const PostInput& input);

// The short body may be sent only when it leaves out nothing that is set:
// otherwise a post would go out free, without its files or switches, and
// still be reported as published.
bool FallbackKeepsEverything(const PostInput& input);

// The variants to try, in order: "JSON兼容版", then "JSON回退版" when
// FallbackKeepsEverything allows it.
std::vector<BodyVariant> BuildPostBody(const PostInput& input);
