#include "api/envelope.h"

#include "api/json_read.h"

wxString FormatCodeMessage(const wxString& failureText, int code)
{
    return wxString::Format(wxS("%s（code=%d）"), failureText, code);
}

bool EvaluateResponse(const HttpResponse& response, rapidjson::Document& document,
                      wxString& message, const wxString& failureText)
{
    if (!response.ok) {
        message = response.error;
        return false;
    }
    if (!ParseJson(response.body, document, message)) return false;
    const int code = JsonInt(&document, "code", -1);
    if (code == 0) return true;
    message = JsonText(&document, "errMsg");
    if (message.empty()) message = FormatCodeMessage(failureText, code);
    return false;
}
