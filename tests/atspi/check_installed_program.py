"""The installed program, started as a desktop starts it: against the
installed local forum, headless, it shows the main window with the home
view's rows (the ready line, then the rows read through AT-SPI), and a
close request from the desktop ends it with exit status 0.

Usage: check_installed_program.py PATH_TO_QUILLERY PATH_TO_LOCAL_FORUM
Runs inside scripts/with-display.
"""
import ctypes
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from atspi_helpers import Program, check, run_checks, wait_until  # noqa: E402
from forum_atspi import HOME_HINT, LocalForum, name_server, rows  # noqa: E402
from test_ready_signal import FUNCTIONS, read_ready  # noqa: E402

CLIENT_MESSAGE = 33


class ClientMessage(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("window", ctypes.c_ulong),
                ("message_type", ctypes.c_ulong), ("format", ctypes.c_int),
                ("data", ctypes.c_long * 5)]


class XEvent(ctypes.Union):
    _fields_ = [("client", ClientMessage), ("pad", ctypes.c_long * 24)]


def ask_window_to_close(window):
    """What a window manager's close button does: WM_DELETE_WINDOW sent to
    the window (no window manager runs under scripts/with-display)."""
    x = ctypes.CDLL("libX11.so.6")
    x.XOpenDisplay.restype = ctypes.c_void_p
    x.XOpenDisplay.argtypes = [ctypes.c_char_p]
    x.XInternAtom.restype = ctypes.c_ulong
    x.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
    x.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long,
                             ctypes.POINTER(XEvent)]
    x.XFlush.argtypes = [ctypes.c_void_p]
    x.XCloseDisplay.argtypes = [ctypes.c_void_p]
    display = x.XOpenDisplay(None)
    check(display, "cannot open the X display")
    event = XEvent()
    event.client.type = CLIENT_MESSAGE
    event.client.window = window
    event.client.message_type = x.XInternAtom(display, b"WM_PROTOCOLS", 0)
    event.client.format = 32
    event.client.data[0] = x.XInternAtom(display, b"WM_DELETE_WINDOW", 0)
    event.client.data[1] = 0  # CurrentTime
    check(x.XSendEvent(display, window, 0, 0, ctypes.byref(event)), "XSendEvent failed")
    x.XFlush(display)
    x.XCloseDisplay(display)


def main(exe, server_binary):
    with LocalForum(server_binary) as forum:
        read_end, write_end = os.pipe()
        program = Program(exe, env={"QUILLERY_READY_FD": str(write_end)}, pass_fds=(write_end,))
        name_server(program, forum.port)
        with program as app:
            os.close(write_end)
            check(read_ready(read_end, 60) == b"ready\n", "no ready line from the installed program")
            os.close(read_end)
            shown = rows(app)
            check(shown[:6] == FUNCTIONS, "the home view reads %r" % shown[:8])
            check(len(shown) > 6, "no section rows after the functions: %r" % shown)
            check(app.status_text() == HOME_HINT, "status %r" % app.status_text())
            check(forum.count("/api/section") >= 1, "the installed local forum was never asked")
            print("home view: %s" % " | ".join(shown))
            ask_window_to_close(int(app.window_id()))
            wait_until(lambda: app.process.poll() is not None, 30, "the program to end after closing")
            check(app.process.returncode == 0, "exit status %s after closing" % app.process.returncode)
    print("installed program checks passed")


if __name__ == "__main__":
    run_checks(main, sys.argv[1], sys.argv[2])
