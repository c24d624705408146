// The application object: names the program and opens the main window.
#pragma once

#include <wx/app.h>

class QuilleryApp : public wxApp {
public:
    bool OnInit() override;
};

wxDECLARE_APP(QuilleryApp);

// The toolkit's own log messages (a settings line it cannot parse, a file
// it cannot open) go to the standard error stream. Every failure the user
// must know of already has its own Chinese message box; an English toolkit
// box on top of it would only be one more window to dismiss.
void SendToolkitLogToStandardError();
