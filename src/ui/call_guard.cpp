#include "ui/call_guard.h"

#include "platform/window_focus.h"

#include <wx/evtloop.h>
#include <wx/window.h>

CallGuard::CallGuard(bool& busy, std::initializer_list<wxWindow*> controls) : busy_(busy), controls_(controls)
{
    busy_ = true;
    // The focused control stays enabled: disabled, it would lose the
    // keyboard focus to nothing, and Escape would reach no window to cancel
    // the call with. What it would start again is dropped meanwhile by the
    // wait and by `busy`. The window is asked, not the desktop: just after a
    // file chooser or a prompt closed, the dialog may not be active yet,
    // and its focused button must not be disabled then either.
    for (wxWindow* control : controls_) {
        if (control == wxWindow::FindFocus() || platform::HasFocusInItsWindow(control)) continue;
        control->Disable();
    }
}

CallGuard::~CallGuard()
{
    if (wxEventLoopBase* loop = wxEventLoopBase::GetActive())
        loop->YieldFor(wxEVT_CATEGORY_UI | wxEVT_CATEGORY_USER_INPUT);
    for (wxWindow* control : controls_) control->Enable();
    busy_ = false;
}
