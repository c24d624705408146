// What every answer harness shares: the bytes as a server's answer body,
// judged as the reading endpoints judge it, and a check that every text a
// reader hands on can be shown (converted back to UTF-8 for the toolkit).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include <rapidjson/document.h>
#include <wx/string.h>

#include "api/envelope.h"
#include "api/http_types.h"
#include "fuzz_check.h"

namespace fuzz {

// A text that holds something but converts to nothing would reach the
// screen reader as silence (a lone surrogate does that).
inline void Use(const wxString& text)
{
    FUZZ_CHECK(text.empty() || text.utf8_str().length() > 0);
}

inline HttpResponse AnswerOf(const uint8_t* data, size_t size)
{
    HttpResponse response;
    response.ok = true;
    response.statusCode = 200;
    response.body.assign(reinterpret_cast<const char*>(data), size);
    return response;
}

// EvaluateResponse on the bytes; the failure message is used either way.
inline bool Judge(const uint8_t* data, size_t size, rapidjson::Document& doc)
{
    wxString message;
    const bool ok = EvaluateResponse(AnswerOf(data, size), doc, message, wxS("获取失败"));
    Use(message);
    FUZZ_CHECK(ok || !message.empty());  // a failure must say why
    return ok;
}

}  // namespace fuzz
