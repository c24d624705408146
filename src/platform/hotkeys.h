// System-wide hotkeys: key combinations that reach the program while other
// programs have the focus or while its window is hidden. On Linux they are
// X11 key grabs (keybinder); callbacks run on the GUI thread.
#pragma once

#include <functional>
#include <set>
#include <string>

class GlobalHotkeys {
public:
    using Callback = std::function<void()>;

    GlobalHotkeys() = default;
    ~GlobalHotkeys();  // releases every combination this object holds
    GlobalHotkeys(const GlobalHotkeys&) = delete;
    GlobalHotkeys& operator=(const GlobalHotkeys&) = delete;

    // True when this session can grab keys globally (the toolkit runs on
    // an X11 display). Needs the toolkit started.
    static bool Available();

    // accelerator: GTK syntax, e.g. "<Ctrl><Shift>Page_Down". False when the
    // syntax is invalid, the combination is already held in this program,
    // or another program holds it. The callback runs on the GUI thread from
    // the main loop, after the key event has been handled, so it may
    // register or release hotkeys itself.
    bool Register(const std::string& accelerator, Callback callback);
    // False when this object does not hold the combination.
    bool Unregister(const std::string& accelerator);
    void UnregisterAll();
    bool IsRegistered(const std::string& accelerator) const;

private:
    std::set<std::string> held_;
};
