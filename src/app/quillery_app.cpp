#include "app/quillery_app.h"

#include "settings/settings_store.h"
#include "app/main_frame.h"
#include "app/ready_signal.h"
#include "app/sections_prefetch.h"
#include "platform/termination_signals.h"
#include "ui/focus_return.h"
#include "ui/window_closer.h"

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
    // The home view's sections are asked for while the window is built.
    // When they are here by then, the window shows with the home view;
    // otherwise it shows at once and the forum loads with it on screen, so
    // the screen reader can read it (and Escape can stop it) while it waits.
    auto sections = std::make_unique<SectionsPrefetch>(SettingsStore().LoadServerEndpoint());
    // The focus goes back to where the user was when a dialog closes.
    focus_return::Install();
    auto* frame = new MainFrame(false);
    frame->AdoptSectionsPrefetch(std::move(sections));
    const bool complete = frame->ShowArrivedFirstView();
    frame->Show();
    // A logout (SIGTERM), hang-up or Ctrl+C closes the window as its close
    // box does: settings saved, exit cue, exit status 0.
    platform::OnTerminationSignal([] {
        if (wxWindow* top = wxTheApp->GetTopWindow()) window_closer::RequestClose(top);
    });
    if (complete) SignalFirstViewShown();
    frame->CallAfter([frame] {
        frame->LoadFirstView();
        SignalFirstViewShown();
    });
    return true;
}
