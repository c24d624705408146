// Whole-process start-up of the program until its main window is mapped,
// which happens only after the sections are loaded and the home view is in
// the list, against the local forum server; next to a bare toolkit frame
// that shows and exits, measured the same way in the same run.
//
//   bash scripts/with-display build-x/bench/startup_bench   (needs a display)
#include "support/forum_profile.h"
#include "support/local_forum_process.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <csignal>
#include <cstdlib>
#include <memory>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

double g_meanQuillery = 0, g_meanBare = 0;

// The pid a toolkit window announces in _NET_WM_PID, or 0.
long WindowPid(Display* display, Window window) {
    static Atom pidAtom = XInternAtom(display, "_NET_WM_PID", False);
    Atom type;
    int format;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    long pid = 0;
    if (XGetWindowProperty(display, window, pidAtom, 0, 1, False, XA_CARDINAL, &type, &format,
                           &count, &after, &data) == Success &&
        data != nullptr && count == 1) {
        pid = static_cast<long>(*reinterpret_cast<unsigned long*>(data));
    }
    if (data) XFree(data);
    return pid;
}

// Starts `exe` and returns the seconds until a window of that process is
// mapped (or -1 after 20 s). The process is killed afterwards.
double SecondsUntilMapped(Display* display, const char* exe) {
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    XSync(display, True);  // drop earlier events
    auto start = std::chrono::steady_clock::now();
    pid_t pid = fork();
    if (pid == 0) {
        execl(exe, exe, static_cast<char*>(nullptr));
        _exit(127);
    }
    double seconds = -1;
    const int fd = ConnectionNumber(display);
    while (seconds < 0) {
        double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (elapsed > 20) break;
        if (XPending(display) == 0) {
            pollfd p{fd, POLLIN, 0};
            poll(&p, 1, 50);
            continue;
        }
        XEvent event;
        XNextEvent(display, &event);
        if (event.type == MapNotify && WindowPid(display, event.xmap.window) == pid) {
            seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        }
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    return seconds;
}

struct Fixture {
    Fixture() : display(XOpenDisplay(nullptr)) {
        if (forum.ok()) profile = std::make_unique<qtest::ForumProfile>(forum.host(), forum.port());
    }
    ~Fixture() {
        if (display) XCloseDisplay(display);
    }
    qtest::LocalForumProcess forum;
    std::unique_ptr<qtest::ForumProfile> profile;
    Display* display;
};

Fixture& Shared() {
    static Fixture fixture;
    return fixture;
}

void Measure(benchmark::State& state, const char* exe, double& mean) {
    Fixture& f = Shared();
    if (!f.display || !f.profile) {
        state.SkipWithError("needs a display and the local forum server");
        return;
    }
    double total = 0;
    int64_t runs = 0;
    for (auto _ : state) {
        double seconds = SecondsUntilMapped(f.display, exe);
        if (seconds < 0) {
            state.SkipWithError("no window appeared");
            return;
        }
        state.SetIterationTime(seconds);
        total += seconds;
        ++runs;
    }
    if (runs) mean = total / static_cast<double>(runs);
}

void BM_QuilleryUntilHomeView(benchmark::State& state) {
    Measure(state, QUILLERY_EXE, g_meanQuillery);
}
BENCHMARK(BM_QuilleryUntilHomeView)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);

void BM_BareFrameShown(benchmark::State& state) { Measure(state, BARE_FRAME_EXE, g_meanBare); }
BENCHMARK(BM_BareFrameShown)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    if (g_meanQuillery > 0 && g_meanBare > 0) {
        std::printf("start-up until the home view: %.1f ms, bare frame: %.1f ms, ratio %.2f\n",
                    g_meanQuillery * 1e3, g_meanBare * 1e3, g_meanQuillery / g_meanBare);
    }
    benchmark::Shutdown();
    return 0;
}
