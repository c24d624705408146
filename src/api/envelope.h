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
