#include "app/quillery_app.h"

#include "app/main_frame.h"

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
    auto* frame = new MainFrame();
    frame->Show();
    return true;
}
