#include "hotkeys/x_rival.h"

#include <X11/Xlib.h>

#include <cstdlib>

namespace qtest {
namespace {

bool g_badAccess = false;

int RecordError(Display*, XErrorEvent* e) {
    if (e->error_code == BadAccess) g_badAccess = true;
    return 0;
}

}  // namespace

XRivalClient::XRivalClient() : display_(XOpenDisplay(nullptr)) {}

XRivalClient::~XRivalClient() {
    if (display_) XCloseDisplay(display_);
}

bool XRivalClient::Grab(KeySym key, unsigned modifiers) {
    g_badAccess = false;
    auto old = XSetErrorHandler(RecordError);
    XGrabKey(display_, XKeysymToKeycode(display_, key), modifiers, DefaultRootWindow(display_), True,
             GrabModeAsync, GrabModeAsync);
    XSync(display_, False);
    XSetErrorHandler(old);
    return !g_badAccess;
}

void XRivalClient::Ungrab(KeySym key, unsigned modifiers) {
    XUngrabKey(display_, XKeysymToKeycode(display_, key), modifiers, DefaultRootWindow(display_));
    XSync(display_, False);
}

bool PressWithXdotool(const std::string& keys) {
    std::string command = "xdotool key " + keys;
    return std::system(command.c_str()) == 0;
}

}  // namespace qtest
