#include "ui/window_closer.h"

#include "platform/window_focus.h"

#include <wx/app.h>
#include <wx/dialog.h>
#include <wx/evtloop.h>
#include <wx/timer.h>
#include <wx/toplevel.h>
#include <wx/weakref.h>

#include <vector>

namespace window_closer {
namespace {

struct PendingClose {
    wxWeakRef<wxWindow> window;
    bool force = false;
    // The loop the window is closed from: the main loop for the main
    // window, otherwise the loop that ran when the close was asked for.
    wxEventLoopBase* home = nullptr;
};

struct Wait {
    std::function<void()> cancel;
    // The loop that ran when the wait started.
    wxEventLoopBase* outside = nullptr;
};

std::vector<PendingClose> gPending;
std::vector<Wait> gWaits;
int gBoxes = 0;

bool IsMainWindow(wxWindow* window) { return window && window == wxTheApp->GetTopWindow(); }

// The innermost modal dialog that is shown, if any.
wxDialog* InnermostModalDialog() {
    for (auto it = wxTopLevelWindows.rbegin(); it != wxTopLevelWindows.rend(); ++it) {
        auto* dialog = dynamic_cast<wxDialog*>(*it);
        if (dialog && dialog->IsModal()) return dialog;
    }
    return nullptr;
}

// Runs the pending closes whose time has come; polled, because the loop to
// close from may be several dialogs away.
class Runner : public wxTimer {
public:
    void Notify() override {
        if (!gWaits.empty()) return;
        if (gBoxes > 0) {
            // The main window is closed only when nothing is on screen
            // above it: a box still open is answered by its close box.
            for (const PendingClose& entry : gPending) {
                if (IsMainWindow(entry.window.get())) platform::EndMessageBoxes();
            }
            return;
        }
        wxEventLoopBase* active = wxEventLoopBase::GetActive();
        for (size_t i = 0; i < gPending.size(); ++i) {
            PendingClose entry = gPending[i];
            wxWindow* window = entry.window.get();
            // Gone, or a dialog that ended another way meanwhile.
            if (!window || (!IsMainWindow(window) && !window->IsShown())) {
                gPending.erase(gPending.begin() + i);
                --i;
                continue;
            }
            if (IsMainWindow(window)) {
                // Dialogs still open above the main window go first.
                if (wxDialog* dialog = InnermostModalDialog()) {
                    dialog->EndModal(wxID_CANCEL);
                    return;
                }
            }
            if (active != entry.home) continue;
            gPending.erase(gPending.begin() + i);
            window->Close(entry.force);
            // The close may have started something new; look again later.
            break;
        }
        if (gPending.empty()) Stop();
    }
};

// Never destroyed: a timer must not outlive the toolkit at exit.
Runner& TheRunner() {
    static Runner* runner = new Runner;
    return *runner;
}

}  // namespace

void RequestClose(wxWindow* window, bool force) {
    if (!window || !wxTheApp) return;
    for (const PendingClose& entry : gPending) {
        if (entry.window.get() == window) return;
    }
    PendingClose entry;
    entry.window = window;
    entry.force = force;
    if (IsMainWindow(window)) {
        entry.home = wxTheApp->GetMainLoop();
    } else if (!gWaits.empty()) {
        entry.home = gWaits.front().outside;
    } else {
        entry.home = wxEventLoopBase::GetActive();
    }
    gPending.push_back(entry);
    for (const Wait& wait : gWaits) wait.cancel();
    if (!TheRunner().IsRunning()) TheRunner().Start(20);
}

bool ClosePending() { return !gPending.empty(); }

void WaitStarted(const std::function<void()>& cancel) {
    gWaits.push_back({cancel, wxEventLoopBase::GetActive()});
    // A close that arrived just before this call started stops it too.
    if (!gPending.empty()) cancel();
}

void WaitEnded() {
    if (!gWaits.empty()) gWaits.pop_back();
}

BoxShown::BoxShown() { ++gBoxes; }
BoxShown::~BoxShown() { --gBoxes; }

}  // namespace window_closer
