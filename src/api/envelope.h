// Judging the server's answer envelope {"code", "errMsg", "data"}: only the
// number 0 in "code" is success; the HTTP status is never consulted.
#pragma once

#include <rapidjson/document.h>
#include <wx/string.h>

#include "api/http_types.h"

// "%s（code=%d）" with the operation's failure text.
wxString FormatCodeMessage(const wxString& failureText, int code);

// True when the answer arrived, parses, and "code" is 0 (the message is
// then left untouched). Otherwise `message` is, by precedence: the
// transport's text, the parse message, "errMsg", FormatCodeMessage.
bool EvaluateResponse(const HttpResponse& response, rapidjson::Document& document,
                      wxString& message, const wxString& failureText);

// How one attempt of a write ended, for the loops that try several request
// forms. A write may be tried in another form only when the server clearly
// refused it; after anything else it may already have been done, and a
// second form would do it twice.
enum class WriteVerdict {
    Accepted,  // code 0
    Refused,   // a JSON envelope with a non-zero numeric "code", or HTTP 400 or more
    Unsure,    // no clear refusal: dropped connection, time-out, a page that is no
               // envelope, a gateway's 502 or 504 without an envelope
};

// EvaluateResponse, then the verdict; `message` as EvaluateResponse leaves
// it, except for a gateway's 502 or 504 without an envelope: "网关错误" or
// "网关超时", the status, and that the server may have done the write.
WriteVerdict JudgeWriteAttempt(const HttpResponse& response, rapidjson::Document& document,
                               wxString& message, const wxString& failureText);
