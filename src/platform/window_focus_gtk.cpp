#include "platform/window_focus.h"

#include <gtk/gtk.h>
#include <wx/window.h>

namespace platform {

bool HasFocusInItsWindow(wxWindow* control) {
    if (control == nullptr) return false;
    wxWindow* top = wxGetTopLevelParent(control);
    if (top == nullptr || top->GetHandle() == nullptr || control->GetConnectWidget() == nullptr) return false;
    GtkWidget* focused = gtk_window_get_focus(GTK_WINDOW(top->GetHandle()));
    return focused != nullptr && focused == control->GetConnectWidget();
}

}  // namespace platform
