#pragma once

// Blocking socket chores shared by the loopback test peers (the recording
// server and the forward proxy).

#include <cstddef>
#include <string>

namespace qtest {

// A listening socket on 127.0.0.1 with an ephemeral port, for a test peer
// whose accept thread must be stoppable from its destructor.
class LoopbackListener {
public:
    // Throws std::runtime_error naming `who` when it cannot listen.
    LoopbackListener(const char* who, int backlog);
    ~LoopbackListener();
    LoopbackListener(const LoopbackListener&) = delete;
    LoopbackListener& operator=(const LoopbackListener&) = delete;

    int Port() const { return port_; }
    // The next connection, or -1 once Stop has been called.
    int Accept();
    // Makes a waiting (or the next) Accept return -1; any thread.
    void Stop();

private:
    int listenFd_ = -1;
    int wakePipe_[2] = {-1, -1};
    int port_ = 0;
};

// Sends every byte; false once the peer has gone.
bool SendAll(int fd, const char* data, size_t size);

// Reads more bytes into `buf`; false on EOF, error or 10 s of silence.
bool ReadMore(int fd, std::string& buf);

// Reads until `buf` holds a whole request head; returns the offset of its
// closing blank line, or npos when the peer went quiet, closed, or sent
// more than 1 MiB without one.
size_t ReadHead(int fd, std::string& buf);

}  // namespace qtest
