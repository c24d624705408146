// Test entry point for tests that create real windows: the toolkit is
// started once for the whole binary, then GoogleTest runs.
#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/init.h>
#include <wx/log.h>

#include <cstdio>
#include <cstdlib>
#include <string>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    // Listing tests needs no display.
    for (int i = 1; i < argc; ++i) {
        if (std::string(argv[i]).rfind("--gtest_list_tests", 0) == 0) return RUN_ALL_TESTS();
    }
    setenv("GDK_BACKEND", "x11", 1);
    wxDisableAsserts();
    wxLog::SetLogLevel(5);
    // The toolkit's messages go to the error stream, never to a message box
    // that would stop the test, so a refusal to start says why.
    delete wxLog::SetActiveTarget(new wxLogStderr());
    wxApp::SetInstance(new wxApp());
    int wxArgc = 1;
    char* wxArgv[] = {argv[0], nullptr};
    if (!wxEntryStart(wxArgc, wxArgv)) {
        fprintf(stderr, "cannot start the toolkit\n");
        return 1;
    }
    if (!wxTheApp->CallOnInit()) {
        fprintf(stderr, "the toolkit's application did not initialise\n");
        return 1;
    }
    int rc = RUN_ALL_TESTS();
    wxTheApp->OnExit();
    wxEntryCleanup();
    return rc;
}
