#include "platform/termination_signals.h"

#include <glib-unix.h>

#include <csignal>

namespace platform {

void OnTerminationSignal(std::function<void()> handler) {
    // One handler for the whole run: the sources are never removed.
    auto* kept = new std::function<void()>(std::move(handler));
    for (int signal : {SIGTERM, SIGHUP, SIGINT}) {
        g_unix_signal_add(
            signal,
            [](gpointer data) -> gboolean {
                (*static_cast<std::function<void()>*>(data))();
                return G_SOURCE_CONTINUE;
            },
            kept);
    }
}

}  // namespace platform
