// Test entry point for tests that create real windows: the toolkit is
// started once for the whole binary, then GoogleTest runs.
#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/init.h>
#include <wx/log.h>

#include <X11/Xlib.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

// A display that is briefly refusing connections (e.g. busy accepting
// others) is waited for rather than failing the whole binary at once.
bool WaitForDisplay() {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    do {
        if (Display* d = XOpenDisplay(nullptr)) {
            XCloseDisplay(d);
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    } while (std::chrono::steady_clock::now() < deadline);
    return false;
}

}  // namespace

// The toolkit sometimes refuses to start while other window tests come and
// go on the shared display; the binary then starts again, a few times.
void RestartAfterFailedStart(const std::vector<std::string>& args) {
    const char* tries = getenv("QTEST_GUI_START_TRIES");
    int done = tries ? atoi(tries) : 0;
    if (done >= 3) return;
    setenv("QTEST_GUI_START_TRIES", std::to_string(done + 1).c_str(), 1);
    std::vector<char*> argv;
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    execv("/proc/self/exe", argv.data());
}

int main(int argc, char** argv) {
    const std::vector<std::string> originalArgs(argv, argv + argc);
    ::testing::InitGoogleTest(&argc, argv);
    // Listing tests needs no display.
    for (int i = 1; i < argc; ++i) {
        if (std::string(argv[i]).rfind("--gtest_list_tests", 0) == 0) return RUN_ALL_TESTS();
    }
    setenv("GDK_BACKEND", "x11", 1);
    wxDisableAsserts();
    wxLog::SetLogLevel(5);
    if (!WaitForDisplay()) {
        fprintf(stderr, "cannot open the X display (is DISPLAY set?)\n");
        return 1;
    }
    wxApp::SetInstance(new wxApp());
    int wxArgc = 1;
    char* wxArgv[] = {argv[0], nullptr};
    if (!wxEntryStart(wxArgc, wxArgv)) {
        fprintf(stderr, "cannot start the toolkit\n");
        RestartAfterFailedStart(originalArgs);
        return 1;
    }
    if (!wxTheApp->CallOnInit()) {
        fprintf(stderr, "the toolkit's application did not initialise\n");
        RestartAfterFailedStart(originalArgs);
        return 1;
    }
    int rc = RUN_ALL_TESTS();
    wxTheApp->OnExit();
    wxEntryCleanup();
    return rc;
}
