// One HTTP/1.1 exchange over plain TCP, blocking the calling thread.
// This is the only door to the HTTP library: nothing else includes it, so
// the library can be swapped without touching the forum client.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace platform {

// How long an exchange may wait. The defaults are what the forum client
// has always lived with: 60 s to connect, and 30 s in which not a single
// byte moves while sending or receiving. Tests shorten them.
struct HttpTimeouts {
    long connectMs = 60000;
    long stallMs = 30000;
};

struct HttpExchange {
    std::string host;
    int port = 80;
    std::string method;  // "GET", "POST", "PUT", "PATCH", "DELETE", ...
    std::string target;  // path and query, sent as they are
    // Sent in this order, duplicates kept; nothing else of ours is added
    // beyond Host, User-Agent and Content-Length.
    std::vector<std::pair<std::string, std::string>> headers;
    std::string body;
    // False sends no body at all (GET, a DELETE without body); true sends
    // `body` with its Content-Length, even when it is empty.
    bool hasBody = false;
    std::string userAgent;
    HttpTimeouts timeouts;
};

// The step at which an exchange failed. Each maps to one user-facing text
// in the forum client.
enum class HttpFailure {
    None,
    Setup,         // the library could not be initialised
    Connect,       // host not resolved, refused, or no connection in time
    Request,       // the request could not be built (bad target, method)
    Send,          // the request could not be written
    Receive,       // no complete response head arrived
    ReadBody,      // the connection broke while the body was read
    StoreBody,     // the body could not be kept (out of memory)
    Cancelled,     // the thread's CancelScope was cancelled (http_cancel.h)
};

struct HttpOutcome {
    HttpFailure failure = HttpFailure::None;
    // A response head was received (status and headers are valid).
    bool gotResponse = false;
    // No byte moved for the stall limit, or no connection came up in time.
    bool timedOut = false;
    // A connection to the server stood, so the request may have reached it.
    bool connected = false;
    unsigned statusCode = 0;
    // Header lines of the final response, each ending in "\r\n",
    // starting with the status line.
    std::string rawHeaders;
    std::string body;  // possibly partial after ReadBody
    std::string detail;  // the library's own words, for diagnostics
};

// Thread-safe; every call uses its own connection and closes it.
HttpOutcome PerformHttpExchange(const HttpExchange& exchange);

}  // namespace platform
