// PerformHttpExchange over libcurl's easy interface.
//
// How libcurl's results map to the failing step (the forum client turns
// each step into its own message):
//   libcurl cannot be loaded, curl_global_init / curl_easy_init fail, out
//   of memory before sending
//                                                   -> Setup
//   not yet connected: cannot resolve, refused, connect time-out, any
//   other error before the connection stands      -> Connect
// A connect time-out or a stall also sets `timedOut`. Redirects are not
// followed: the forum answers every call itself, and a redirected POST
// would silently change meaning.
//   bad method, target or header text (refused before any byte is sent),
//   malformed URL, unsupported protocol, before connecting -> Request
//   connected, request not fully written           -> Send
//   request written, no complete response head (nothing returned, garbage
//   or another protocol, reset, no byte for the stall limit, a head
//   beyond the size limit)                         -> Receive
//   response head received, then the body broke, stalled or grew beyond
//   its limit; or the overall deadline passed at any step -> ReadBody
//   the body could not be stored                   -> StoreBody
//   the calling thread's CancelScope was cancelled  -> Cancelled
//   TLS: certificate or host name not verified, CA file unreadable
//                                                   -> Certificate
#include "platform/http_transport.h"

#include "platform/http_cancel.h"
#include "platform/http_library.h"

#include <strings.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <new>
#include <string_view>

namespace platform {
namespace {

using Clock = std::chrono::steady_clock;

thread_local CancelToken* tCancelToken = nullptr;

// Our own sockets, so a cancelled call can cut its transfer at once
// instead of waiting for libcurl's next progress call (up to a second).
curl_socket_t OnOpenSocket(void* user, curlsocktype, struct curl_sockaddr* address)
{
    curl_socket_t fd = socket(address->family, address->socktype, address->protocol);
    if (fd != CURL_SOCKET_BAD && user) static_cast<CancelToken*>(user)->AddSocket(fd);
    return fd;
}

int OnCloseSocket(void* user, curl_socket_t fd)
{
    if (user) static_cast<CancelToken*>(user)->RemoveSocket(fd);
    return close(fd);
}

struct Transfer {
    HttpOutcome* out = nullptr;
    bool connected = false;
    bool headComplete = false;
    bool storeFailed = false;
    bool stalled = false;
    bool cancelled = false;
    bool tooLarge = false;
    bool deadlinePassed = false;
    bool bodySent = false;
    bool answerBegun = false;
    std::chrono::milliseconds answerLimit{0};
    size_t maxBytes = kDefaultMaxBodyBytes;
    std::chrono::milliseconds stallLimit{30000};
    Clock::time_point deadline = Clock::time_point::max();
    Clock::time_point lastProgress = Clock::now();
    curl_off_t lastUploaded = 0;
    const std::function<void(uint64_t, uint64_t)>* onSent = nullptr;
    uint64_t bodySize = 0;
};

size_t OnHeader(char* data, size_t size, size_t count, void* user)
{
    auto* t = static_cast<Transfer*>(user);
    const size_t n = size * count;
    t->lastProgress = Clock::now();
    t->answerBegun = true;
    std::string_view line(data, n);
    if (line.starts_with("HTTP/")) {
        // A new response head; an interim 1xx head before it is dropped.
        t->out->rawHeaders.clear();
        t->headComplete = false;
    }
    // Some servers end head lines with a bare LF; the raw header text is
    // promised with CRLF endings, which the cookie reader splits on.
    const bool bareLf = line.ends_with('\n') && !line.ends_with("\r\n");
    if (t->out->rawHeaders.size() + n + 1 > t->maxBytes) {
        t->tooLarge = true;
        return 0;
    }
    try {
        t->out->rawHeaders.append(bareLf ? line.substr(0, n - 1) : line);
        if (bareLf) t->out->rawHeaders.append("\r\n");
    } catch (const std::bad_alloc&) {
        t->storeFailed = true;
        return 0;
    }
    if (line == "\r\n" || line == "\n") {
        long code = 0;
        const char* sp = std::strchr(t->out->rawHeaders.c_str(), ' ');
        if (sp) code = std::strtol(sp + 1, nullptr, 10);
        if (code >= 200 || code == 0) t->headComplete = true;
    }
    return n;
}

size_t OnBody(char* data, size_t size, size_t count, void* user)
{
    auto* t = static_cast<Transfer*>(user);
    const size_t n = size * count;
    t->lastProgress = Clock::now();
    if (n > t->maxBytes - t->out->body.size()) {
        t->tooLarge = true;
        return 0;
    }
    try {
        t->out->body.append(data, n);
    } catch (const std::bad_alloc&) {
        t->storeFailed = true;
        return 0;
    }
    return n;
}

int OnConnected(void* user, char*, char*, int, int)
{
    auto* t = static_cast<Transfer*>(user);
    t->connected = true;
    t->lastProgress = Clock::now();
    return CURL_PREREQFUNC_OK;
}

// libcurl's own low-speed check averages over several seconds and fires
// late; the limit here is "this long without a single byte moving".
int OnProgress(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t uploaded)
{
    auto* t = static_cast<Transfer*>(user);
    if (CancelRequested()) {
        t->cancelled = true;
        return 1;
    }
    const Clock::time_point now = Clock::now();
    if (now >= t->deadline) {
        t->deadlinePassed = true;
        return 1;
    }
    if (!t->connected) return 0;  // the connect time-out covers this phase
    if (uploaded != t->lastUploaded) {
        t->lastUploaded = uploaded;
        t->lastProgress = now;
        if (t->onSent) (*t->onSent)(static_cast<uint64_t>(uploaded), t->bodySize);
        if (t->bodySize > 0 && static_cast<uint64_t>(uploaded) >= t->bodySize && !t->bodySent) {
            t->bodySent = true;
            t->deadline = std::max(t->deadline, now + t->answerLimit);
        }
    }
    // A server storing what it was sent may be silent for a while before
    // it answers.
    const bool awaitingAnswer = t->bodySent && !t->answerBegun;
    if (now - t->lastProgress > (awaitingAnswer ? std::max(t->stallLimit, t->answerLimit) : t->stallLimit)) {
        t->stalled = true;
        return 1;
    }
    return 0;
}

bool IsToken(const std::string& s)
{
    if (s.empty()) return false;
    for (unsigned char c : s) {
        if (c <= 0x20 || c >= 0x7F || std::strchr("()<>@,;:\\\"/[]?={}", c)) return false;
    }
    return true;
}

// Request targets and header values go onto the wire as they are, so a
// line break inside them would let a value forge headers or requests.
bool IsSafeText(const std::string& s, bool allowBlank)
{
    for (unsigned char c : s) {
        if (c == '\r' || c == '\n' || c == 0 || c == 0x7F) return false;
        if (c < 0x20 && c != '\t') return false;
        if (c == ' ' && !allowBlank) return false;
    }
    return true;
}

bool HasHeader(const HttpExchange& ex, const char* name)
{
    for (const auto& [n, v] : ex.headers) {
        if (strcasecmp(n.c_str(), name) == 0) return true;
    }
    return false;
}

struct HeaderListGuard {
    explicit HeaderListGuard(const CurlApi& lib) : lib(lib) {}
    const CurlApi& lib;
    curl_slist* list = nullptr;
    ~HeaderListGuard() { lib.slist_free_all(list); }
    bool Add(const std::string& line)
    {
        curl_slist* next = lib.slist_append(list, line.c_str());
        if (!next) return false;
        list = next;
        return true;
    }
};

// curl drops a custom header whose value is empty ("Name:" means "do not
// send"); "Name;" is its way to send the header with an empty value.
std::string CurlHeaderLine(const std::string& name, const std::string& value)
{
    if (value.find_first_not_of(" \t") == std::string::npos) return name + ";";
    return name + ": " + value;
}

std::string Origin(const HttpExchange& ex)
{
    const bool v6 = ex.host.find(':') != std::string::npos;
    return (ex.tls ? "https://" : "http://") + (v6 ? "[" + ex.host + "]" : ex.host) + ":" +
           std::to_string(ex.port);
}

// A forward proxy (plain or TLS to the proxy) needs the absolute target;
// through a SOCKS proxy the request is the same as on a direct line.
bool IsForwardProxy(const std::string& proxy)
{
    const size_t scheme = proxy.find("://");
    if (scheme == std::string::npos) return true;
    const std::string name = proxy.substr(0, scheme);
    return strcasecmp(name.c_str(), "http") == 0 || strcasecmp(name.c_str(), "https") == 0;
}

HttpFailure Classify(CURLcode rc, const Transfer& t, curl_off_t uploaded, size_t bodySize)
{
    // A cut socket fails like a broken connection; the token says why.
    if (t.cancelled || CancelRequested()) return HttpFailure::Cancelled;
    if (rc == CURLE_PEER_FAILED_VERIFICATION || rc == CURLE_SSL_CACERT_BADFILE) {
        return HttpFailure::Certificate;
    }
    if (t.deadlinePassed) return HttpFailure::ReadBody;
    if (t.storeFailed) return t.headComplete ? HttpFailure::StoreBody : HttpFailure::Receive;
    if (t.tooLarge) return t.headComplete ? HttpFailure::ReadBody : HttpFailure::Receive;
    if (t.headComplete) {
        return rc == CURLE_OUT_OF_MEMORY ? HttpFailure::StoreBody : HttpFailure::ReadBody;
    }
    // Once connected, "unsupported protocol" means the server answered in
    // something other than HTTP: a receive failure, not a bad request.
    if (!t.connected) {
        switch (rc) {
        case CURLE_FAILED_INIT:
        case CURLE_OUT_OF_MEMORY:
            return HttpFailure::Setup;
        case CURLE_URL_MALFORMAT:
        case CURLE_UNSUPPORTED_PROTOCOL:
        case CURLE_BAD_FUNCTION_ARGUMENT:
            return HttpFailure::Request;
        default:
            return HttpFailure::Connect;
        }
    }
    if (rc == CURLE_SEND_ERROR || uploaded < static_cast<curl_off_t>(bodySize)) {
        return HttpFailure::Send;
    }
    return HttpFailure::Receive;
}

}  // namespace

void CancelToken::Cancel()
{
    std::lock_guard<std::mutex> lock(mutex_);
    cancelled_ = true;
    for (int fd : sockets_) shutdown(fd, SHUT_RDWR);
}

void CancelToken::AddSocket(int fd)
{
    std::lock_guard<std::mutex> lock(mutex_);
    sockets_.push_back(fd);
    if (cancelled_) shutdown(fd, SHUT_RDWR);
}

void CancelToken::RemoveSocket(int fd)
{
    std::lock_guard<std::mutex> lock(mutex_);
    sockets_.erase(std::remove(sockets_.begin(), sockets_.end(), fd), sockets_.end());
}

CancelScope::CancelScope(CancelToken& token) : previous_(tCancelToken) { tCancelToken = &token; }

CancelScope::~CancelScope() { tCancelToken = previous_; }

CancelToken* CurrentCancelToken() { return tCancelToken; }

bool CancelRequested() { return tCancelToken && tCancelToken->Cancelled(); }

HttpOutcome PerformHttpExchange(const HttpExchange& ex)
{
    HttpOutcome out;
    if (CancelRequested()) {
        out.failure = HttpFailure::Cancelled;
        return out;
    }
    const CurlApi* lib = LoadCurl();
    if (!lib) {
        out.failure = HttpFailure::Setup;
        out.detail = "libcurl cannot be loaded";
        return out;
    }
    if (!IsToken(ex.method) || ex.target.empty() || !IsSafeText(ex.target, false)) {
        out.failure = HttpFailure::Request;
        out.detail = "unsafe method or request target";
        return out;
    }
    HeaderListGuard headers(*lib);
    for (const auto& [name, value] : ex.headers) {
        if (!IsToken(name) || !IsSafeText(value, true)) {
            out.failure = HttpFailure::Request;
            out.detail = "unsafe header " + name;
            return out;
        }
        if (!headers.Add(CurlHeaderLine(name, value))) {
            out.failure = HttpFailure::Setup;
            return out;
        }
    }
    const std::string proxy = ProxyForHost(ex.host);
    // Over TLS a proxy only tunnels (CONNECT): the request stays as it is.
    const bool forward = !ex.tls && !proxy.empty() && IsForwardProxy(proxy);
    // libcurl's own defaults that the caller did not ask for are removed
    // (with a forward proxy it would add an obsolete Proxy-Connection).
    for (const char* name : {"Accept", "Expect", "Content-Type", "Proxy-Connection"}) {
        if (!HasHeader(ex, name) && !headers.Add(std::string(name) + ":")) {
            out.failure = HttpFailure::Setup;
            return out;
        }
    }

    CURL* curl = lib->easy_init();
    if (!curl) {
        out.failure = HttpFailure::Setup;
        return out;
    }
    Transfer t;
    t.out = &out;
    char errorText[CURL_ERROR_SIZE] = {};
    const std::string url = Origin(ex) + "/";
    // The target goes out exactly as given; only a forward proxy gets it in
    // absolute form, so that it knows where to route the request.
    const std::string target = forward ? Origin(ex) + ex.target : ex.target;

    lib->easy_setopt(curl, CURLOPT_ERRORBUFFER, errorText);
    lib->easy_setopt(curl, CURLOPT_URL, url.c_str());
    // Only the scheme asked for: never a silent step down to plain HTTP.
    lib->easy_setopt(curl, CURLOPT_PROTOCOLS_STR, ex.tls ? "https" : "http");
    if (ex.tls) {
        lib->easy_setopt(curl, CURLOPT_SSL_VERIFYPEER, 1L);
        lib->easy_setopt(curl, CURLOPT_SSL_VERIFYHOST, 2L);
        // The file takes the place of the default bundle; the system's
        // certificate folder (libcurl's built-in CA path) still applies.
        if (!ex.caFile.empty()) lib->easy_setopt(curl, CURLOPT_CAINFO, ex.caFile.c_str());
    }
    lib->easy_setopt(curl, CURLOPT_REQUEST_TARGET, target.c_str());
    // "" means no proxy even where the environment names one: the choice
    // above is final.
    lib->easy_setopt(curl, CURLOPT_PROXY, proxy.c_str());
    lib->easy_setopt(curl, CURLOPT_NOPROXY, "");
    lib->easy_setopt(curl, CURLOPT_HTTP_VERSION, CURL_HTTP_VERSION_1_1);
    lib->easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    lib->easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, ex.timeouts.connectMs);
    t.stallLimit = std::chrono::milliseconds(ex.timeouts.stallMs);
    t.deadline = Clock::now() + std::chrono::milliseconds(ex.timeouts.totalMs);
    t.maxBytes = ex.maxBodyBytes;
    t.onSent = ex.onSent ? &ex.onSent : nullptr;
    t.bodySize = ex.hasBody ? ex.body.size() : 0;
    t.answerLimit = std::chrono::milliseconds(ex.answerMs);
    lib->easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
    lib->easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, OnProgress);
    lib->easy_setopt(curl, CURLOPT_XFERINFODATA, &t);
    lib->easy_setopt(curl, CURLOPT_USERAGENT, ex.userAgent.c_str());
    lib->easy_setopt(curl, CURLOPT_HTTPHEADER, headers.list);
    if (ex.hasBody) {
        lib->easy_setopt(curl, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(ex.body.size()));
        // Never a null pointer: libcurl would then read the body from stdin.
        lib->easy_setopt(curl, CURLOPT_POSTFIELDS, ex.body.empty() ? "" : ex.body.data());
    } else {
        lib->easy_setopt(curl, CURLOPT_HTTPGET, 1L);
        if (ex.method == "HEAD") lib->easy_setopt(curl, CURLOPT_NOBODY, 1L);
    }
    lib->easy_setopt(curl, CURLOPT_CUSTOMREQUEST, ex.method.c_str());
    lib->easy_setopt(curl, CURLOPT_PREREQFUNCTION, OnConnected);
    lib->easy_setopt(curl, CURLOPT_PREREQDATA, &t);
    lib->easy_setopt(curl, CURLOPT_HEADERFUNCTION, OnHeader);
    lib->easy_setopt(curl, CURLOPT_HEADERDATA, &t);
    lib->easy_setopt(curl, CURLOPT_WRITEFUNCTION, OnBody);
    lib->easy_setopt(curl, CURLOPT_WRITEDATA, &t);
    lib->easy_setopt(curl, CURLOPT_OPENSOCKETFUNCTION, OnOpenSocket);
    lib->easy_setopt(curl, CURLOPT_OPENSOCKETDATA, tCancelToken);
    lib->easy_setopt(curl, CURLOPT_CLOSESOCKETFUNCTION, OnCloseSocket);
    lib->easy_setopt(curl, CURLOPT_CLOSESOCKETDATA, tCancelToken);

    const CURLcode rc = lib->easy_perform(curl);
    long status = 0;
    lib->easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &status);
    curl_off_t uploaded = 0;
    lib->easy_getinfo(curl, CURLINFO_SIZE_UPLOAD_T, &uploaded);
    lib->easy_cleanup(curl);

    out.gotResponse = t.headComplete;
    out.connected = t.connected;
    out.bodySent = t.bodySent;
    if (t.headComplete && status > 0) out.statusCode = static_cast<unsigned>(status);
    if (rc != CURLE_OK || t.storeFailed) {
        out.failure = Classify(rc, t, uploaded, ex.hasBody ? ex.body.size() : 0);
        out.timedOut = rc == CURLE_OPERATION_TIMEDOUT || t.stalled || t.deadlinePassed;
        out.detail = errorText[0] ? errorText : lib->easy_strerror(rc);
    } else if (!t.headComplete) {
        out.failure = HttpFailure::Receive;
    }
    return out;
}

}  // namespace platform
