#include "platform/hotkeys.h"

#include <gdk/gdk.h>
#include <gdk/gdkx.h>
#include <gtk/gtk.h>
#include <keybinder.h>

#include <map>
#include <memory>

namespace {

// Every combination this program holds, whichever object registered it.
// Callbacks are looked up by a serial number when they are due, so a
// combination released in the meantime is simply not called.
struct Binding {
    unsigned long serial;
    GlobalHotkeys::Callback callback;
};

std::map<std::string, Binding>& Bindings()
{
    static std::map<std::string, Binding> bindings;
    return bindings;
}

unsigned long g_nextSerial = 1;

struct DueCall {
    std::string accelerator;
    unsigned long serial;
};

gboolean RunDueCall(gpointer data)
{
    std::unique_ptr<DueCall> due(static_cast<DueCall*>(data));
    auto it = Bindings().find(due->accelerator);
    if (it != Bindings().end() && it->second.serial == due->serial && it->second.callback) {
        GlobalHotkeys::Callback callback = it->second.callback;  // the binding may go away inside
        callback();
    }
    return G_SOURCE_REMOVE;
}

// keybinder walks its own binding list while calling handlers, so nothing
// that changes that list may run here: the call is queued on the main loop.
void OnKey(const char* keystring, void* data)
{
    auto serial = static_cast<unsigned long>(reinterpret_cast<uintptr_t>(data));
    g_idle_add(RunDueCall, new DueCall{keystring, serial});
}

bool EnsureKeybinder()
{
    static bool ready = false;
    if (ready) return true;
    if (!GlobalHotkeys::Available()) return false;
    keybinder_init();
    // Cooked accelerators resolve the shifted key ("<Ctrl><Shift>z" as "Z")
    // and then never fire for Shift combinations: use the raw keys.
    keybinder_set_use_cooked_accelerators(FALSE);
    ready = true;
    return true;
}

bool ValidAccelerator(const std::string& accelerator)
{
    guint key = 0;
    GdkModifierType mods = static_cast<GdkModifierType>(0);
    gtk_accelerator_parse(accelerator.c_str(), &key, &mods);
    return key != 0;
}

}  // namespace

GlobalHotkeys::~GlobalHotkeys()
{
    UnregisterAll();
}

bool GlobalHotkeys::Available()
{
    GdkDisplay* display = gdk_display_get_default();
    return display && GDK_IS_X11_DISPLAY(display);
}

bool GlobalHotkeys::Register(const std::string& accelerator, Callback callback)
{
    if (!EnsureKeybinder() || !ValidAccelerator(accelerator)) return false;
    if (Bindings().count(accelerator)) return false;
    unsigned long serial = g_nextSerial++;
    void* data = reinterpret_cast<void*>(static_cast<uintptr_t>(serial));
    if (!keybinder_bind(accelerator.c_str(), OnKey, data)) return false;
    Bindings()[accelerator] = Binding{serial, std::move(callback)};
    held_.insert(accelerator);
    return true;
}

bool GlobalHotkeys::Unregister(const std::string& accelerator)
{
    if (!held_.count(accelerator)) return false;
    keybinder_unbind(accelerator.c_str(), OnKey);
    Bindings().erase(accelerator);
    held_.erase(accelerator);
    return true;
}

void GlobalHotkeys::UnregisterAll()
{
    while (!held_.empty()) {
        std::string accelerator = *held_.begin();  // a copy: Unregister erases the element
        Unregister(accelerator);
    }
}

bool GlobalHotkeys::IsRegistered(const std::string& accelerator) const
{
    return held_.count(accelerator) != 0;
}
