// The yardstick for the start-up benchmark: a bare toolkit frame that shows
// and exits, nothing loaded behind it. With --stay it stays open, for the
// idle-memory figure.
#include <wx/app.h>
#include <wx/frame.h>

class BareApp : public wxApp {
public:
    bool OnInit() override {
        auto* frame = new wxFrame(nullptr, wxID_ANY, wxS("bare"), wxDefaultPosition, wxSize(760, 620));
        frame->Show();
        if (argc < 2 || wxString(argv[1]) != "--stay") CallAfter([frame] { frame->Destroy(); });
        return true;
    }
};

wxIMPLEMENT_APP(BareApp);
