// Key presses delivered through GTK's own event path (toplevel window,
// focus widget, the toolkit's key handlers and accelerators), without the
// X keyboard focus, so window tests can run side by side on one display.
#pragma once

#include <gdk/gdk.h>

class wxWindow;

namespace qtest {

// Presses and releases `keyval` (a GDK_KEY_* value) with `modifiers` on the
// window that owns `anyControl`; the GTK focus widget receives it.
void PressKey(wxWindow* anyControl, guint keyval, GdkModifierType modifiers = GdkModifierType(0));

// True when `control` has the keyboard focus inside its own window, asked of
// GTK: the toolkit's FindFocus is empty whenever another test's window
// holds the X focus, which happens when GUI tests run side by side.
bool HasWindowFocus(wxWindow* control);

// Runs the toolkit's pending events and idle work a few times.
void Settle();

}  // namespace qtest
