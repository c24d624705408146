#include "platform/accessibility.h"
#include "platform/accessibility_rules.h"

#include <atk/atk.h>
#include <gtk/gtk.h>
#include <wx/control.h>
#include <wx/frame.h>
#include <wx/stattext.h>
#include <wx/toplevel.h>

namespace a11y {
namespace {

// The hidden label whose "showing" flicker makes Orca speak its name.
const char* const kAnnouncerName = "quillery-announcer";

// The widget that takes the focus and the outer widget, when they differ
// (combo boxes focus their entry, list boxes their tree view inside a
// scrolled window). Screen readers may meet either one.
template <typename Fn>
void ForEachAccessible(wxWindow* control, Fn fn) {
    if (!control) return;
    GtkWidget* outer = control->GetHandle();
    GtkWidget* focused = control->GetConnectWidget();
    if (focused) fn(gtk_widget_get_accessible(focused));
    if (outer && outer != focused) fn(gtk_widget_get_accessible(outer));
}

void HideToggleButtons(GtkWidget* widget, gpointer) {
    if (GTK_IS_TOGGLE_BUTTON(widget)) {
        gtk_widget_set_can_focus(widget, FALSE);
    } else if (GTK_IS_CONTAINER(widget)) {
        gtk_container_forall(GTK_CONTAINER(widget), HideToggleButtons, nullptr);
    }
}

// Controls cannot hold children; panels and top-level windows can.
wxWindow* ContainerFor(wxWindow* near) {
    wxWindow* parent = near;
    while (parent && !parent->IsTopLevel() && parent->IsKindOf(wxCLASSINFO(wxControl))) {
        parent = parent->GetParent();
    }
    if (parent && parent->IsTopLevel() && !parent->GetSizer()) {
        // A top-level window without sizer stretches its lone child over
        // itself; a second child would stop that, so use the child instead.
        for (wxWindow* child : parent->GetChildren()) {
            if (!child->IsKindOf(wxCLASSINFO(wxControl)) && !child->IsTopLevel()) return child;
        }
    }
    return parent;
}

wxWindow* AnnouncerFor(wxWindow* near) {
    wxWindow* top = wxGetTopLevelParent(near);
    if (!top) return nullptr;
    if (wxWindow* found = wxWindow::FindWindowByName(kAnnouncerName, top)) return found;
    wxWindow* parent = ContainerFor(near);
    if (!parent) return nullptr;
    auto* label = new wxStaticText(parent, wxID_ANY, wxString(), wxPoint(0, 0), wxSize(1, 1));
    label->SetName(kAnnouncerName);
    atk_object_set_role(gtk_widget_get_accessible(label->GetHandle()), ATK_ROLE_NOTIFICATION);
    return label;
}

}  // namespace

void SetAccessibleName(wxWindow* control, const wxString& name) {
    // Every window names its controls: the first one installs the rules
    // that hold for all windows (dialog role, message-box names).
    InstallWindowRules();
    wxScopedCharBuffer utf8 = name.utf8_str();
    ForEachAccessible(control, [&](AtkObject* a) { atk_object_set_name(a, utf8.data()); });
}

void SetAccessibleDescription(wxWindow* control, const wxString& description) {
    wxScopedCharBuffer utf8 = description.utf8_str();
    ForEachAccessible(control, [&](AtkObject* a) { atk_object_set_description(a, utf8.data()); });
}

void ExposeNameAndHelp(wxWindow* control) {
    if (!control) return;
    SetAccessibleName(control, control->GetName());
    wxString help = control->GetHelpText();
    if (!help.empty()) SetAccessibleDescription(control, help);
}

void RemoveSilentTabStops(wxWindow* control) {
    if (!control || !control->GetHandle()) return;
    if (GTK_IS_COMBO_BOX(control->GetHandle())) {
        gtk_container_forall(GTK_CONTAINER(control->GetHandle()), HideToggleButtons, nullptr);
    }
}

void Announce(wxWindow* near, const wxString& text) {
    if (!near || text.empty()) return;
    wxScopedCharBuffer utf8 = text.utf8_str();
    // The standard signal, for screen readers that listen to it.
    if (wxWindow* top = wxGetTopLevelParent(near)) {
        g_signal_emit_by_name(gtk_widget_get_accessible(top->GetHandle()), "announcement",
                              utf8.data());
    }
    // Orca 43 ignores that signal but speaks a notification that appears.
    if (wxWindow* announcer = AnnouncerFor(near)) {
        AtkObject* a = gtk_widget_get_accessible(announcer->GetHandle());
        atk_object_set_name(a, utf8.data());
        atk_object_notify_state_change(a, ATK_STATE_SHOWING, FALSE);
        atk_object_notify_state_change(a, ATK_STATE_SHOWING, TRUE);
    }
}

AccessibleStatusBar::AccessibleStatusBar(wxWindow* parent)
    : wxStatusBar(parent, wxID_ANY, wxSTB_DEFAULT_STYLE) {
    atk_object_set_role(gtk_widget_get_accessible(GetHandle()), ATK_ROLE_STATUSBAR);
}

void AccessibleStatusBar::DoUpdateStatusText(int field) {
    wxStatusBar::DoUpdateStatusText(field);
    if (field == 0) SetAccessibleName(this, GetStatusText(0));
}

AccessibleStatusBar* CreateAccessibleStatusBar(wxFrame* frame, int fields) {
    auto* bar = new AccessibleStatusBar(frame);
    bar->SetFieldsCount(fields);
    frame->SetStatusBar(bar);
    return bar;
}

}  // namespace a11y
