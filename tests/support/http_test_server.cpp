#include "support/http_test_server.h"
#include "support/socket_io.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <strings.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

namespace qtest {

struct HttpTestServer::Route {
    std::string method;
    std::string target;
    ScriptedAnswer answer;
    bool once = false;
    bool used = false;
};

namespace {

bool SameName(const std::string& a, const std::string& b)
{
    return strcasecmp(a.c_str(), b.c_str()) == 0;
}

std::string Trim(const std::string& s)
{
    const size_t b = s.find_first_not_of(" \t");
    if (b == std::string::npos) return {};
    const size_t e = s.find_last_not_of(" \t");
    return s.substr(b, e - b + 1);
}

bool ParseHead(const std::string& head, RecordedRequest& r)
{
    size_t lineEnd = head.find("\r\n");
    const std::string requestLine = head.substr(0, lineEnd);
    const size_t s1 = requestLine.find(' ');
    const size_t s2 = requestLine.rfind(' ');
    if (s1 == std::string::npos || s2 == s1) return false;
    r.method = requestLine.substr(0, s1);
    r.target = requestLine.substr(s1 + 1, s2 - s1 - 1);
    r.version = requestLine.substr(s2 + 1);
    size_t pos = lineEnd + 2;
    while (pos < head.size()) {
        lineEnd = head.find("\r\n", pos);
        if (lineEnd == std::string::npos) lineEnd = head.size();
        const std::string line = head.substr(pos, lineEnd - pos);
        const size_t colon = line.find(':');
        if (colon != std::string::npos) {
            r.headers.emplace_back(line.substr(0, colon), Trim(line.substr(colon + 1)));
        }
        pos = lineEnd + 2;
    }
    return true;
}

// A length or chunk size written in `base`; false for anything else, so a
// client that sends a broken one fails its test instead of ending the process.
bool ParseSize(const std::string& text, int base, size_t& out)
{
    if (text.empty() || !std::isxdigit(static_cast<unsigned char>(text[0]))) return false;
    char* end = nullptr;
    errno = 0;
    const unsigned long long v = std::strtoull(text.c_str(), &end, base);
    if (errno != 0 || (*end != '\0' && *end != ';')) return false;
    out = static_cast<size_t>(v);
    return true;
}

// Reads a chunked body that starts at buf[0]; false when it breaks off.
bool ReadChunked(int fd, std::string& buf, std::string& body)
{
    size_t pos = 0;
    while (true) {
        size_t eol;
        while ((eol = buf.find("\r\n", pos)) == std::string::npos) {
            if (!ReadMore(fd, buf)) return false;
        }
        size_t size = 0;
        if (!ParseSize(buf.substr(pos, eol - pos), 16, size)) return false;
        pos = eol + 2;
        while (buf.size() < pos + size + 2) {
            if (!ReadMore(fd, buf)) return false;
        }
        body.append(buf, pos, size);
        pos += size + 2;
        if (size == 0) return true;
    }
}

const char* Reason(int status)
{
    switch (status) {
    case 200: return "OK";
    case 201: return "Created";
    case 204: return "No Content";
    case 400: return "Bad Request";
    case 401: return "Unauthorized";
    case 403: return "Forbidden";
    case 404: return "Not Found";
    case 500: return "Internal Server Error";
    default: return "Status";
    }
}

std::string JsonEscape(const std::string& s)
{
    std::string out;
    for (char c : s) {
        if (c == '"' || c == '\\') out += '\\';
        out += c;
    }
    return out;
}

}  // namespace

ScriptedAnswer& ScriptedAnswer::WithStatus(int code)
{
    status = code;
    return *this;
}

ScriptedAnswer& ScriptedAnswer::WithHeader(std::string name, std::string value)
{
    headers.emplace_back(std::move(name), std::move(value));
    return *this;
}

ScriptedAnswer& ScriptedAnswer::WithCookie(std::string setCookieValue)
{
    return WithHeader("Set-Cookie", std::move(setCookieValue));
}

ScriptedAnswer& ScriptedAnswer::WithDelay(std::chrono::milliseconds d)
{
    delay = d;
    return *this;
}

ScriptedAnswer& ScriptedAnswer::WithCut(Cut c)
{
    cut = c;
    return *this;
}

ScriptedAnswer& ScriptedAnswer::WithoutHead()
{
    noHead = true;
    return *this;
}

ScriptedAnswer& ScriptedAnswer::WithBareLineFeeds()
{
    bareLineFeeds = true;
    return *this;
}

ScriptedAnswer JsonAnswer(std::string body, int status)
{
    ScriptedAnswer a;
    a.status = status;
    a.headers.emplace_back("Content-Type", "application/json;charset=UTF-8");
    a.body = std::move(body);
    return a;
}

ScriptedAnswer Ok(const std::string& dataJson)
{
    std::string body = R"({"code":0,"errMsg":"")";
    if (!dataJson.empty()) body += R"(,"data":)" + dataJson;
    return JsonAnswer(body + "}");
}

ScriptedAnswer Fail(int code, const std::string& errMsg)
{
    return JsonAnswer(R"({"code":)" + std::to_string(code) + R"(,"errMsg":")" + JsonEscape(errMsg) +
                      R"("})");
}

std::string RecordedRequest::Path() const
{
    return target.substr(0, target.find('?'));
}

bool RecordedRequest::HasHeader(const std::string& name) const
{
    return !HeaderValues(name).empty();
}

std::string RecordedRequest::Header(const std::string& name) const
{
    const auto values = HeaderValues(name);
    return values.empty() ? std::string() : values.front();
}

std::vector<std::string> RecordedRequest::HeaderValues(const std::string& name) const
{
    std::vector<std::string> values;
    for (const auto& [n, v] : headers) {
        if (SameName(n, name)) values.push_back(v);
    }
    return values;
}

std::vector<std::string> RecordedRequest::HeaderNames() const
{
    std::vector<std::string> names;
    for (const auto& h : headers) names.push_back(h.first);
    return names;
}

HttpTestServer::HttpTestServer()
{
    acceptor_ = std::thread([this] { AcceptLoop(); });
}

HttpTestServer::~HttpTestServer()
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    listener_.Stop();
    acceptor_.join();
    for (Worker& w : workers_) w.thread.join();
}

void HttpTestServer::AcceptLoop()
{
    for (int fd; (fd = listener_.Accept()) >= 0;) {
        std::lock_guard<std::mutex> lock(mutex_);
        // Join finished connections so long tests do not pile up threads.
        for (size_t i = 0; i < workers_.size();) {
            if (workers_[i].done->load()) {
                workers_[i].thread.join();
                workers_.erase(workers_.begin() + static_cast<std::ptrdiff_t>(i));
            } else {
                ++i;
            }
        }
        auto done = std::make_shared<std::atomic<bool>>(false);
        workers_.push_back(Worker{std::thread([this, fd, done] {
                                      Serve(fd);
                                      ::close(fd);
                                      done->store(true);
                                  }),
                                  done});
    }
}

bool HttpTestServer::Sleep(std::chrono::milliseconds d)
{
    std::unique_lock<std::mutex> lock(mutex_);
    return !changed_.wait_for(lock, d, [this] { return stopping_; });
}

void HttpTestServer::Serve(int fd)
{
    std::string buf;
    const size_t headEnd = ReadHead(fd, buf);
    if (headEnd == std::string::npos) return;
    RecordedRequest request;
    request.head = buf.substr(0, headEnd + 2);
    if (!ParseHead(request.head, request)) return;
    buf.erase(0, headEnd + 4);
    if (SameName(request.Header("Expect"), "100-continue")) {
        SendAll(fd, "HTTP/1.1 100 Continue\r\n\r\n", 25);
    }
    if (SameName(request.Header("Transfer-Encoding"), "chunked")) {
        if (!ReadChunked(fd, buf, request.body)) return;
    } else if (request.HasHeader("Content-Length")) {
        size_t length = 0;
        if (!ParseSize(request.Header("Content-Length"), 10, length)) return;
        while (buf.size() < length) {
            if (!ReadMore(fd, buf)) return;
        }
        request.body = buf.substr(0, length);
    }
    const ScriptedAnswer answer = Choose(request);
    {
        std::lock_guard<std::mutex> lock(mutex_);
        requests_.push_back(request);
    }

    const bool trickle = answer.cut == ScriptedAnswer::Cut::Trickle;
    if (!trickle && answer.delay.count() > 0 && !Sleep(answer.delay)) return;
    if (answer.cut == ScriptedAnswer::Cut::CloseBeforeAnswer) return;
    if (answer.noHead) {
        SendAll(fd, answer.body.data(), answer.body.size());
        ::shutdown(fd, SHUT_WR);
        pollfd p{fd, POLLIN, 0};
        char drain[256];
        while (::poll(&p, 1, 1000) > 0 && ::recv(fd, drain, sizeof drain, 0) > 0) {
        }
        return;
    }

    std::string head = "HTTP/1.1 " + std::to_string(answer.status) + " " + Reason(answer.status) + "\r\n";
    bool hasLength = false;
    for (const auto& [name, value] : answer.headers) {
        hasLength = hasLength || SameName(name, "Content-Length");
        head += name + ": " + value + "\r\n";
    }
    if (!hasLength) head += "Content-Length: " + std::to_string(answer.body.size()) + "\r\n";
    head += "Connection: close\r\n\r\n";
    if (answer.bareLineFeeds) {
        std::string bare;
        for (char c : head) {
            if (c != '\r') bare += c;
        }
        head = std::move(bare);
    }
    if (!SendAll(fd, head.data(), head.size())) return;

    if (trickle) {
        for (char c : answer.body) {
            if (!Sleep(answer.delay) || !SendAll(fd, &c, 1)) return;
        }
    }
    const bool cut = answer.cut != ScriptedAnswer::Cut::None;
    const size_t sent = trickle ? 0 : cut ? answer.body.size() / 2 : answer.body.size();
    if (!SendAll(fd, answer.body.data(), sent)) return;
    if (answer.cut == ScriptedAnswer::Cut::StallMidBody) {
        // Hold the connection open until the client gives up or we stop.
        while (true) {
            pollfd p{fd, POLLIN, 0};
            const int ready = ::poll(&p, 1, 50);
            if (ready > 0) {
                char c;
                if (::recv(fd, &c, 1, 0) <= 0) return;
            }
            std::lock_guard<std::mutex> lock(mutex_);
            if (stopping_) return;
        }
    }
    ::shutdown(fd, SHUT_WR);
    // Let the client read everything before the socket goes away.
    pollfd p{fd, POLLIN, 0};
    char drain[256];
    while (::poll(&p, 1, 1000) > 0 && ::recv(fd, drain, sizeof drain, 0) > 0) {
    }
}

ScriptedAnswer HttpTestServer::Choose(const RecordedRequest& request)
{
    std::unique_lock<std::mutex> lock(mutex_);
    for (bool exact : {true, false}) {
        auto matches = [&](const Route& r) {
            if (r.method != request.method) return false;
            if (exact) return r.target == request.target;
            return r.target.find('?') == std::string::npos && r.target == request.Path();
        };
        for (Route& r : routes_) {
            if (r.once && !r.used && matches(r)) {
                r.used = true;
                return r.answer;
            }
        }
        for (auto it = routes_.rbegin(); it != routes_.rend(); ++it) {
            if (!it->once && matches(*it)) return it->answer;
        }
    }
    // The handler runs unlocked so that it may ask the server about requests.
    if (Handler handler = handler_) {
        lock.unlock();
        return handler(request);
    }
    if (default_) return *default_;
    return JsonAnswer(R"({"code":-404,"errMsg":"no answer scripted for )" + JsonEscape(request.method) +
                          " " + JsonEscape(request.target) + R"("})",
                      404);
}

void HttpTestServer::Answer(const std::string& method, const std::string& target, ScriptedAnswer answer)
{
    std::lock_guard<std::mutex> lock(mutex_);
    routes_.push_back(Route{method, target, std::move(answer), false, false});
}

void HttpTestServer::AnswerOnce(const std::string& method, const std::string& target,
                                ScriptedAnswer answer)
{
    std::lock_guard<std::mutex> lock(mutex_);
    routes_.push_back(Route{method, target, std::move(answer), true, false});
}

void HttpTestServer::SetHandler(Handler handler)
{
    std::lock_guard<std::mutex> lock(mutex_);
    handler_ = std::move(handler);
}

void HttpTestServer::SetDefault(ScriptedAnswer answer)
{
    std::lock_guard<std::mutex> lock(mutex_);
    default_ = std::make_unique<ScriptedAnswer>(std::move(answer));
}

std::vector<RecordedRequest> HttpTestServer::Requests() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return requests_;
}

size_t HttpTestServer::RequestCount() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return requests_.size();
}

void HttpTestServer::ClearRequests()
{
    std::lock_guard<std::mutex> lock(mutex_);
    requests_.clear();
}

int UnusedLoopbackPort()
{
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof addr;
    ::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len);
    ::close(fd);  // bound but never listened on: nothing accepts there
    return ntohs(addr.sin_port);
}

}  // namespace qtest
