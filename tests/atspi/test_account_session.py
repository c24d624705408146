"""Accounts in the real program against the local forum server, the way a
screen reader user meets them: register a new account with the code the
server logged, log in with a demo account from the "登录" row with the
keyboard alone, and start again to be logged in automatically.

Usage: test_account_session.py PATH_TO_QUILLERY PATH_TO_LOCAL_FORUM
"""
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from atspi_helpers import (CheckFailed, Program, check, find, pump, stop_process,  # noqa: E402
                           wait_until)
from forum_atspi import HOME_HINT, activate, name_server, rows, wait_for_rows  # noqa: E402

import pyatspi  # noqa: E402

DEMO_MOBILE = "13800000001"
DEMO_PASSWORD = "user123"
NEW_MOBILE = "13912345678"


class LoggedForum:
    """The local forum server with its request log in a file, so the
    verification codes it prints can be read."""

    def __init__(self, binary):
        self.folder = tempfile.mkdtemp(prefix="quillery-forum-")
        self.log_path = os.path.join(self.folder, "server.log")
        self.log = open(self.log_path, "w")
        self.process = subprocess.Popen(
            [binary, "--db", os.path.join(self.folder, "forum.db"),
             "--files", os.path.join(self.folder, "files"), "--port", "0", "--no-media",
             "--exit-with-parent"], stdout=self.log, stderr=subprocess.DEVNULL)
        first = wait_until(lambda: self._read().split("\n", 1)[0] if "\n" in self._read() else None,
                           what="the local forum to start")
        check(first.startswith("listening on 127.0.0.1:"), "local forum said %r" % first)
        self.port = int(first.rsplit(":", 1)[1])

    def _read(self):
        with open(self.log_path, encoding="utf-8") as log:
            return log.read()

    def code_for(self, mobile):
        codes = re.findall(r"verify-code %s (\d+)" % mobile, self._read())
        return codes[-1] if codes else None

    def count(self, text):
        return self._read().count(text)

    def stop(self):
        stop_process(self.process)
        self.log.close()
        shutil.rmtree(self.folder, ignore_errors=True)


def x_window(app, title):
    """The shown X window of the program titled `title`, or None. Compared
    here: xdotool's --name does not match Chinese titles, and combined with
    --pid it takes any window of the process."""
    out = subprocess.run(["xdotool", "search", "--onlyvisible", "--pid", str(app.process.pid)],
                         capture_output=True, text=True)
    for window in out.stdout.split():
        name = subprocess.run(["xdotool", "getwindowname", window], capture_output=True, text=True)
        if name.stdout.strip() == title:
            return window
    return None


def focus_dialog(app, title):
    """Gives the dialog titled `title` the X keyboard focus (no window manager)."""
    window = wait_until(lambda: x_window(app, title), what="the dialog %r" % title)
    subprocess.run(["xdotool", "windowfocus", "--sync", window], check=True)
    time.sleep(0.2)
    pump()


def type_text(text):
    subprocess.run(["xdotool", "type", "--delay", "40", text], check=True)


def states(node):
    return node.getState()


def checked(node):
    return states(node).contains(pyatspi.STATE_CHECKED)


def check_box_reading(app, name, description):
    """What Orca reads of a check box: name, role and state."""
    box = app.find(name, "check box")
    check(box.description == description, "%s reads the help %r" % (name, box.description))
    return box


def register(app, forum):
    activate(app, "登录")
    focus_dialog(app, "登录")
    app.wait_for_focus("账号输入框", "text")
    app.press("alt+r")
    focus_dialog(app, "注册账号")
    app.wait_for_focus("手机号输入框", "text")
    type_text(NEW_MOBILE)
    app.press("Tab", "Tab", "Tab")  # password, code, then the send button
    app.wait_for_focus("发送验证码", "push button")
    app.press("space")
    wait_until(lambda: x_window(app, "提示"), what="the code-sent notice")
    alert = wait_until(lambda: find(app.app, role_name="alert"), what="the notice")
    check(find(alert, "验证码已发送，请查收短信。", "label") is not None, "the notice says the code went out")
    app.press("Return")
    wait_until(lambda: x_window(app, "提示") is None, what="the notice to close")
    focus_dialog(app, "注册账号")
    app.wait_for_focus("验证码输入框", "text")
    code = wait_until(lambda: forum.code_for(NEW_MOBILE), what="the logged code")
    type_text(code)
    app.press("shift+Tab")
    app.wait_for_focus("密码输入框", "password text")
    type_text("newpass1")
    app.press("Return")
    wait_until(lambda: x_window(app, "注册账号") is None and x_window(app, "登录") is None,
               what="both dialogs to close")
    app.focus_window()
    wait_for_rows(app, lambda r: r and r[0] == "个人中心（用户5678）", "the new account's row")


def log_in(app):
    activate(app, "登录")
    focus_dialog(app, "登录")
    app.wait_for_focus("账号输入框", "text")
    # The number registered before is remembered and selected by Alt+A.
    app.press("alt+a")
    type_text(DEMO_MOBILE)
    app.press("alt+p")
    app.wait_for_focus("密码输入框", "password text")
    type_text(DEMO_PASSWORD)
    # The two check boxes, as a screen reader reads them.
    app.press("Tab")
    remember = app.wait_for_focus("记住密码", "check box")
    check(not checked(remember), "记住密码 starts not checked")
    check_box_reading(app, "记住密码", "勾选后保存当前密码。")
    app.press("Tab")
    auto = app.wait_for_focus("自动登录", "check box")
    check_box_reading(app, "自动登录", "勾选后下次启动自动使用已保存密码登录。")
    # The state changes reach the screen reader as events, which Orca
    # speaks as "checked"; ticking 自动登录 ticks 记住密码 as well.
    heard = []

    def on_checked(event):
        try:
            heard.append((event.source.name, event.detail1))
        except Exception:
            pass
    pyatspi.Registry.registerEventListener(on_checked, "object:state-changed:checked")
    try:
        app.press("space")
        wait_until(lambda: ("自动登录", 1) in heard and ("记住密码", 1) in heard,
                   what="both boxes heard as checked")
    finally:
        pyatspi.Registry.deregisterEventListener(on_checked, "object:state-changed:checked")
    check(checked(auto) and checked(remember), "both boxes read as checked")
    app.press("alt+p")
    app.wait_for_focus("密码输入框", "password text")
    app.press("Return")
    wait_until(lambda: x_window(app, "登录") is None, what="the login dialog to close")
    app.focus_window()
    wait_for_rows(app, lambda r: r and r[0] == "个人中心（小澄同学）", "the personal-centre row")


def main(exe, server_binary):
    forum = LoggedForum(server_binary)
    profile = None
    try:
        first = Program(exe, keep_profile=True)
        profile = first.profile
        name_server(first, forum.port)
        with first as app:
            app.focus_window()
            app.wait_for_focus("功能列表")
            app.wait_for_status(HOME_HINT)
            check(rows(app)[0] == "登录", "a guest's first row is 登录")
            register(app, forum)

        second = Program(exe, keep_profile=True)
        shutil.rmtree(second.profile, ignore_errors=True)
        second.profile, second.env = profile, first.env
        with second as app:
            app.focus_window()
            app.wait_for_focus("功能列表")
            # The registration left no automatic login behind.
            app.wait_for_status(HOME_HINT)
            check(rows(app)[0] == "登录", "after the registration run the first row is 登录")
            log_in(app)
        logins = forum.count("POST /api/user/login")

        third = Program(exe, keep_profile=True)
        shutil.rmtree(third.profile, ignore_errors=True)
        third.profile, third.env = profile, first.env
        with third as app:
            app.focus_window()
            app.wait_for_status("已自动登录。")
            wait_for_rows(app, lambda r: r and r[0] == "个人中心（小澄同学）", "the row after automatic login")
            # Said aloud as well, not only written in the status bar.
            app.find("已自动登录。", "notification")
        check(forum.count("POST /api/user/login") == logins + 1, "one automatic login request")
    finally:
        forum.stop()
        if profile:
            shutil.rmtree(profile, ignore_errors=True)
    print("account and session walk passed")


if __name__ == "__main__":
    try:
        main(sys.argv[1], sys.argv[2])
    except CheckFailed as failure:
        print("FAILED:", failure)
        sys.exit(1)
