// A forward HTTP proxy on 127.0.0.1 for tests: it takes a request in
// absolute form ("GET http://127.0.0.1:8080/x HTTP/1.1"), records its head
// as it arrived, and relays it in origin form to the named loopback host,
// then relays the answer back. A request in any other form is answered
// 400 and never forwarded, as a real proxy would refuse it.
#pragma once

#include "support/socket_io.h"

#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace qtest {

class LoopbackProxy {
public:
    LoopbackProxy();  // listening on an ephemeral loopback port
    ~LoopbackProxy();
    LoopbackProxy(const LoopbackProxy&) = delete;
    LoopbackProxy& operator=(const LoopbackProxy&) = delete;

    // "http://127.0.0.1:<port>", the value for http_proxy.
    std::string Url() const;
    // Request heads as they reached the proxy (request line and header
    // lines, each ending in "\r\n").
    std::vector<std::string> Heads() const;

private:
    void AcceptLoop();
    void Serve(int fd);

    LoopbackListener listener_{"loopback proxy", 16};
    mutable std::mutex mutex_;
    std::vector<std::string> heads_;
    std::vector<std::thread> workers_;
    std::thread acceptor_;
};

// A plain TCP relay on 127.0.0.1 to a loopback port that passes what the
// client sends at `bytesPerSecond` (a slow uplink) and the answers at full
// speed.
class ThrottledRelay {
public:
    ThrottledRelay(int targetPort, size_t bytesPerSecond);
    ~ThrottledRelay();
    ThrottledRelay(const ThrottledRelay&) = delete;
    ThrottledRelay& operator=(const ThrottledRelay&) = delete;

    int Port() const { return listener_.Port(); }

private:
    LoopbackListener listener_{"throttled relay", 16};
    int targetPort_;
    size_t rate_;
    std::vector<std::thread> workers_;
    std::thread acceptor_;
};

}  // namespace qtest
