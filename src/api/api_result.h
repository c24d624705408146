// Outcome of a write call and the ways a write call may send its body.
#pragma once

#include <optional>
#include <string>

#include <wx/string.h>

struct ApiResult {
    bool success = false;
    wxString message;    // on failure: the last attempt's message or the failure text
    wxString debugInfo;  // on failure: "路径：…\n方式：…\n返回：…" of the last attempt
};

struct BodyVariant {
    wxString label;        // shows in debugInfo, e.g. "id+value"
    wxString contentType;  // sent with the body
    std::optional<std::string> body;  // UTF-8; absent: no body, no Content-Type
};
