// The session side of the main window: it runs the session's calls under
// the busy cursor, shows the login dialog and keeps the home view's first
// row in step with the session.
#include "app/main_frame.h"

#include "account/login_dialog.h"
#include "ui/request_forms.h"
#include "platform/accessibility.h"
#include "ui/message_box.h"

#include <wx/listbox.h>

void MainFrame::RunCall(const std::function<void()>& call) { RunBusy(call); }

void MainFrame::SessionChanged(bool onlyIfHomeShown) {
    SyncForumSession();
    forum.RebuildHome(onlyIfHomeShown);
}

void MainFrame::ShowSessionStatus(const wxString& text, bool announce) {
    SetForumStatus(text);
    if (!announce) return;
    // At start-up the window is not shown yet and nothing could be heard:
    // speak once it is.
    if (IsShown())
        a11y::Announce(mainList, text);
    else
        CallAfter([this, text] { a11y::Announce(mainList, text); });
}

void MainFrame::ShowSessionError(const wxString& caption, const wxString& text) {
    ShowErrorBox(this, caption, text);
}

std::optional<LoginResult> MainFrame::AskForLogin() {
    LoginDialog dialog(this, api);
    if (dialog.ShowModal() != wxID_OK || !dialog.GetLoginResult().ok) return std::nullopt;
    return dialog.GetLoginResult();
}
