// Stopping the server calls of one thread from another: the UI thread
// cancels a token (the user pressed Escape) while a worker thread runs a
// chain of exchanges. While a CancelScope lives on a thread, every exchange
// that thread starts looks at the token before it connects, and a transfer
// in flight is cut at once (its socket is shut down); the exchange ends as
// HttpFailure::Cancelled.
#pragma once

#include <atomic>
#include <mutex>
#include <vector>

namespace platform {

class CancelToken {
public:
    // Any thread; idempotent.
    void Cancel();
    bool Cancelled() const { return cancelled_.load(); }

    // The transport's sockets while they are open, so Cancel can cut them.
    // A socket added after Cancel is shut down at once.
    void AddSocket(int fd);
    void RemoveSocket(int fd);

private:
    std::atomic<bool> cancelled_{false};
    std::mutex mutex_;
    std::vector<int> sockets_;
};

class CancelScope {
public:
    explicit CancelScope(CancelToken& token);
    ~CancelScope();
    CancelScope(const CancelScope&) = delete;
    CancelScope& operator=(const CancelScope&) = delete;

private:
    CancelToken* previous_;
};

// The calling thread's token, or null; threads a call starts for itself
// take it over with a CancelScope of their own.
CancelToken* CurrentCancelToken();
// True when the calling thread's token has been cancelled.
bool CancelRequested();

}  // namespace platform
