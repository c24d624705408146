// Waiting for the server without freezing the window. A call runs on a
// worker thread while the UI thread keeps turning a local event loop: the
// window repaints, answers the screen reader, runs its timers and global
// hotkeys. What the user types or clicks meanwhile is dropped (nothing is
// replayed once the call returns), except Escape, which cancels the call.
// Work queued for later (CallAfter, worker results) waits until the call
// has returned, so no view changes under a running call. After a second
// the status line says that the program waits and how to stop it.
#pragma once

#include <functional>

class RequestWait {
public:
    // Runs `work` as described above and returns when it has finished.
    // An exception thrown by `work` is thrown again here.
    static void Run(const std::function<void()>& work);

    // A call is being waited for (windows should not open dialogs now).
    static bool Active();

    // Milliseconds before the waiting text is shown (tests shorten it).
    static void SetNoticeDelayForTesting(int milliseconds);
    // How often the UI thread woke up during the last wait (benchmarks).
    static int LastWakeUps();
};
