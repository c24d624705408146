// Whole-process start-up of the program until its main window is mapped
// and the home view is in its list (the program says so on a descriptor),
// against the local forum server; next to a bare toolkit frame that shows
// and exits, timed until its window is mapped, in the same run. A third
// program, the main window's own controls and rows in a plain frame
// (startup_same_window), tells the toolkit's share from the program's.
//
//   bash scripts/with-display build-x/bench/startup_bench   (needs a display)
#include "median.h"
#include "api/api_client.h"
#include "app/forum_browser.h"
#include "support/forum_profile.h"
#include "support/local_forum_process.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <csignal>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>
#include <fcntl.h>
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

// The resident set of a process in kB (VmRSS), or -1.
long ResidentKb(pid_t pid) {
    char path[64];
    std::snprintf(path, sizeof path, "/proc/%d/status", static_cast<int>(pid));
    std::FILE* f = std::fopen(path, "r");
    if (!f) return -1;
    char line[256];
    long kb = -1;
    while (std::fgets(line, sizeof line, f)) {
        if (std::sscanf(line, "VmRSS: %ld kB", &kb) == 1) break;
    }
    std::fclose(f);
    return kb;
}

// Starts `exe` and returns the seconds until a window of that process is
// mapped (or -1 after 20 s). With waitReady the program must also have said
// that its first view is in the list (the line it writes to the descriptor
// named by QUILLERY_READY_FD), and the later of the two ends the count: the
// window maps before the sections load. When rssKb is given, the process is
// left to settle for idleMs after that and its resident set is read. The
// process is killed afterwards.
double SecondsUntilShown(Display* display, const char* exe, bool waitReady, long* rssKb = nullptr,
                         const std::vector<std::string>& args = {}, int idleMs = 500) {
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    XSync(display, True);  // drop earlier events
    int ready[2] = {-1, -1};
    if (waitReady && pipe2(ready, O_CLOEXEC) != 0) return -1;
    auto start = std::chrono::steady_clock::now();
    pid_t pid = fork();
    if (pid == 0) {
        if (waitReady) {
            // The write end, without close-on-exec, on a number of its own.
            int fd = fcntl(ready[1], F_DUPFD, 3);
            char number[16];
            std::snprintf(number, sizeof number, "%d", fd);
            setenv("QUILLERY_READY_FD", number, 1);
        }
        std::vector<char*> argv{const_cast<char*>(exe)};
        for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        execv(exe, argv.data());
        _exit(127);
    }
    if (waitReady) close(ready[1]);
    auto since = [&start] {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    };
    double mapped = -1;
    double shown = waitReady ? -1 : 0;
    const int fd = ConnectionNumber(display);
    bool failed = false;
    while ((mapped < 0 || shown < 0) && !failed) {
        if (since() > 20) break;
        if (XPending(display) == 0) {
            pollfd p[2] = {{fd, POLLIN, 0}, {ready[0], POLLIN, 0}};
            poll(p, shown < 0 ? 2 : 1, 50);
            if (shown < 0 && (p[1].revents & (POLLIN | POLLHUP))) {
                char line[16];
                ssize_t n = read(ready[0], line, sizeof line);
                if (n > 0) {
                    shown = since();
                } else if (n == 0) {
                    failed = true;  // the program ended or closed it unsaid
                }
            }
            continue;
        }
        XEvent event;
        XNextEvent(display, &event);
        if (event.type == MapNotify && mapped < 0 && WindowPid(display, event.xmap.window) == pid) {
            mapped = since();
        }
    }
    if (waitReady) close(ready[0]);
    double seconds = (mapped < 0 || shown < 0 || failed) ? -1 : std::max(mapped, shown);
    if (rssKb && seconds >= 0) {
        usleep(static_cast<useconds_t>(idleMs) * 1000);
        *rssKb = ResidentKb(pid);
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    return seconds;
}

struct Fixture {
    Fixture() : display(XOpenDisplay(nullptr)) {
        if (!forum.ok()) return;
        profile = std::make_unique<qtest::ForumProfile>(forum.host(), forum.port());
        // The plain window shows what the program's home view shows.
        ForumBrowser browser;
        browser.ApplySections(ApiClient(ServerEndpoint{forum.host(), forum.port()}).GetSections());
        const RenderedList home = browser.Render();
        sameWindowArgs = {"--stay", std::string(home.label.utf8_str()), std::string(home.status.utf8_str())};
        for (const wxString& row : home.rows) sameWindowArgs.emplace_back(row.utf8_str());
    }
    ~Fixture() {
        if (display) XCloseDisplay(display);
    }
    qtest::LocalForumProcess forum;
    std::unique_ptr<qtest::ForumProfile> profile;
    Display* display;
    std::vector<std::string> sameWindowArgs;
};

Fixture& Shared() {
    static Fixture fixture;
    return fixture;
}

void Measure(benchmark::State& state, const char* exe, bool waitReady, double& mean) {
    Fixture& f = Shared();
    if (!f.display || !f.profile) {
        state.SkipWithError("needs a display and the local forum server");
        return;
    }
    double total = 0;
    int64_t runs = 0;
    for (auto _ : state) {
        double seconds = SecondsUntilShown(f.display, exe, waitReady);
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
    Measure(state, QUILLERY_EXE, true, g_meanQuillery);
}
BENCHMARK(BM_QuilleryUntilHomeView)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);

void BM_BareFrameShown(benchmark::State& state) { Measure(state, BARE_FRAME_EXE, false, g_meanBare); }
BENCHMARK(BM_BareFrameShown)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);

// The three programs in every round, each round starting with the next
// one; the medians of the per-round ratios of start-up time and of idle
// resident memory (read 500 ms after the window shows).
void BM_StartupAgainstBareFrame(benchmark::State& state) {
    Fixture& f = Shared();
    if (!f.display || !f.profile) {
        state.SkipWithError("needs a display and the local forum server");
        return;
    }
    enum { kQuillery, kBare, kSame, kPrograms };
    std::vector<double> times[kPrograms], rss[kPrograms], timeRatios, rssRatios, sameTimeRatios, sameRssRatios;
    int firstInRound = 0;
    for (auto _ : state) {
        double t[kPrograms] = {};
        long kb[kPrograms] = {};
        for (int step = 0; step < kPrograms; ++step) {
            const int which = (firstInRound + step) % kPrograms;
            switch (which) {
            case kQuillery: t[which] = SecondsUntilShown(f.display, QUILLERY_EXE, true, &kb[which]); break;
            case kBare: t[which] = SecondsUntilShown(f.display, BARE_FRAME_EXE, false, &kb[which], {"--stay"}); break;
            default: t[which] = SecondsUntilShown(f.display, SAME_WINDOW_EXE, false, &kb[which], f.sameWindowArgs);
            }
            if (t[which] < 0 || kb[which] <= 0) {
                state.SkipWithError("no window appeared");
                return;
            }
        }
        firstInRound = (firstInRound + 1) % kPrograms;
        for (int i = 0; i < kPrograms; ++i) {
            times[i].push_back(t[i] * 1e3);
            rss[i].push_back(kb[i] / 1024.0);
        }
        timeRatios.push_back(t[kQuillery] / t[kBare]);
        rssRatios.push_back(static_cast<double>(kb[kQuillery]) / static_cast<double>(kb[kBare]));
        sameTimeRatios.push_back(t[kQuillery] / t[kSame]);
        sameRssRatios.push_back(static_cast<double>(kb[kQuillery]) / static_cast<double>(kb[kSame]));
    }
    state.counters["start_ms"] = Median(times[kQuillery]);
    state.counters["bare_ms"] = Median(times[kBare]);
    state.counters["same_window_ms"] = Median(times[kSame]);
    state.counters["start_ratio"] = Median(timeRatios);
    state.counters["start_ratio_same_window"] = Median(sameTimeRatios);
    state.counters["rss_mb"] = Median(rss[kQuillery]);
    state.counters["bare_rss_mb"] = Median(rss[kBare]);
    state.counters["same_window_rss_mb"] = Median(rss[kSame]);
    state.counters["rss_ratio"] = Median(rssRatios);
    state.counters["rss_ratio_same_window"] = Median(sameRssRatios);
}
BENCHMARK(BM_StartupAgainstBareFrame)->Unit(benchmark::kMillisecond)->Iterations(10);

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
