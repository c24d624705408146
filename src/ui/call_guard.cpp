#include "ui/call_guard.h"

#include <wx/evtloop.h>
#include <wx/window.h>

CallGuard::CallGuard(bool& busy, std::initializer_list<wxWindow*> controls) : busy_(busy), controls_(controls)
{
    busy_ = true;
    focused_ = wxWindow::FindFocus();
    for (wxWindow* control : controls_) control->Disable();
}

CallGuard::~CallGuard()
{
    if (wxEventLoopBase* loop = wxEventLoopBase::GetActive())
        loop->YieldFor(wxEVT_CATEGORY_UI | wxEVT_CATEGORY_USER_INPUT);
    for (wxWindow* control : controls_) control->Enable();
    for (wxWindow* control : controls_) {
        if (control == focused_) control->SetFocus();
    }
    busy_ = false;
}
