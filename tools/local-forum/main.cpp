// local-forum: the project's stand-in for the forum server. See README.md.
#include "server.h"

#include <csignal>
#include <cstdio>
#include <pthread.h>
#include <sys/prctl.h>
#include <unistd.h>
#include <thread>

int main(int argc, char** argv) {
    forum::Options options;
    std::string error;
    bool help = false;
    if (!forum::ParseOptions(argc, argv, options, error, help)) {
        std::fputs(error.c_str(), help ? stdout : stderr);
        std::fputc('\n', help ? stdout : stderr);
        return help ? 0 : 2;
    }

    // SIGINT/SIGTERM end the server cleanly (database closed) through a
    // thread that waits for them; every other thread has them blocked.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
    if (options.exitWithParent) {
        // The parent's end arrives as SIGTERM, which the waiter below turns
        // into a clean stop; a parent already gone leaves us with init.
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (getppid() == 1) return 0;
    }
    std::signal(SIGPIPE, SIG_IGN);

    forum::ForumServer server(options);
    if (!server.Start(error)) {
        std::fprintf(stderr, "local-forum: %s\n", error.c_str());
        return 1;
    }
    std::printf("listening on %s:%d\n", options.host.c_str(), server.port());
    std::fflush(stdout);

    std::thread waiter([&server, stopSignals] {
        int sig = 0;
        sigwait(&stopSignals, &sig);
        server.Stop();
    });
    bool ok = server.Run();
    if (!ok) {
        std::fprintf(stderr, "local-forum: the listening socket failed\n");
        // Wake the waiter so it can be joined.
        pthread_kill(waiter.native_handle(), SIGTERM);
    }
    waiter.join();
    return ok ? 0 : 1;
}
