// Stopping the server calls of one thread from another: the UI thread
// raises a flag (the user pressed Escape) while a worker thread runs a
// chain of exchanges. While a CancelScope lives on a thread, every exchange
// that thread starts looks at the flag before it connects and while data
// moves, and ends as HttpFailure::Cancelled once it is set.
#pragma once

#include <atomic>

namespace platform {

class CancelScope {
public:
    explicit CancelScope(const std::atomic<bool>& flag);
    ~CancelScope();
    CancelScope(const CancelScope&) = delete;
    CancelScope& operator=(const CancelScope&) = delete;

private:
    const std::atomic<bool>* previous_;
};

// True when the calling thread's scope has been cancelled.
bool CancelRequested();
// The flag of the calling thread's scope, or null; threads a call starts
// for itself take it over with a CancelScope of their own.
const std::atomic<bool>* CurrentCancelFlag();

}  // namespace platform
