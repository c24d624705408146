// Closing a window only where closing it is safe. A close asked for while
// a server call is awaited (the close box, Alt+F4, the media controls'
// Quit, a logout signal) must not destroy the window under the code that
// waits: the call is cancelled as Escape does, and the close runs once the
// call has returned and the event loop that the window lives in turns
// again, with nothing of the window's left on the stack. The main window
// is closed from the program's main loop only; message boxes and modal
// dialogs still open above it are ended (as if cancelled) first, innermost
// first.
#pragma once

#include <functional>

class wxWindow;

namespace window_closer {

// Closes `window` as described above (now when nothing is waited for, on a
// later turn of the loop otherwise). `force` as in wxWindow::Close.
void RequestClose(wxWindow* window, bool force = false);

// A close waits to be run; message boxes are skipped meanwhile, so a
// cancelled call's failure box does not hold the close up.
bool ClosePending();

// The responsive wait tells the closer when calls start and end: `cancel`
// stops the call it was given for. The innermost wait registers last.
void WaitStarted(const std::function<void()>& cancel);
void WaitEnded();

// Lives while a message box is shown: boxes run a loop of their own that
// the closer cannot see, and nothing is closed under them.
class BoxShown {
public:
    BoxShown();
    ~BoxShown();
    BoxShown(const BoxShown&) = delete;
    BoxShown& operator=(const BoxShown&) = delete;
};

}  // namespace window_closer
