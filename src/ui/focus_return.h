// The keyboard focus goes back to where the user was when a dialog or a
// message box closes: to the control that had it when the dialog opened
// (or, when that one is gone, to the opener's window), on the next turn of
// the event loop, once the dialog's own code has finished. The opener's
// window is also presented again: when a box and its dialog close a few
// milliseconds apart, the window manager may otherwise leave the desktop's
// focus on nothing, and keys and the screen reader go nowhere.
#pragma once

class wxWindow;

namespace focus_return {

// Watches every dialog of the program from now on (once, at start-up).
void Install();

// For windows the toolkit does not see open (message boxes): `control`
// had the focus before the box and gets it back after.
void ReturnLater(wxWindow* control);

}  // namespace focus_return
