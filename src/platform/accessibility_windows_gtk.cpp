// Dialog roles and message-box names. wxGTK builds a wxDialog from a plain
// GtkWindow, which ATK reports as a frame, and a wxMessageDialog from a
// GtkMessageDialog, which names itself by its type ("Error", "Question")
// instead of its title. Both are mended when the window is mapped, so the
// screen reader finds the right role and name before it presents it.
#include "platform/accessibility.h"
#include "platform/accessibility_rules.h"

#include <atk/atk.h>
#include <gtk/gtk.h>
#include <wx/toplevel.h>

namespace a11y {
namespace {

void NameByTitle(GtkWindow* window, AtkObject* accessible) {
    const char* title = gtk_window_get_title(window);
    if (title && *title) atk_object_set_name(accessible, title);
}

gboolean OnWindowMapped(GSignalInvocationHint*, guint count, const GValue* values, gpointer) {
    if (count < 1 || !G_VALUE_HOLDS_OBJECT(&values[0])) return TRUE;
    auto* object = static_cast<GObject*>(g_value_get_object(&values[0]));
    if (!GTK_IS_WINDOW(object)) return TRUE;
    GtkWindow* window = GTK_WINDOW(object);
    AtkObject* accessible = gtk_widget_get_accessible(GTK_WIDGET(window));
    if (!accessible) return TRUE;
    if (GTK_IS_MESSAGE_DIALOG(window)) {
        NameByTitle(window, accessible);
    } else if (gtk_window_get_type_hint(window) == GDK_WINDOW_TYPE_HINT_DIALOG &&
               atk_object_get_role(accessible) == ATK_ROLE_FRAME) {
        // wxDialog, wxTextEntryDialog and the like: a dialog, not a frame.
        atk_object_set_role(accessible, ATK_ROLE_DIALOG);
    }
    return TRUE;  // stay installed
}

}  // namespace

void InstallWindowRules() {
    static const bool installed = [] {
        guint map = g_signal_lookup("map", GTK_TYPE_WIDGET);
        if (map == 0) return false;
        g_signal_add_emission_hook(map, 0, OnWindowMapped, nullptr, nullptr);
        RepairEntryRuns();
        return true;
    }();
    (void)installed;
}

void ExposeAsDialog(wxTopLevelWindow* dialog) {
    InstallWindowRules();
    if (!dialog || !dialog->GetHandle()) return;
    atk_object_set_role(gtk_widget_get_accessible(dialog->GetHandle()), ATK_ROLE_DIALOG);
}

void NameMessageBoxesByCaption() { InstallWindowRules(); }

}  // namespace a11y
