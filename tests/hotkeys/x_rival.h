// Test fixtures for global hotkeys: another X client that grabs key
// combinations, as another program would, and key presses through XTEST.
#pragma once

#include <string>

struct _XDisplay;

namespace qtest {

// Keys are X keysyms (KeySym); Xlib.h stays out of this header because its
// macros clash with GoogleTest's.
class XRivalClient {
public:
    XRivalClient();
    ~XRivalClient();
    XRivalClient(const XRivalClient&) = delete;
    XRivalClient& operator=(const XRivalClient&) = delete;

    bool Ok() const { return display_ != nullptr; }
    // False when the X server refused the grab (someone else holds it).
    bool Grab(unsigned long keysym, unsigned modifiers);
    void Ungrab(unsigned long keysym, unsigned modifiers);

private:
    _XDisplay* display_;
};

// Presses keys through XTEST with xdotool, as a person at the keyboard
// would; true when xdotool succeeded.
bool PressWithXdotool(const std::string& keys);

}  // namespace qtest
