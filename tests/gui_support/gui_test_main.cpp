// Test entry point for tests that create real windows: the toolkit is
// started once for the whole binary, then GoogleTest runs.
#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/init.h>
#include <wx/log.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

// Windows keep drafts of what tests type in them (in the data folder): the
// data folder is a throwaway one, and each test starts without drafts, so
// no window of a later test asks to restore one.
class FreshDrafts : public ::testing::EmptyTestEventListener {
public:
    explicit FreshDrafts(std::string dataFolder) : drafts_(std::move(dataFolder) + "/澄川论坛/drafts") {}
    void OnTestStart(const ::testing::TestInfo&) override { Clear(); }
    void OnTestEnd(const ::testing::TestInfo&) override { Clear(); }

private:
    void Clear() {
        std::error_code ignored;
        std::filesystem::remove_all(drafts_, ignored);
    }
    std::string drafts_;
};

}  // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    // Listing tests needs no display.
    for (int i = 1; i < argc; ++i) {
        if (std::string(argv[i]).rfind("--gtest_list_tests", 0) == 0) return RUN_ALL_TESTS();
    }
    setenv("GDK_BACKEND", "x11", 1);
    char data[] = "/tmp/quillery-gui-data-XXXXXX";
    if (mkdtemp(data)) {
        setenv("XDG_DATA_HOME", data, 1);
        ::testing::UnitTest::GetInstance()->listeners().Append(new FreshDrafts(data));
    }
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
    std::error_code ignored;
    std::filesystem::remove_all(data, ignored);
    return rc;
}
