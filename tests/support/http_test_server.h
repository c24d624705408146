// An HTTP/1.1 server on 127.0.0.1 for tests: it answers what the test
// scripts and records every request exactly as it arrived (header order,
// duplicates and body bytes included), so tests can assert attempt
// sequences byte for byte. One request per connection, like the client.
//
//   qtest::HttpTestServer server;
//   server.Answer("GET", "/api/post/hot", qtest::Ok(R"({"list":[]})"));
//   ApiClient client(ServerEndpoint{server.Host(), server.Port()});
//   ... client.GetHotPosts(1, 20) ...
//   EXPECT_EQ(server.Requests().at(0).target, "/api/post/hot?pageNum=1&pageSize=20");
#pragma once

#include "support/socket_io.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace qtest {

using HeaderPairs = std::vector<std::pair<std::string, std::string>>;

// How the server answers one request.
struct ScriptedAnswer {
    enum class Cut {
        None,
        CloseBeforeAnswer,  // read the request, then close without a byte
        CloseMidBody,       // announce the full length, send half, close
        StallMidBody,       // send half the body, then wait until the client gives up
        Trickle,            // send the body one byte per `delay`, however long it takes
    };
    int status = 200;
    HeaderPairs headers;  // in this order; Content-Length and Connection are added
    std::string body;
    std::chrono::milliseconds delay{0};  // before the first byte of the answer (Trickle: between bytes)
    Cut cut = Cut::None;
    // End the head's lines with a bare LF, as some servers do.
    bool bareLineFeeds = false;
    // Send `body` alone, without status line or head: a server speaking
    // another protocol.
    bool noHead = false;

    ScriptedAnswer& WithStatus(int code);
    ScriptedAnswer& WithHeader(std::string name, std::string value);
    ScriptedAnswer& WithCookie(std::string setCookieValue);  // adds one Set-Cookie line
    ScriptedAnswer& WithDelay(std::chrono::milliseconds d);
    ScriptedAnswer& WithCut(Cut c);
    ScriptedAnswer& WithBareLineFeeds();
    ScriptedAnswer& WithoutHead();
};

// Answers with a JSON body (Content-Type: application/json).
ScriptedAnswer JsonAnswer(std::string body, int status = 200);
// The server's envelope: {"code":0,"errMsg":"","data":<dataJson>}; an empty
// dataJson leaves "data" out.
ScriptedAnswer Ok(const std::string& dataJson = {});
// {"code":<code>,"errMsg":"<errMsg>"} (errMsg is taken as JSON string content).
ScriptedAnswer Fail(int code, const std::string& errMsg = {});

struct RecordedRequest {
    std::string method;
    std::string target;   // as on the request line, query included
    std::string version;  // "HTTP/1.1"
    HeaderPairs headers;  // wire order, names as sent
    std::string body;
    std::string head;     // the raw request line and header lines

    std::string Path() const;  // target without the query
    bool HasHeader(const std::string& name) const;  // case-insensitive name
    std::string Header(const std::string& name) const;  // first value, "" if none
    std::vector<std::string> HeaderValues(const std::string& name) const;
    std::vector<std::string> HeaderNames() const;
};

class HttpTestServer {
public:
    using Handler = std::function<ScriptedAnswer(const RecordedRequest&)>;

    HttpTestServer();  // listening on an ephemeral loopback port
    ~HttpTestServer();
    HttpTestServer(const HttpTestServer&) = delete;
    HttpTestServer& operator=(const HttpTestServer&) = delete;

    std::string Host() const { return "127.0.0.1"; }
    int Port() const { return listener_.Port(); }

    // A route matches when the method is equal and the target is equal, or
    // when `target` holds no "?" and equals the request's path. Exact
    // targets win over path matches; a later Answer replaces an earlier one.
    void Answer(const std::string& method, const std::string& target, ScriptedAnswer answer);
    // Used for one matching request, before the route's lasting answer;
    // several are used in the order they were given.
    void AnswerOnce(const std::string& method, const std::string& target, ScriptedAnswer answer);
    // For requests that match no route (before the default answer).
    void SetHandler(Handler handler);
    // For requests nothing else answers; initially 404 with an envelope
    // {"code":-404,...} naming the request.
    void SetDefault(ScriptedAnswer answer);

    std::vector<RecordedRequest> Requests() const;
    size_t RequestCount() const;
    void ClearRequests();

private:
    struct Route;
    struct Worker {
        std::thread thread;
        std::shared_ptr<std::atomic<bool>> done;
    };
    void AcceptLoop();
    void Serve(int fd);
    ScriptedAnswer Choose(const RecordedRequest& request);
    bool Sleep(std::chrono::milliseconds d);  // false when stopping

    LoopbackListener listener_{"test server", 64};
    bool stopping_ = false;
    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
    std::vector<Route> routes_;
    Handler handler_;
    std::unique_ptr<ScriptedAnswer> default_;
    std::vector<RecordedRequest> requests_;
    std::vector<Worker> workers_;
    std::thread acceptor_;
};

// A loopback port where nothing listens (connections are refused).
int UnusedLoopbackPort();

}  // namespace qtest
