"""The keyboard focus comes back after a box and its dialog close, under a
real window manager (openbox) and without any help from the test: a member
publishes from the composer and answers the notice with Enter, three times;
each time the main window's list has the focus again, for the desktop (the
X focus) and for the screen reader.

Usage: test_focus_return.py PATH_TO_QUILLERY PATH_TO_LOCAL_FORUM
"""
import os
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from atspi_helpers import CheckFailed, Program, find, wait_until, run_checks  # noqa: E402
from forum_atspi import HOME_HINT, LocalForum, name_server, wait_for_rows  # noqa: E402
from test_close_during_wait import start_window_manager  # noqa: E402
from test_drafts import type_new_post  # noqa: E402
from test_personal_center import log_in_automatically  # noqa: E402


def x_focus():
    out = subprocess.run(["xdotool", "getwindowfocus"], capture_output=True, text=True)
    return out.stdout.strip()


def describe(window):
    """What the window with the X focus is, for a failure message."""
    out = subprocess.run(["xwininfo", "-id", window], capture_output=True, text=True)
    line = next((l for l in out.stdout.splitlines() if "xwininfo: Window id" in l), out.stderr.strip())
    return line.replace("xwininfo: Window id: ", "")


def tab_to(app, name, role_name):
    for _ in range(8):
        node = app.focused()
        if node is not None and node.name == name and node.getRoleName() == role_name:
            return
        app.press("Tab")
        time.sleep(0.1)
    raise CheckFailed("Tab never reached %r" % name)


def publish_once(app, main_window, title):
    type_new_post(app, title, "body 正文")
    tab_to(app, "发布", "push button")
    app.press("space")
    wait_until(lambda: find(app.app, role_name="alert", showing_only=True), what="the notice")
    wait_until(lambda: x_focus() != main_window, what="the notice to take the focus")
    time.sleep(0.3)
    app.press("Return")
    try:
        app.wait_for_focus("功能列表", timeout=5)
        wait_until(lambda: x_focus() == main_window, timeout=5, what="the X focus on the main window")
    except CheckFailed as error:
        raise CheckFailed("after publishing %r: %s (X focus on %s, the main window is %s)"
                          % (title, error, describe(x_focus()), main_window))


def main(exe, server_binary):
    manager = start_window_manager()
    try:
        with LocalForum(server_binary) as forum:
            program = Program(exe)
            name_server(program, forum.port)
            log_in_automatically(program, "13800000001", "user123")
            with program as app:
                main_window = app.window_id()
                app.wait_for_focus("功能列表")
                wait_for_rows(app, lambda r: r[:1] == ["个人中心（小澄同学）"], "the logged-in home row")
                for i in range(3):
                    publish_once(app, main_window, "Focus post %d 焦点" % i)
                    app.wait_for_status(HOME_HINT)
    finally:
        manager.terminate()
        manager.wait()
    print("focus return: the list has the focus after each of three publications")
    return 0


if __name__ == "__main__":
    run_checks(main, sys.argv[1], sys.argv[2])
