// A server call made from a dialog's button. The call blocks the UI thread,
// so keys and clicks pressed meanwhile wait in the toolkit's queue; handled
// only after the buttons come back, they would start the call a second
// time (a second SMS, a second login). The guard therefore handles that
// queued input while the buttons are still disabled and `busy` still set,
// which drops it, and only then enables the buttons again. The button that
// has the keyboard focus is left enabled, so the focus stays with it.
#pragma once

#include <initializer_list>
#include <vector>

class wxWindow;

class CallGuard {
public:
    CallGuard(bool& busy, std::initializer_list<wxWindow*> controls);
    ~CallGuard();
    CallGuard(const CallGuard&) = delete;
    CallGuard& operator=(const CallGuard&) = delete;

private:
    bool& busy_;
    std::vector<wxWindow*> controls_;
};
