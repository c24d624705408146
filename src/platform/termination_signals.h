// The desktop's requests to end the program: SIGTERM (a logout or a
// shutdown), SIGHUP (the session or terminal went away) and SIGINT
// (Ctrl+C). They are turned into a call on the UI thread from the event
// loop, between two events, so the program ends through its ordinary
// closing sequence and never in the middle of what it was doing.
#pragma once

#include <functional>

namespace platform {

// `handler` runs on the UI thread's event loop for each such signal from
// now on (the signals' default action, ending at once, is replaced).
void OnTerminationSignal(std::function<void()> handler);

}  // namespace platform
