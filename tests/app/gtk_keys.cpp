#include "app/gtk_keys.h"

#include "platform/window_focus.h"

#include <gtk/gtk.h>
#include <wx/app.h>
#include <wx/utils.h>
#include <wx/window.h>

namespace qtest {
namespace {

void Send(GtkWidget* toplevel, GdkEventType type, guint keyval, GdkModifierType modifiers) {
    GdkWindow* window = gtk_widget_get_window(toplevel);
    GdkDisplay* display = gdk_window_get_display(window);
    GdkEvent* event = gdk_event_new(type);
    event->key.window = GDK_WINDOW(g_object_ref(window));
    event->key.send_event = TRUE;
    event->key.time = GDK_CURRENT_TIME;
    event->key.state = modifiers;
    event->key.keyval = keyval;
    GdkKeymapKey* keys = nullptr;
    gint count = 0;
    if (gdk_keymap_get_entries_for_keyval(gdk_keymap_get_for_display(display), keyval, &keys,
                                          &count) &&
        count > 0) {
        event->key.hardware_keycode = static_cast<guint16>(keys[0].keycode);
        event->key.group = static_cast<guint8>(keys[0].group);
    }
    g_free(keys);
    gdk_event_set_device(event, gdk_seat_get_keyboard(gdk_display_get_default_seat(display)));
    gtk_main_do_event(event);
    gdk_event_free(event);
}

}  // namespace

void PressKey(wxWindow* anyControl, guint keyval, GdkModifierType modifiers) {
    GtkWidget* toplevel = gtk_widget_get_toplevel(anyControl->GetHandle());
    Send(toplevel, GDK_KEY_PRESS, keyval, modifiers);
    Send(toplevel, GDK_KEY_RELEASE, keyval, modifiers);
    Settle();
}

void Settle() {
    for (int i = 0; i < 5; ++i) {
        wxTheApp->ProcessPendingEvents();
        while (gtk_events_pending()) gtk_main_iteration_do(FALSE);
        wxYield();
    }
}

bool HasWindowFocus(wxWindow* control) { return platform::HasFocusInItsWindow(control); }

}  // namespace qtest
