// The retry walks over the session forms. Each attempt is a complete
// exchange; the first answer with code 0 ends the walk. An attempt that
// could not reach the server ends it too: the other forms would only wait
// for the same time-out again, freezing the window for hours. A write walk
// also ends at any attempt the server did not clearly refuse, since the
// write may already have been done.
#include "api/api_client.h"

#include "api/auth_variants.h"
#include "api/envelope.h"

namespace {

struct Attempt {
    bool success = false;
    bool unreachable = false;
};

HeaderList QuickSet(const wxString& name, const wxString& value, const wxString& cookies)
{
    HeaderList set{{wxS("Accept"), wxS("application/json")}, {name, value}};
    if (!cookies.empty()) set.emplace_back(wxS("Cookie"), cookies);
    return set;
}

std::vector<HeaderList> QuickHeaderSets(const wxString& token, const wxString& cookies)
{
    std::vector<HeaderList> sets;
    if (!token.empty()) {
        sets.push_back(QuickSet(wxS("Authorization"), token, cookies));
        sets.push_back(QuickSet(wxS("token"), token, cookies));
    }
    if (!cookies.empty()) {
        sets.push_back(HeaderList{{wxS("Accept"), wxS("application/json")}, {wxS("Cookie"), cookies}});
    }
    return sets;
}

}  // namespace

bool ApiClient::SendGet(const wxString& path, const wxString& token, const wxString& cookies,
                        const wxString& failureText, rapidjson::Document& document,
                        wxString& message,
                        const std::function<void(const wxString&)>& onRefused) const
{
    auto attempt = [&](const wxString& target, const HeaderList& headers) {
        const HttpResponse response = SendRequest(wxS("GET"), target, headers, std::string());
        const bool success = EvaluateResponse(response, document, message, failureText);
        if (!success && onRefused) onRefused(message);
        return Attempt{success, response.unreachable};
    };
    for (const HeaderList& headers : QuickHeaderSets(token, cookies)) {
        const Attempt a = attempt(path, headers);
        if (a.success) return true;
        if (a.unreachable) return false;
    }
    for (const wxString& target : BuildPathCandidates(path, token)) {
        for (const HeaderList& headers : BuildAuthHeaderSets(token, cookies, false)) {
            const Attempt a = attempt(target, headers);
            if (a.success) return true;
            if (a.unreachable) return false;
        }
    }
    return false;
}

ApiClient::Walk ApiClient::WalkFallbacks(const wxString& method, const wxString& path,
                                         const wxString& token, const wxString& cookies,
                                         const std::vector<BodyVariant>& variants,
                                         const wxString& failureText) const
{
    Walk walk;
    for (const wxString& target : BuildPathCandidates(path, token)) {
        for (const BodyVariant& variant : variants) {
            for (HeaderList headers : BuildAuthHeaderSets(token, cookies, false)) {
                if (variant.body) headers.emplace_back(wxS("Content-Type"), variant.contentType);
                const HttpResponse response = SendRequest(
                    method, target, headers, variant.body ? *variant.body : std::string());
                rapidjson::Document document;
                wxString message;
                const WriteVerdict verdict = JudgeWriteAttempt(response, document, message, failureText);
                if (verdict == WriteVerdict::Accepted) {
                    walk.result = ApiResult{true, wxString(), wxString()};
                    return walk;
                }
                walk.result.message = message;
                walk.result.debugInfo = wxString::Format(wxS("路径：%s\n方式：%s\n返回：%s"), target,
                                                         variant.label, message);
                walk.lastLabel = variant.label;
                // Only a clear refusal lets another form try the same write.
                if (verdict == WriteVerdict::Unsure) return walk;
            }
        }
    }
    return walk;
}

ApiResult ApiClient::SendWithFallbacks(const wxString& method, const wxString& path,
                                       const wxString& token, const wxString& cookies,
                                       const std::vector<BodyVariant>& variants,
                                       const wxString& failureText) const
{
    ApiResult result = WalkFallbacks(method, path, token, cookies, variants, failureText).result;
    if (!result.success && result.message.empty()) result.message = failureText;
    return result;
}

ApiResult ApiClient::SendWithoutBody(const wxString& method, const wxString& path,
                                     const wxString& token, const wxString& cookies,
                                     const wxString& failureText) const
{
    return SendWithFallbacks(method, path, token, cookies,
                             {BodyVariant{wxS("无请求体"), wxS("application/json"), std::nullopt}},
                             failureText);
}
