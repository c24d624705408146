// One HTTP/1.1 exchange over plain TCP or TLS, blocking the calling thread.
// This is the only door to the HTTP library: nothing else includes it, so
// the library can be swapped without touching the forum client.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace platform {

// How long an exchange may wait: 60 s to connect, 30 s in which not a
// single byte moves while sending or receiving, and 120 s for the whole
// exchange, so a server trickling one byte at a time cannot hold a call
// forever. Tests shorten them.
struct HttpTimeouts {
    long connectMs = 60000;
    long stallMs = 30000;
    long totalMs = 120000;
};

// The largest answer body kept. The forum's biggest lists are a few hundred
// kilobytes; a body beyond this is a broken or hostile server, and holding
// it would take the memory of the whole desktop.
constexpr size_t kDefaultMaxBodyBytes = 32u * 1024u * 1024u;

struct HttpExchange {
    std::string host;
    int port = 80;
    // TLS with the peer's certificate and host name verified against the
    // system's CA store and, when not empty, the PEM file `caFile`.
    bool tls = false;
    std::string caFile;
    std::string method;  // "GET", "POST", "PUT", "PATCH", "DELETE", ...
    std::string target;  // path and query, sent as they are
    // Sent in this order, duplicates kept; nothing else of ours is added
    // beyond Host, User-Agent and Content-Length.
    std::vector<std::pair<std::string, std::string>> headers;
    // Not copied: the caller keeps the bytes alive for the whole exchange
    // (an upload body may be 64 MiB).
    std::string_view body;
    // False sends no body at all (GET, a DELETE without body); true sends
    // `body` with its Content-Length, even when it is empty.
    bool hasBody = false;
    std::string userAgent;
    HttpTimeouts timeouts;
    size_t maxBodyBytes = kDefaultMaxBodyBytes;  // also bounds the response head
    // Hears how many bytes of `body` have gone out, on the calling thread,
    // each time the count moves.
    std::function<void(uint64_t sent, uint64_t total)> onSent;
    // Once the last byte of a body has gone out, the server may take this
    // long to begin its answer (an upload it still stores), instead of the
    // stall limit, and the overall deadline makes room for it. 0: no
    // such allowance.
    long answerMs = 0;
};

// The step at which an exchange failed. Each maps to one user-facing text
// in the forum client.
enum class HttpFailure {
    None,
    Setup,         // the library could not be initialised
    Connect,       // host not resolved, refused, or no connection in time
    Request,       // the request could not be built (bad target, method)
    Send,          // the request could not be written
    Receive,       // no complete response head arrived, or not an HTTP answer
    ReadBody,      // the body broke, exceeded its limit or the overall deadline
    StoreBody,     // the body could not be kept (out of memory)
    Cancelled,     // the thread's CancelScope was cancelled (http_cancel.h)
    Certificate,   // TLS: the server's certificate or host name failed
                   // verification, or the CA file could not be read
};

struct HttpOutcome {
    HttpFailure failure = HttpFailure::None;
    // A response head was received (status and headers are valid).
    bool gotResponse = false;
    // No byte moved for the stall limit, no connection came up in time, or
    // the overall deadline passed.
    bool timedOut = false;
    // A connection to the server stood, so the request may have reached it.
    bool connected = false;
    // Every byte of a non-empty body went out.
    bool bodySent = false;
    unsigned statusCode = 0;
    // Header lines of the final response, each ending in "\r\n",
    // starting with the status line.
    std::string rawHeaders;
    std::string body;  // possibly partial after ReadBody
    std::string detail;  // the library's own words, for diagnostics
};

// Thread-safe; every call uses its own connection and closes it. The
// system's proxy settings apply: "http_proxy" (else "all_proxy"), unless
// "no_proxy" names the host (environment, upper case accepted for all but
// http_proxy, as curl and most Unix tools read them).
HttpOutcome PerformHttpExchange(const HttpExchange& exchange);

// The proxy to use for `host`, or empty for a direct connection, from the
// environment as described above. Exposed for tests.
std::string ProxyForHost(const std::string& host);

}  // namespace platform
