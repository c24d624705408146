// Which control has the keyboard focus inside its own window.
//
// The toolkit's FindFocus follows the desktop's focus: it is empty while
// another program's window is active, e.g. just after a global hotkey or
// when keys are delivered to a window that is not the active one. Asking
// the window itself gives the answer that matters for moving the focus
// between its own controls.
#pragma once

class wxWindow;

namespace platform {

bool HasFocusInItsWindow(wxWindow* control);
// Some control of the top-level window `top` is its focused one.
bool WindowHasFocusedControl(wxWindow* top);

}  // namespace platform

namespace platform {

// Ends every message box on screen as its close box would (they run a
// loop of their own, outside the toolkit's dialogs); for a program that
// must close now, as at a logout.
void EndMessageBoxes();

}  // namespace platform
