"""A window that never goes silent: the real program against a local forum
that is slow to answer. The window and its status text are on the
accessibility bus before the sections arrive; while the program waits it
answers the screen reader at once, says that it waits, and Escape stops
the call with the usual failure box.

Usage: test_responsive_wait.py PATH_TO_QUILLERY PATH_TO_LOCAL_FORUM
"""
import os
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from atspi_helpers import CheckFailed, Program, check, wait_until, run_checks  # noqa: E402
from forum_atspi import LocalForum, dismiss_box, name_server, rows, wait_for_rows  # noqa: E402

WAITING = "正在等待服务器响应，按 Esc 取消。"
HELP = "Alt+1 澄川论坛，Alt+2 本地音乐，F6 切换焦点，退格返回上一层。"


def timed(query):
    start = time.monotonic()
    value = query()
    return value, time.monotonic() - start


def main(exe, server_binary):
    # Sections after 5 s: the window must not wait for them.
    with LocalForum(server_binary, ["--fault", "/api/section=delay:5000"]) as forum:
        program = Program(exe)
        name_server(program, forum.port)
        started = time.monotonic()
        with program as app:
            status, _ = timed(app.status_text)
            check(time.monotonic() - started < 4.5, "the window appeared only after the sections")
            check(status in (HELP, WAITING), "first status %r" % status)
            check(rows(app) == [], "rows before the sections arrived: %r" % rows(app))
            wait_until(lambda: app.status_text() == WAITING, what="the waiting text")
            # Each question of the screen reader is answered at once.
            slowest = max(timed(app.status_text)[1] for _ in range(5))
            check(slowest < 0.5, "an AT-SPI query took %.2f s during the wait" % slowest)
            wait_for_rows(app, lambda r: "综合讨论" in " ".join(r), "the sections after the wait")
            check(app.status_text() != WAITING, "the waiting text stayed")
            check(forum.count("/api/section") == 1, "requests: %r" % forum.lines)

    # Sections that would take 30 s: Escape stops the wait.
    with LocalForum(server_binary, ["--fault", "/api/section=delay:30000"]) as forum:
        program = Program(exe)
        name_server(program, forum.port)
        with program as app:
            wait_until(lambda: app.status_text() == WAITING, what="the waiting text")
            app.focus_window()
            app.press("Escape")
            pressed = time.monotonic()
            message = dismiss_box(app, "获取版块失败")
            check(time.monotonic() - pressed < 5, "the box came late")
            check(message == ["操作已取消。"], "box message %r" % message)
            # (No further attempt follows: the loopback server test counts them.)
            check(rows(app) == [], "rows after a cancelled load: %r" % rows(app))
    print("responsive wait: window before the data, queries answered, Escape cancels")
    return 0


if __name__ == "__main__":
    run_checks(main, sys.argv[1], sys.argv[2])
