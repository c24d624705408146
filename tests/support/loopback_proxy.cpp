#include "support/loopback_proxy.h"
#include "support/socket_io.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <stdexcept>

namespace qtest {
namespace {

int ConnectLoopback(int port)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(static_cast<uint16_t>(port));
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (fd >= 0 && ::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0) return fd;
    if (fd >= 0) ::close(fd);
    return -1;
}

// Copies bytes both ways until the upstream side has closed and everything
// it sent has reached the client. A `clientRate` (bytes per second) above
// 0 holds what the client sends to that pace, in twentieths of a second.
void Relay(int client, int upstream, size_t clientRate = 0)
{
    const size_t slice = clientRate ? std::max<size_t>(1, clientRate / 20) : 16384;
    bool clientOpen = true;
    while (true) {
        pollfd fds[2] = {{upstream, POLLIN, 0}, {client, static_cast<short>(clientOpen ? POLLIN : 0), 0}};
        if (::poll(fds, 2, 10000) <= 0) return;
        char buf[16384];
        if (fds[0].revents) {
            const ssize_t n = ::recv(upstream, buf, sizeof buf, 0);
            if (n <= 0 || !SendAll(client, buf, static_cast<size_t>(n))) return;
        }
        if (clientOpen && fds[1].revents) {
            const ssize_t n = ::recv(client, buf, std::min(slice, sizeof buf), 0);
            if (clientRate && n > 0) std::this_thread::sleep_for(std::chrono::milliseconds(50));
            if (n <= 0) {
                clientOpen = false;
            } else if (!SendAll(upstream, buf, static_cast<size_t>(n))) {
                return;
            }
        }
    }
}

}  // namespace

LoopbackProxy::LoopbackProxy()
{
    acceptor_ = std::thread([this] { AcceptLoop(); });
}

LoopbackProxy::~LoopbackProxy()
{
    listener_.Stop();
    acceptor_.join();
    for (std::thread& w : workers_) w.join();
}

std::string LoopbackProxy::Url() const
{
    return "http://127.0.0.1:" + std::to_string(listener_.Port());
}

std::vector<std::string> LoopbackProxy::Heads() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return heads_;
}

void LoopbackProxy::AcceptLoop()
{
    for (int fd; (fd = listener_.Accept()) >= 0;) {
        workers_.emplace_back([this, fd] {
            Serve(fd);
            ::close(fd);
        });
    }
}

void LoopbackProxy::Serve(int fd)
{
    std::string buf;
    const size_t headEnd = ReadHead(fd, buf);
    if (headEnd == std::string::npos) return;
    const std::string head = buf.substr(0, headEnd + 2);
    {
        std::lock_guard<std::mutex> lock(mutex_);
        heads_.push_back(head);
    }
    // "METHOD http://127.0.0.1:PORT/path HTTP/1.1"
    const size_t s1 = head.find(' ');
    const std::string prefix = "http://127.0.0.1:";
    const bool absolute = s1 != std::string::npos && head.compare(s1 + 1, prefix.size(), prefix) == 0;
    const size_t portStart = s1 + 1 + prefix.size();
    const size_t pathStart = absolute ? head.find('/', portStart) : std::string::npos;
    const int port = pathStart == std::string::npos
                         ? 0
                         : std::atoi(head.substr(portStart, pathStart - portStart).c_str());
    const int upstream = port > 0 ? ConnectLoopback(port) : -1;
    if (upstream < 0) {
        const char refusal[] = "HTTP/1.1 400 Bad Request\r\nContent-Length: 0\r\nConnection: close\r\n\r\n";
        SendAll(fd, refusal, sizeof refusal - 1);
        return;
    }
    const std::string forwarded = head.substr(0, s1 + 1) + buf.substr(pathStart);
    if (SendAll(upstream, forwarded.data(), forwarded.size())) Relay(fd, upstream);
    ::close(upstream);
}

ThrottledRelay::ThrottledRelay(int targetPort, size_t bytesPerSecond)
    : targetPort_(targetPort), rate_(bytesPerSecond)
{
    acceptor_ = std::thread([this] {
        for (int fd; (fd = listener_.Accept()) >= 0;) {
            workers_.emplace_back([this, fd] {
                const int upstream = ConnectLoopback(targetPort_);
                if (upstream >= 0) {
                    Relay(fd, upstream, rate_);
                    ::close(upstream);
                }
                ::close(fd);
            });
        }
    });
}

ThrottledRelay::~ThrottledRelay()
{
    listener_.Stop();
    acceptor_.join();
    for (std::thread& w : workers_) w.join();
}

}  // namespace qtest
