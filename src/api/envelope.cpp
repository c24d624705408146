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

WriteVerdict JudgeWriteAttempt(const HttpResponse& response, rapidjson::Document& document,
                               wxString& message, const wxString& failureText)
{
    if (EvaluateResponse(response, document, message, failureText)) return WriteVerdict::Accepted;
    if (response.statusCode >= 400) return WriteVerdict::Refused;
    if (!response.ok) return WriteVerdict::Unsure;
    // A parse failure leaves the document without an object root.
    const JsonValue* code = JsonMember(&document, "code");
    if (document.IsObject() && code && code->IsNumber()) return WriteVerdict::Refused;
    return WriteVerdict::Unsure;
}
