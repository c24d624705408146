// Program entry: quiet toolkit, then the main loop with QuilleryApp.
#include "app/command_line.h"
#include "app/quillery_app.h"

#include <wx/log.h>

#include <cstdlib>

wxIMPLEMENT_APP_NO_MAIN(QuilleryApp);

int main(int argc, char** argv) {
    // --help, --version and a mistyped option open no window.
    if (std::optional<int> status = AnswerCommandLine(argc, argv)) return *status;
    // Global hotkeys need X11 key grabs, so GTK must not pick Wayland.
    // A backend chosen by the user is kept.
    setenv("GDK_BACKEND", "x11", 0);
    wxDisableAsserts();
    wxLog::SetLogLevel(5);
    return wxEntry(argc, argv);
}
