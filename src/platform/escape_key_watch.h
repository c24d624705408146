// Escape pressed anywhere in the program. A key pressed while no control
// of the active window holds the keyboard focus reaches no control, and the
// toolkit makes no event of it; this watch sees it before the toolkit does.
#pragma once

#include <functional>

namespace platform {

class EscapeKeyWatch {
public:
    // While the watch lives, `onEscape` runs (on the UI thread) for every
    // Escape pressed in a window of the program; the key then goes on to
    // its window as usual. Watches nest; the innermost one is called.
    explicit EscapeKeyWatch(std::function<void()> onEscape);
    ~EscapeKeyWatch();
    EscapeKeyWatch(const EscapeKeyWatch&) = delete;
    EscapeKeyWatch& operator=(const EscapeKeyWatch&) = delete;
};

}  // namespace platform
