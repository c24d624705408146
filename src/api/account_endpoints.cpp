// Login, registration, password reset, SMS codes and the display name.
// None of the session-creating calls sends a session: there is none yet.
#include "api/api_client.h"

#include "api/auth_variants.h"
#include "api/body_encoding.h"
#include "api/envelope.h"

struct ApiClient::SessionTexts {
    const wchar_t* failure;   // the operation's failure text
    const wchar_t* noToken;   // accepted, but "data" holds no token
    const wchar_t* badToken;  // accepted, but the token could not be sent back
    bool registering;         // code 1 means "already registered"
};

namespace {

const wchar_t kJsonType[] = L"application/json; charset=utf-8";

HeaderList CallHeaders(const wxString& contentType)
{
    return {{wxS("Content-Type"), contentType}, {wxS("Accept"), wxS("application/json")}};
}

// Every later call carries the token in a header line, a cookie and a
// query: a space or a control character would end or corrupt that line,
// and every call of the session would fail.
bool TokenCanBeSent(const wxString& token)
{
    for (wxUniChar c : token) {
        if (c.GetValue() <= 0x20 || c.GetValue() == 0x7F) return false;
    }
    return true;
}

bool AnsweredWithCode(const HttpResponse& response, const rapidjson::Document& document, int code)
{
    return response.ok && !document.HasParseError() && document.IsObject() &&
           JsonInt(&document, "code", -1) == code;
}

std::string CredentialBody(const wxString& mobile, const wxString& password)
{
    return ToUtf8(wxString::Format(wxS("{\"mobile\":\"%s\",\"password\":\"%s\"}"), EscapeJsonText(mobile),
                                   EscapeJsonText(password)));
}

std::string CredentialBody(const wxString& mobile, const wxString& password, const wxString& code)
{
    return ToUtf8(wxString::Format(wxS("{\"mobile\":\"%s\",\"password\":\"%s\",\"code\":\"%s\"}"),
                                   EscapeJsonText(mobile), EscapeJsonText(password), EscapeJsonText(code)));
}

}  // namespace

LoginResult ApiClient::OpenSession(const wxString& path, const wxString& mobile, const std::string& body,
                                   const SessionTexts& texts) const
{
    LoginResult result;
    result.mobile = mobile;
    const HttpResponse response = SendRequest(wxS("POST"), path, CallHeaders(kJsonType), body);
    rapidjson::Document document;
    if (!EvaluateResponse(response, document, result.message, texts.failure)) {
        result.refused = response.ok && !document.HasParseError() && document.IsObject();
        if (texts.registering && AnsweredWithCode(response, document, 1)) {
            result.message = JsonText(&document, "errMsg");
            if (result.message.empty()) result.message = wxS("该手机号已注册，请直接登录或找回密码。");
        }
        return result;
    }
    const JsonValue* data = JsonData(&document);
    if (!data || !data->IsString() || data->GetStringLength() == 0) {
        result.message = texts.noToken;
        return result;
    }
    const wxString token = JsonValueToText(data);
    if (!TokenCanBeSent(token)) {
        result.message = texts.badToken;
        return result;
    }
    result.ok = true;
    result.token = token;
    result.cookies = response.cookies;
    result.displayName = GetDisplayName(result.token, result.cookies);
    if (result.displayName.empty()) result.displayName = mobile;
    return result;
}

LoginResult ApiClient::Login(const wxString& mobile, const wxString& password) const
{
    static const SessionTexts texts{L"登录失败", L"登录成功，但未拿到令牌。",
                                    L"登录成功，但令牌含有空格或控制字符，无法使用。", false};
    return OpenSession(wxS("/api/user/login"), mobile, CredentialBody(mobile, password), texts);
}

LoginResult ApiClient::Register(const wxString& mobile, const wxString& password, const wxString& code) const
{
    static const SessionTexts texts{L"注册失败", L"注册成功，但未拿到令牌。",
                                    L"注册成功，但令牌含有空格或控制字符，无法使用。", true};
    return OpenSession(wxS("/api/user/register"), mobile, CredentialBody(mobile, password, code), texts);
}

LoginResult ApiClient::ResetPassword(const wxString& mobile, const wxString& newPassword,
                                     const wxString& code) const
{
    static const SessionTexts texts{L"重置密码失败", L"重置密码成功，但未拿到令牌。",
                                    L"重置密码成功，但令牌含有空格或控制字符，无法使用。", false};
    return OpenSession(wxS("/api/user/reset-password"), mobile, CredentialBody(mobile, newPassword, code),
                       texts);
}

ApiResult ApiClient::SendVerifyCode(const wxString& mobile) const
{
    const wxString failure = wxS("发送验证码失败");
    const BodyVariant variants[] = {
        {wxS("JSON字符串"), kJsonType, ToUtf8(wxS("\"") + EscapeJsonText(mobile) + wxS("\""))},
        {wxS("纯文本"), wxS("text/plain; charset=utf-8"), ToUtf8(mobile)},
        {wxS("JSON原始文本"), kJsonType, ToUtf8(mobile)},
    };
    ApiResult result;
    for (const BodyVariant& variant : variants) {
        const HttpResponse response =
            SendRequest(wxS("POST"), wxS("/api/verify-code"), CallHeaders(variant.contentType), *variant.body);
        rapidjson::Document document;
        wxString message;
        if (EvaluateResponse(response, document, message, failure)) {
            return ApiResult{true, wxString(), wxString()};
        }
        result.message = message;
        result.debugInfo = wxString::Format(wxS("方式：%s\n返回：%s"), variant.label, message);
        // Another body cannot reach a server that did not answer; trying
        // would only wait out the same time-out again.
        if (response.unreachable) break;
    }
    if (result.message.empty()) result.message = wxS("发送验证码失败。");
    return result;
}

wxString ApiClient::GetDisplayName(const wxString& token, const wxString& cookies) const
{
    for (const HeaderList& headers : BuildAuthHeaderSets(token, cookies, false)) {
        const HttpResponse response = SendRequest(wxS("GET"), wxS("/api/user"), headers, std::string());
        rapidjson::Document document;
        wxString message;
        if (EvaluateResponse(response, document, message, wxS("获取用户资料失败"))) {
            const wxString name = JsonText(JsonData(&document), "name");
            if (!name.empty()) return name;
        }
        if (response.unreachable) break;
    }
    return wxString();
}
