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

bool WindowHasFocusedControl(wxWindow* top) {
    if (top == nullptr || top->GetHandle() == nullptr || !GTK_IS_WINDOW(top->GetHandle())) return false;
    return gtk_window_get_focus(GTK_WINDOW(top->GetHandle())) != nullptr;
}

}  // namespace platform

namespace platform {

void EndMessageBoxes() {
    GList* windows = gtk_window_list_toplevels();
    for (GList* item = windows; item; item = item->next) {
        GtkWidget* window = GTK_WIDGET(item->data);
        if (GTK_IS_MESSAGE_DIALOG(window) && gtk_widget_get_visible(window))
            gtk_dialog_response(GTK_DIALOG(window), GTK_RESPONSE_DELETE_EVENT);
    }
    g_list_free(windows);
}

}  // namespace platform
