// The application object: names the program and opens the main window.
#pragma once

#include <wx/app.h>

class QuilleryApp : public wxApp {
public:
    bool OnInit() override;
};

wxDECLARE_APP(QuilleryApp);
