// The forum server client. Every operation is synchronous, never throws and
// keeps no state between calls: the caller holds the session texts `token`
// and `cookies` and passes them in. Safe to use from several threads.
#pragma once

#include <string>
#include <vector>

#include <rapidjson/document.h>
#include <wx/string.h>

#include "api/api_result.h"
#include "api/forum_records.h"
#include "api/http_types.h"
#include "api/server_endpoint.h"
#include "platform/http_transport.h"

class ApiClient {
public:
    explicit ApiClient(ServerEndpoint endpoint = DefaultServerEndpoint());

    const ServerEndpoint& Endpoint() const { return endpoint_; }
    // Connect and stall limits of every exchange (tests shorten them).
    void SetTimeouts(const platform::HttpTimeouts& timeouts) { timeouts_ = timeouts; }

    // --- Transport ----------------------------------------------------
    // One request to the server; `path` includes the query. POST, PUT and
    // PATCH always send a body (Content-Length: 0 when empty); other
    // methods send one only when `body` is not empty.
    HttpResponse SendRequest(const wxString& method, const wxString& path,
                             const HeaderList& headers, const std::string& body) const;

    // --- Sending with the session in every form -------------------------
    // A session-bound GET: first the quick header sets on the plain path,
    // then every path candidate with every header set. True with
    // `document` filled at the first accepted answer; otherwise `message`
    // holds the last attempt's message.
    bool SendGet(const wxString& path, const wxString& token, const wxString& cookies,
                 const wxString& failureText, rapidjson::Document& document,
                 wxString& message) const;
    // A write call: every path candidate × every variant × every header
    // set, until one is accepted.
    ApiResult SendWithFallbacks(const wxString& method, const wxString& path,
                                const wxString& token, const wxString& cookies,
                                const std::vector<BodyVariant>& variants,
                                const wxString& failureText) const;
    // SendWithFallbacks with the single variant "无请求体" (no body).
    ApiResult SendWithoutBody(const wxString& method, const wxString& path,
                              const wxString& token, const wxString& cookies,
                              const wxString& failureText) const;

private:
    ServerEndpoint endpoint_;
    platform::HttpTimeouts timeouts_;
};
