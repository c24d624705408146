#include "api/api_client.h"

#include "api/body_encoding.h"
#include "api/cookies.h"

namespace {

const char kUserAgent[] = "QuilleryCommunity/1.0";

wxString FailureText(platform::HttpFailure failure)
{
    using platform::HttpFailure;
    switch (failure) {
    case HttpFailure::None: return wxString();
    case HttpFailure::Setup: return wxS("初始化网络会话失败。");
    case HttpFailure::Connect: return wxS("连接服务器失败。");
    case HttpFailure::Request: return wxS("创建请求失败。");
    case HttpFailure::Send: return wxS("发送请求失败。");
    case HttpFailure::Receive: return wxS("接收响应失败。");
    case HttpFailure::ReadBody: return wxS("读取响应失败。");
    case HttpFailure::StoreBody: return wxS("读取响应内容失败。");
    case HttpFailure::Cancelled: return wxS("操作已取消。");
    case HttpFailure::Certificate: return wxS("服务器证书验证失败：");
    }
    return wxS("接收响应失败。");
}

bool MethodAlwaysHasBody(const std::string& method)
{
    return method == "POST" || method == "PUT" || method == "PATCH";
}

}  // namespace

ApiClient::ApiClient(ServerEndpoint endpoint) : endpoint_(std::move(endpoint)) {}

HttpResponse ApiClient::SendRequest(const wxString& method, const wxString& path,
                                    const HeaderList& headers, const std::string& body) const
{
    return Exchange(method, path, headers, body, UploadProgress(), false);
}

HttpResponse ApiClient::Exchange(const wxString& method, const wxString& path,
                                 const HeaderList& headers, const std::string& body,
                                 const UploadProgress& progress, bool upload) const
{
    platform::HttpExchange ex;
    ex.host = ToUtf8(endpoint_.host);
    ex.port = endpoint_.port;
    ex.tls = endpoint_.https;
    ex.caFile = ToUtf8(endpoint_.caFile);
    ex.method = ToUtf8(method);
    ex.target = ToUtf8(path);
    ex.headers.reserve(headers.size());
    for (const auto& [name, value] : headers) ex.headers.emplace_back(ToUtf8(name), ToUtf8(value));
    ex.body = body;
    ex.hasBody = !body.empty() || MethodAlwaysHasBody(ex.method);
    ex.userAgent = kUserAgent;
    ex.timeouts = timeouts_;
    // One extra second per 4 KiB of body, the pace of a slow mobile
    // uplink: the stall limit still ends a transfer that stops moving.
    ex.timeouts.totalMs += static_cast<long>(body.size() * 1000 / 4096);
    if (upload) ex.answerMs = timeouts_.totalMs;
    ex.maxBodyBytes = maxBodyBytes_;
    ex.onSent = progress;

    platform::HttpOutcome out = platform::PerformHttpExchange(ex);

    HttpResponse response;
    response.statusCode = out.statusCode;
    if (out.gotResponse) {
        response.cookies = ExtractCookies(DecodeHeaderText(out.rawHeaders));
        response.body = std::move(out.body);
    }
    response.ok = out.failure == platform::HttpFailure::None;
    response.error = FailureText(out.failure);
    // libcurl's reason says what was wrong with the certificate.
    if (out.failure == platform::HttpFailure::Certificate) {
        response.error += wxString::FromUTF8(out.detail.c_str());
    }
    // A write stopped after the connection stood may have been carried out
    // all the same; the user must not take it for undone.
    if (out.failure == platform::HttpFailure::Cancelled && out.connected && ex.method != "GET" &&
        ex.method != "HEAD") {
        response.error = wxS("操作已取消，服务器可能已经处理了该请求。");
    }
    if (upload && out.connected && out.timedOut) {
        response.error = out.bodySent ? wxS("服务器响应超时，服务器可能已经处理了该请求。")
                                      : wxS("服务器响应超时。");
    }
    // A cancelled call and a certificate that failed verification stop
    // their attempt loop as an unreachable server does.
    response.unreachable = out.failure == platform::HttpFailure::Connect || out.timedOut ||
                           out.failure == platform::HttpFailure::Cancelled ||
                           out.failure == platform::HttpFailure::Certificate;
    return response;
}
