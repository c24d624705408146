#include "app/quillery_app.h"

#include "app/main_frame.h"
#include "app/ready_signal.h"

#include <wx/log.h>

void SendToolkitLogToStandardError() {
    delete wxLog::SetActiveTarget(new wxLogStderr);
}

bool QuilleryApp::OnInit() {
    SendToolkitLogToStandardError();
    // The toolkit's configuration defaults follow these names.
    const wxString name = wxString::FromUTF8("澄川论坛");
    SetAppName(name);
    SetAppDisplayName(name);
    SetVendorName(name);
    // The window shows at once; the forum loads with it on screen, so the
    // screen reader can read it (and Escape can stop it) while it waits.
    auto* frame = new MainFrame(false);
    frame->Show();
    frame->CallAfter([frame] {
        frame->LoadFirstView();
        SignalFirstViewShown();
    });
    return true;
}
