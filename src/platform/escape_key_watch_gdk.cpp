#include "platform/escape_key_watch.h"

#include <gtk/gtk.h>

#include <vector>

namespace platform {
namespace {

std::vector<std::function<void()>> gWatches;

void SeeEvent(GdkEvent* event, gpointer) {
    if (event->type == GDK_KEY_PRESS && event->key.keyval == GDK_KEY_Escape && !gWatches.empty()) {
        // A copy: the call may end the watch.
        std::function<void()> onEscape = gWatches.back();
        onEscape();
    }
    gtk_main_do_event(event);
}

void PassOn(GdkEvent* event, gpointer) { gtk_main_do_event(event); }

}  // namespace

EscapeKeyWatch::EscapeKeyWatch(std::function<void()> onEscape) {
    gWatches.push_back(std::move(onEscape));
    gdk_event_handler_set(SeeEvent, nullptr, nullptr);
}

EscapeKeyWatch::~EscapeKeyWatch() {
    gWatches.pop_back();
    // GTK's own handler back, as gtk_init installed it.
    if (gWatches.empty()) gdk_event_handler_set(PassOn, nullptr, nullptr);
}

}  // namespace platform
