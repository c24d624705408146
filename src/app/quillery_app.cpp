#include "app/quillery_app.h"

#include "app/main_frame.h"

bool QuilleryApp::OnInit() {
    // The toolkit's configuration defaults follow these names.
    const wxString name = wxString::FromUTF8("澄川论坛");
    SetAppName(name);
    SetAppDisplayName(name);
    SetVendorName(name);
    auto* frame = new MainFrame();
    frame->Show();
    return true;
}
