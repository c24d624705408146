"""Driving the real program the way a screen reader sees it.

Start the program with a throwaway profile, find its accessible objects by
name and role, follow the focus, read the status bar and press keys. Runs
inside scripts/with-display (private D-Bus session and Xvfb, no window
manager), with /usr/bin/python3, which has pyatspi.

    with Program(exe) as app:
        app.focus_window()
        app.wait_for_focus("功能列表")
        app.press("alt+s")
        app.wait_for_focus("功能分类")
        assert app.status_text() == "..."
"""
import os
import sys
import shutil
import subprocess
import tempfile
import time

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import GLib  # noqa: E402
import pyatspi  # noqa: E402

DEFAULT_TIMEOUT = 10.0


class CheckFailed(AssertionError):
    pass


def check(condition, message):
    if not condition:
        raise CheckFailed(message)


def stop_process(process, grace=5):
    """Ends a child that still runs: politely first, then for certain."""
    if process is None or process.poll() is not None:
        return
    process.terminate()
    try:
        process.wait(grace)
    except subprocess.TimeoutExpired:
        process.kill()
        process.wait()


def pump():
    """Lets pending AT-SPI traffic through."""
    context = GLib.MainContext.default()
    while context.pending():
        context.iteration(False)


def wait_until(predicate, timeout=DEFAULT_TIMEOUT, what="condition"):
    """Polls `predicate` until it returns something true; returns that."""
    deadline = time.monotonic() + timeout
    last_error = None
    while time.monotonic() < deadline:
        pump()
        try:
            value = predicate()
            if value:
                return value
        except Exception as error:  # the tree changes while we read it
            last_error = error
        time.sleep(0.05)
    raise CheckFailed("timed out waiting for %s%s" % (
        what, " (last error: %s)" % last_error if last_error else ""))


def descendants(node, depth=0, max_depth=40):
    """Every accessible below `node`, depth first."""
    if node is None or depth > max_depth:
        return
    try:
        count = node.childCount
    except Exception:
        return
    for i in range(count):
        try:
            child = node.getChildAtIndex(i)
        except Exception:
            continue
        if child is None:
            continue
        yield child
        yield from descendants(child, depth + 1, max_depth)


def role(node):
    return node.getRoleName()


def spoken_name(node):
    """The name a screen reader gives `node`: its own, or for the unnamed
    text field of a combo box, the combo box's."""
    name = node.name
    if not name and role(node) == "text":
        parent = node.parent
        if parent is not None and role(parent) == "combo box":
            return parent.name
    return name


def find(root, name=None, role_name=None, showing_only=False):
    """The first accessible below `root` with this name and/or role name."""
    for node in descendants(root):
        try:
            if name is not None and node.name != name:
                continue
            if role_name is not None and role(node) != role_name:
                continue
            if showing_only and not node.getState().contains(pyatspi.STATE_SHOWING):
                continue
            return node
        except Exception:
            continue
    return None


class Program:
    """The program under test, started with its own HOME and XDG folders."""

    def __init__(self, exe, args=(), env=None, keep_profile=False, pass_fds=()):
        self.exe = exe
        self.args = list(args)
        self.pass_fds = tuple(pass_fds)
        self.profile = tempfile.mkdtemp(prefix="quillery-atspi-")
        self.keep_profile = keep_profile
        self.env = dict(os.environ)
        for var, sub in (("HOME", "home"), ("XDG_DATA_HOME", "data"),
                         ("XDG_CONFIG_HOME", "config"), ("XDG_CACHE_HOME", "cache")):
            path = os.path.join(self.profile, sub)
            os.makedirs(path, exist_ok=True)
            self.env[var] = path
        self.env.pop("NO_AT_BRIDGE", None)
        self.env["GDK_BACKEND"] = "x11"
        if env:
            self.env.update(env)
        self.process = None
        self.app = None

    # -- lifetime --------------------------------------------------------
    def start(self):
        self.process = subprocess.Popen([self.exe] + self.args, env=self.env, pass_fds=self.pass_fds)
        self.app = wait_until(self._find_app, what="the program in the AT-SPI tree")
        return self

    def _find_app(self):
        if self.process.poll() is not None:
            raise CheckFailed("the program exited with %s" % self.process.returncode)
        desktop = pyatspi.Registry.getDesktop(0)
        for i in range(desktop.childCount):
            app = desktop.getChildAtIndex(i)
            try:
                if app is not None and app.get_process_id() == self.process.pid \
                        and app.childCount > 0:
                    return app
            except Exception:
                continue
        return None

    def stop(self):
        stop_process(self.process)
        if not self.keep_profile:
            shutil.rmtree(self.profile, ignore_errors=True)

    def __enter__(self):
        return self.start()

    def __exit__(self, *exc):
        self.stop()
        return False

    # -- finding ---------------------------------------------------------
    def find(self, name=None, role_name=None, timeout=DEFAULT_TIMEOUT):
        """Waits for an accessible with this name and/or role; returns it."""
        return wait_until(lambda: find(self.app, name, role_name), timeout,
                          "%r (%s)" % (name, role_name))

    def focused(self):
        """The accessible that has the keyboard focus, or None."""
        for node in descendants(self.app):
            try:
                if node.getState().contains(pyatspi.STATE_FOCUSED):
                    return node
            except Exception:
                continue
        return None

    def wait_for_focus(self, name, role_name=None, timeout=DEFAULT_TIMEOUT):
        def check():
            node = self.focused()
            return node is not None and spoken_name(node) == name and \
                (role_name is None or role(node) == role_name) and node
        try:
            return wait_until(check, timeout, "focus on %r" % name)
        except CheckFailed:
            node = self.focused()
            raise CheckFailed("focus did not reach %r; it is on %r (%s)" % (
                name, node.name if node else None, role(node) if node else "-"))

    def status_bar(self):
        return self.find(role_name="status bar")

    def status_text(self):
        return self.status_bar().name

    def wait_for_status(self, text, timeout=DEFAULT_TIMEOUT):
        try:
            return wait_until(lambda: self.status_text() == text, timeout,
                              "status %r" % text)
        except CheckFailed:
            raise CheckFailed("status bar reads %r, expected %r" % (self.status_text(), text))

    # -- keyboard --------------------------------------------------------
    def window_id(self):
        def search():
            out = subprocess.run(["xdotool", "search", "--onlyvisible", "--pid",
                                  str(self.process.pid)], capture_output=True, text=True)
            ids = out.stdout.split()
            return ids[0] if ids else None
        return wait_until(search, what="the program's X window")

    def focus_window(self):
        """Gives the program's window the X keyboard focus (no window manager)."""
        subprocess.run(["xdotool", "windowfocus", "--sync", self.window_id()], check=True)

    def press(self, *keys):
        """Presses keys in xdotool syntax, e.g. press("alt+s"), press("F6")."""
        subprocess.run(["xdotool", "key", "--delay", "40"] + list(keys), check=True)
        pump()


def run_checks(main, *args):
    """Runs a walk's main(*args) as the script's whole work: a failed check
    prints why and ends the process with status 1."""
    try:
        sys.exit(main(*args))
    except CheckFailed as error:
        print("FAILED: %s" % error, file=sys.stderr)
        sys.exit(1)
