#include "support/socket_io.h"

#include <poll.h>
#include <sys/socket.h>

#include <cerrno>

namespace qtest {

bool SendAll(int fd, const char* data, size_t size)
{
    while (size > 0) {
        const ssize_t n = ::send(fd, data, size, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        data += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

bool ReadMore(int fd, std::string& buf)
{
    pollfd p{fd, POLLIN, 0};
    if (::poll(&p, 1, 10000) <= 0) return false;
    char chunk[16384];
    const ssize_t n = ::recv(fd, chunk, sizeof chunk, 0);
    if (n <= 0) return false;
    buf.append(chunk, static_cast<size_t>(n));
    return true;
}

size_t ReadHead(int fd, std::string& buf)
{
    size_t headEnd;
    while ((headEnd = buf.find("\r\n\r\n")) == std::string::npos) {
        if (buf.size() > (1u << 20) || !ReadMore(fd, buf)) return std::string::npos;
    }
    return headEnd;
}

}  // namespace qtest
