// The local forum's request handling: each input is one request as a
// client sends it (request line, head, body). The server runs in this process on loopback with
// its demo data, so a fault in any handler is caught where it happens.
// "@TOKEN@" in the input becomes a logged-in member's token.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <strings.h>

#include <csignal>
#include <cstring>
#include <cstdint>
#include <cstdio>
#include <thread>

#include "fuzz_check.h"
#include "fuzz_files.h"
#include "server.h"

namespace {

int Connect(int port)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(static_cast<uint16_t>(port));
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    FUZZ_CHECK(fd >= 0 && ::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0);
    return fd;
}

// httplib answers neither a client that has half-closed its side nor a
// second request sent before the first was answered, so each input is
// made one complete request that asks the server to close: what follows
// the first empty line is the body, and the framing headers are ours. (The
// framing is httplib's business; the handlers behind it are what is
// fuzzed here.)
std::string Framed(const std::string& input)
{
    const size_t split = input.find("\r\n\r\n");
    const std::string head = split == std::string::npos ? input : input.substr(0, split);
    const std::string body = split == std::string::npos ? std::string() : input.substr(split + 4);
    std::string out;
    size_t pos = 0;
    while (pos <= head.size()) {
        size_t end = head.find("\r\n", pos);
        if (end == std::string::npos) end = head.size();
        const std::string line = head.substr(pos, end - pos);
        pos = end + 2;
        bool framing = false;
        for (const char* name : {"content-length:", "transfer-encoding:", "connection:"}) {
            framing = framing || strncasecmp(line.c_str(), name, std::strlen(name)) == 0;
        }
        // An empty line would end the head before our framing headers.
        const bool blank = line.find_first_not_of("\r\n \t") == std::string::npos;
        if (!framing && !blank) out += line + "\r\n";
    }
    return out + "Content-Length: " + std::to_string(body.size()) + "\r\nConnection: close\r\n\r\n" + body;
}

// A head and as much body as its Content-Length announces.
bool WholeAnswer(const std::string& answer)
{
    const size_t headEnd = answer.find("\r\n\r\n");
    if (headEnd == std::string::npos) return false;
    const std::string head = answer.substr(0, headEnd);
    const size_t at = head.find("\r\nContent-Length: ");
    if (at == std::string::npos) return false;
    const size_t length = std::strtoul(head.c_str() + at + 18, nullptr, 10);
    return answer.size() >= headEnd + 4 + length;
}

// Sends the bytes and returns all the server said.
std::string Exchange(int port, const std::string& bytes)
{
    const int fd = Connect(port);
    const std::string all = Framed(bytes);
    size_t sent = 0;
    while (sent < all.size()) {
        const ssize_t n = ::send(fd, all.data() + sent, all.size() - sent, MSG_NOSIGNAL);
        if (n <= 0) break;  // the server may refuse early and close
        sent += static_cast<size_t>(n);
    }
    std::string answer;
    char buf[16384];
    pollfd p{fd, POLLIN, 0};
    // The server answers at once; a request it cannot read at all may be
    // dropped without a word, which costs this wait. Once one whole answer
    // is here, a server that keeps the connection open is not waited for.
    while (!WholeAnswer(answer) && ::poll(&p, 1, 1000) > 0) {
        const ssize_t n = ::recv(fd, buf, sizeof buf, 0);
        if (n <= 0) break;
        answer.append(buf, static_cast<size_t>(n));
    }
    ::close(fd);
    return answer;
}

struct Running {
    forum::ForumServer* server = nullptr;
    std::string token;
};

Running Start()
{
    std::signal(SIGPIPE, SIG_IGN);
    // The server logs every request to standard output.
    FUZZ_CHECK(std::freopen("/dev/null", "w", stdout));
    forum::Options options;
    options.dbPath = fuzz::Folder() + "/forum.db";
    options.filesDir = fuzz::Folder() + "/files";
    options.noMedia = true;
    options.port = 0;
    options.fixedVerifyCode = "123456";
    options.maxUpload = 64 * 1024;
    auto* server = new forum::ForumServer(options);
    std::string error;
    if (!server->Start(error)) {
        std::fprintf(stderr, "local forum: %s\n", error.c_str());
        std::abort();
    }
    std::thread([server] { server->Run(); }).detach();
    const std::string login = R"({"mobile":"13800000001","password":"user123"})";
    const std::string answer =
        Exchange(server->port(), "POST /api/user/login HTTP/1.1\r\nHost: x\r\nContent-Type: application/json\r\n"
                                 "Content-Length: " + std::to_string(login.size()) + "\r\n\r\n" + login);
    const size_t at = answer.find("\"data\":\"");
    if (at == std::string::npos) std::fprintf(stderr, "login answered: %s\n", answer.c_str());
    FUZZ_CHECK(at != std::string::npos);
    const size_t end = answer.find('"', at + 8);
    return Running{server, answer.substr(at + 8, end - at - 8)};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const Running running = Start();
    std::string request(reinterpret_cast<const char*>(data), size);
    for (size_t at; (at = request.find("@TOKEN@")) != std::string::npos;) {
        request.replace(at, 7, running.token);
    }
    const std::string answer = Exchange(running.server->port(), request);
    // Whatever came in, what goes out is HTTP (or nothing, for bytes that
    // are not a request at all).
    FUZZ_CHECK(answer.empty() || answer.rfind("HTTP/1.1 ", 0) == 0);
    return 0;
}
