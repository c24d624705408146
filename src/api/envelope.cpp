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
    // A parse failure leaves the document without an object root.
    const JsonValue* code = JsonMember(&document, "code");
    const bool envelope = response.ok && document.IsObject() && code && code->IsNumber();
    // A gateway's own 502 or 504 page says nothing of the server behind it,
    // which may still be finishing the write.
    if (!envelope && (response.statusCode == 502 || response.statusCode == 504)) {
        message = wxString::Format(wxS("%s（HTTP %u），服务器可能已经处理了该请求。"),
                                   response.statusCode == 502 ? wxS("网关错误") : wxS("网关超时"),
                                   static_cast<unsigned>(response.statusCode));
        return WriteVerdict::Unsure;
    }
    if (response.statusCode >= 400) return WriteVerdict::Refused;
    return envelope ? WriteVerdict::Refused : WriteVerdict::Unsure;
}
