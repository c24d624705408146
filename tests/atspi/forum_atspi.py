"""Helpers for end-to-end checks of the forum views of the real program:
a local forum server to talk to, the profile that names it, the rows of the
main list as a screen reader reads them, and answering boxes and dialogs.
"""
import os
import shutil
import socket
import subprocess
import tempfile
import threading
import time

from atspi_helpers import CheckFailed, descendants, find, role, stop_process, wait_until

HOME_HINT = ("当前为社区首页。个人中心、发新帖、搜索帖子、最新话题、热门帖子、最新回复在前，"
             "后面是版块列表。按回车进入。")
POST_LIST_HINT = "当前为帖子列表。按回车查看楼层，列表内可翻页、回到首页或尾页，退格返回上一层。"
FLOOR_HINT = ("当前为楼层列表。回车查看内容页，列表内可翻页、回到首页或尾页，右键可回复某一楼，"
              "退格返回帖子列表。")


class LocalForum:
    """The project's local forum server on a free loopback port, with a
    fresh database, stopped on exit."""

    def __init__(self, binary, args=()):
        self.folder = tempfile.mkdtemp(prefix="quillery-forum-")
        self.log = open(os.path.join(self.folder, "server.log"), "w+")
        self.process = subprocess.Popen(
            [binary, "--db", os.path.join(self.folder, "forum.db"),
             "--files", os.path.join(self.folder, "files"), "--port", "0", "--no-media",
             "--exit-with-parent"] + list(args),
            stdout=subprocess.PIPE, stderr=self.log, text=True)
        first = self.process.stdout.readline().strip()
        if not first.startswith("listening on 127.0.0.1:"):
            self.stop()
            raise CheckFailed("local forum did not start: %r" % first)
        self.port = int(first.rsplit(":", 1)[1])
        # The request log, read as it comes (an unread pipe would also
        # stall the server once full).
        self.lines = []
        self.reader = threading.Thread(target=self._read_log, daemon=True)
        self.reader.start()

    def _read_log(self):
        for line in self.process.stdout:
            self.lines.append(line.rstrip("\n"))

    def count(self, target_prefix, method="GET"):
        """How many requests so far had a target starting with `target_prefix`."""
        needle = " %s %s" % (method, target_prefix)
        return sum(1 for line in list(self.lines) if needle in line)

    def stop(self):
        stop_process(self.process)
        self.log.close()
        shutil.rmtree(self.folder, ignore_errors=True)

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.stop()
        return False


def unused_port():
    with socket.socket() as probe:
        probe.bind(("127.0.0.1", 0))
        return probe.getsockname()[1]


def name_server(program, port, host="127.0.0.1"):
    """Writes the "/server" group into the program's throwaway profile."""
    folder = os.path.join(program.env["XDG_DATA_HOME"], "澄川论坛")
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, "settings.ini"), "w", encoding="utf-8") as ini:
        ini.write("[server]\nhost=%s\nport=%d\n" % (host, port))


def x_window(app, name):
    """The shown X window of the program titled `name`, or None. Compared
    here: xdotool's --name does not match Chinese titles, and combined with
    --pid it takes any window of the process."""
    out = subprocess.run(["xdotool", "search", "--onlyvisible", "--pid", str(app.process.pid)],
                         capture_output=True, text=True)
    for window in out.stdout.split():
        title = subprocess.run(["xdotool", "getwindowname", window], capture_output=True, text=True)
        if title.stdout.strip() == name:
            return window
    return None


def dismiss_box(app, caption, timeout=15.0):
    """Waits for a message box titled `caption`; returns its message after
    pressing its "确定" button. The box is found in the accessibility tree:
    xdotool cannot match Chinese window titles."""
    def showing_box():
        return find(app.app, role_name="alert", showing_only=True)
    alert = wait_until(showing_box, timeout, "a box titled %r" % caption)
    message = [node.name for node in descendants(alert) if role(node) == "label" and node.name]
    ok = wait_until(lambda: find(alert, "确定", "push button"), what="its 确定 button")
    action = ok.queryAction()
    for i in range(action.nActions):
        if action.getName(i) == "click":
            action.doAction(i)
    wait_until(lambda: showing_box() is None, what="the box to close")
    return message


def rows(app):
    table = app.find("功能列表", "table")
    result = []
    for i in range(table.childCount):
        cell = table.getChildAtIndex(i)
        if cell is not None and role(cell) == "table cell":
            result.append(cell.name)
    return result


def wait_for_rows(app, predicate, what):
    """Waits until the list's rows satisfy `predicate`; returns them."""
    def satisfied():
        # One reading serves both the test and the answer, so the rows
        # returned are the ones that passed.
        shown = rows(app)
        return predicate(shown) and shown
    try:
        return wait_until(satisfied, what=what)
    except CheckFailed:
        raise CheckFailed("%s; the list reads %r" % (what, rows(app)[:8]))


def wait_for_label(app, text):
    app.find(text, "label")


def activate(app, prefix):
    """Moves the selection to the first row starting with `prefix` with the
    keyboard and presses Enter."""
    shown = rows(app)
    index = next((i for i, text in enumerate(shown) if text.startswith(prefix)), None)
    if index is None:
        raise CheckFailed("no row starts with %r: %r" % (prefix, shown[:8]))
    app.press("Home")
    if index:
        app.press(*["Down"] * index)
    time.sleep(0.1)
    app.press("Return")


def type_into_dialog(app, title, text):
    """Types `text` into the dialog titled `title` and presses Enter."""
    window = wait_until(lambda: x_window(app, title), what="the dialog %r" % title)
    subprocess.run(["xdotool", "windowfocus", "--sync", window], check=True)
    time.sleep(0.2)
    subprocess.run(["xdotool", "type", "--delay", "40", text], check=True)
    app.press("Return")
