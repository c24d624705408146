#include "ui/focus_return.h"

#include "platform/window_focus.h"

#include <wx/app.h>
#include <wx/dialog.h>
#include <wx/timer.h>
#include <wx/toplevel.h>
#include <wx/weakref.h>

#include <map>
#include <vector>

namespace focus_return {
namespace {

// A dialog other than `top` and the dialogs below it is open: the user
// went on to it, and it keeps the focus.
bool AnotherDialogOpen(wxWindow* top) {
    for (wxWindow* window : wxTopLevelWindows) {
        auto* dialog = dynamic_cast<wxDialog*>(window);
        if (!dialog || dialog == top || !dialog->IsModal()) continue;
        bool below = false;
        for (wxWindow* w = top->GetParent(); w && !below; w = w->GetParent()) below = wxGetTopLevelParent(w) == dialog;
        if (!below) return true;
    }
    return false;
}

void Return(wxWindow* control, wxWindow* top) {
    if (!top || !top->IsShown() || !top->IsEnabled() || AnotherDialogOpen(top)) return;
    // The window manager is asked to activate the window again.
    top->Raise();
    // The focus the program itself moved meanwhile stays where it is.
    if (platform::WindowHasFocusedControl(top)) return;
    if (control && control->IsShownOnScreen() && control->IsEnabled()) control->SetFocus();
    else top->SetFocus();
}

// The returns asked for, run on the next turn of whatever loop runs: a
// timer, not a queued call, since queued calls wait out a server call that
// may start right after the dialog closed.
class Returns : public wxTimer {
public:
    void Add(wxWindow* control, wxWindow* top) {
        pending_.push_back({control, top});
        if (!IsRunning()) StartOnce(1);
    }
    void Notify() override {
        std::vector<Entry> now;
        now.swap(pending_);
        for (Entry& entry : now) Return(entry.control.get(), entry.top.get());
    }

private:
    struct Entry {
        wxWeakRef<wxWindow> control;
        wxWeakRef<wxWindow> top;
    };
    std::vector<Entry> pending_;
};

void Schedule(wxWindow* control, wxWindow* top) {
    if (!wxTheApp || !top) return;
    // Never destroyed: a timer must not outlive the toolkit at exit.
    static Returns* returns = new Returns;
    returns->Add(control, top);
}

class DialogWatch : public wxEventFilter {
public:
    int FilterEvent(wxEvent& event) override {
        if (event.GetEventType() != wxEVT_SHOW) return Event_Skip;
        auto* dialog = dynamic_cast<wxDialog*>(event.GetEventObject());
        if (!dialog) return Event_Skip;
        if (static_cast<wxShowEvent&>(event).IsShown()) {
            // The focus is still with the opener while the dialog appears.
            wxWindow* focus = wxWindow::FindFocus();
            if (focus && wxGetTopLevelParent(focus) == dialog) focus = nullptr;
            openers_[dialog] = Opener{focus, dialog->GetParent() ? wxGetTopLevelParent(dialog->GetParent()) : nullptr};
        } else {
            auto found = openers_.find(dialog);
            if (found != openers_.end()) {
                Schedule(found->second.control.get(), found->second.top.get());
                openers_.erase(found);
            }
        }
        return Event_Skip;
    }

private:
    struct Opener {
        wxWeakRef<wxWindow> control;
        wxWeakRef<wxWindow> top;
    };
    // Keyed by address only; a dialog destroyed while shown leaves a stale
    // entry that the next dialog at that address overwrites.
    std::map<wxDialog*, Opener> openers_;
};

}  // namespace

void Install() {
    // Lives as long as the program; the toolkit keeps a pointer to it.
    static DialogWatch* watch = nullptr;
    if (watch) return;
    watch = new DialogWatch;
    wxEvtHandler::AddFilter(watch);
}

void ReturnLater(wxWindow* control) {
    if (control) Schedule(control, wxGetTopLevelParent(control));
}

}  // namespace focus_return
