"""Escape reaches the wait wherever the focus is, in the real program
against a slow local forum, driven by the keyboard as a user drives it: an
upload started from the composer's "插入" menu keeps the focus on "插入"
and Escape cancels it; nothing is added. The "帖子操作" menu's preparation
waits like every call: the window answers the screen reader meanwhile,
Escape stops it and no menu opens.

Usage: test_wait_escape.py PATH_TO_QUILLERY PATH_TO_LOCAL_FORUM
"""
import os
import shutil
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from atspi_helpers import Program, check, find, role, wait_until, run_checks  # noqa: E402
from forum_atspi import LocalForum, activate, dismiss_box, name_server  # noqa: E402
from test_forum_writing import choose_menu_item, focus_dialog, logged_in_at_home, menu_items  # noqa: E402
from test_post_actions import open_menu, open_post, open_section, start  # noqa: E402
from test_composer_uploads import choose_file  # noqa: E402
from test_forum_writing import log_in  # noqa: E402

import pyatspi  # noqa: E402

WAITING = "正在等待服务器响应，按 Esc 取消。"
DELAY_MS = 8000


def summary_text(app):
    box = app.find("资源与售价摘要", "text")
    text = box.queryText()
    return text.getText(0, text.characterCount)


def start_upload(app, path):
    """From the home view: a new post, 插入 > 插入音频 by keyboard, the file
    typed into the chooser, the name accepted; the upload starts."""
    activate(app, "发新帖")
    focus_dialog(app, "发新帖")
    app.wait_for_focus("板块选择框")
    app.press("Tab", "Tab", "Tab")
    app.wait_for_focus("插入", "push button")
    app.press("Return")
    check("插入音频" in menu_items(app), "the insert menu")
    choose_menu_item(app, "插入音频")
    choose_file(app, "选择音频", path)
    focus_dialog(app, "选择音频")
    app.press("Return")


def upload_cancelled(exe, server_binary, path):
    with LocalForum(server_binary, ["--fault", "/api/file=delay:%d" % DELAY_MS]) as forum:
        program = Program(exe)
        name_server(program, forum.port)
        with program as app:
            logged_in_at_home(app, "13800000001", "user123", "小澄同学")
            start_upload(app, path)
            # The file is up; the answer is late.
            wait_until(lambda: app.status_text() == WAITING, what="the waiting text")
            focus_dialog(app, "发新帖")
            focused = app.focused()
            check(focused is not None and focused.name == "插入" and role(focused) == "push button",
                  "during the upload the focus is on %r" % (focused.name if focused else None))
            app.press("Escape")
            pressed = time.monotonic()
            message = dismiss_box(app, "上传失败")
            check(time.monotonic() - pressed < 3, "Escape took %.1f s" % (time.monotonic() - pressed))
            check(any("操作已取消" in line for line in message), "the box says %r" % message)
            check("音频：1 个" not in summary_text(app), "a cancelled upload was added: %r" % summary_text(app))
            focus_dialog(app, "发新帖")
            app.wait_for_focus("插入", "push button")
            button = app.find("插入", "push button")
            check(button.getState().contains(pyatspi.STATE_ENABLED), "插入 stays disabled")


def start_post_menu(app):
    """From the home view: a post of 综合讨论 opened, 帖子操作 pressed."""
    posts = open_section(app, "综合讨论")
    open_post(app, posts[5].split(" | ")[0])
    app.press("Tab", "Tab")
    app.wait_for_focus("帖子操作", "push button")
    app.press("space")


def post_menu_cancelled(exe, server_binary):
    with LocalForum(server_binary, ["--fault", "/api/post/manager=delay:5000"]) as forum:
        program = Program(exe)
        name_server(program, forum.port)
        with program as app:
            start(app)
            log_in(app, "13800000003", "manager123", "版主阿澄")
            start_post_menu(app)
            wait_until(lambda: app.status_text() == WAITING, what="the waiting text")
            # Each question of the screen reader is answered at once.
            slowest = 0
            for _ in range(5):
                asked = time.monotonic()
                app.find("帖子操作", "push button")
                slowest = max(slowest, time.monotonic() - asked)
            check(slowest < 0.5, "an AT-SPI query took %.2f s during the wait" % slowest)
            app.press("Escape")
            pressed = time.monotonic()
            wait_until(lambda: app.status_text() != WAITING, timeout=3, what="the wait to end")
            check(time.monotonic() - pressed < 3, "Escape took %.1f s" % (time.monotonic() - pressed))
            time.sleep(0.5)
            menu = find(app.app, role_name="menu", showing_only=True)
            check(menu is None, "a menu opened after Escape")
            app.wait_for_focus("帖子操作", "push button")
            # The menu opens normally once the server answers again.
            items = open_menu(app)
            check("设为精华" in items or "取消精华" in items, "the manager's menu reads %r" % items)


def main(exe, server_binary):
    media = tempfile.mkdtemp(prefix="quillery-escape-")
    try:
        path = os.path.join(media, "TONE.WAV")
        subprocess.run(["sox", "-n", "-r", "22050", "-c", "1", path, "synth", "5", "sine", "440"], check=True)
        upload_cancelled(exe, server_binary, path)
        post_menu_cancelled(exe, server_binary)
    finally:
        shutil.rmtree(media, ignore_errors=True)
    print("Escape in every wait: the composer's upload and the post menu's preparation are cancelled")
    return 0


if __name__ == "__main__":
    run_checks(main, sys.argv[1], sys.argv[2])
