"""The line the program writes when its first view is in the main list
(QUILLERY_READY_FD, what the start-up benchmark waits for): it comes once,
only after the home view's rows are in the list, and after the failure box
when the server cannot be reached.

Usage: test_ready_signal.py PATH_TO_QUILLERY PATH_TO_LOCAL_FORUM
"""
import os
import select
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from atspi_helpers import CheckFailed, Program, check, run_checks  # noqa: E402
from forum_atspi import (HOME_HINT, LocalForum, dismiss_box, name_server, rows,  # noqa: E402
                         unused_port)

FUNCTIONS = ["登录", "发新帖", "搜索帖子", "最新话题", "热门帖子", "最新回复"]


def read_ready(fd, timeout):
    """What arrived on fd within timeout seconds: None when nothing did."""
    readable, _, _ = select.select([fd], [], [], timeout)
    return os.read(fd, 64) if readable else None


def run(exe, port, settle):
    """Starts the program against port with a ready pipe; settle(app, fd)
    runs while it is up."""
    read_end, write_end = os.pipe()
    program = Program(exe, env={"QUILLERY_READY_FD": str(write_end)}, pass_fds=(write_end,))
    name_server(program, port)
    try:
        with program as app:
            os.close(write_end)
            write_end = -1
            settle(app, read_end)
    finally:
        if write_end >= 0:
            os.close(write_end)
        os.close(read_end)


def main(exe, server_binary):
    def home_view(app, fd):
        check(read_ready(fd, 30) == b"ready\n", "no ready line")
        # Read at once, without waiting: the rows must be there already.
        shown = rows(app)
        check(shown[:6] == FUNCTIONS, "the list reads %r when ready comes" % shown[:8])
        check(app.status_text() == HOME_HINT, "status %r when ready comes" % app.status_text())
        check(read_ready(fd, 5) == b"", "the descriptor is closed after the one line")

    with LocalForum(server_binary) as forum:
        run(exe, forum.port, home_view)

    def unreachable(app, fd):
        dismiss_box(app, "获取版块失败")
        check(read_ready(fd, 30) == b"ready\n", "no ready line after the failure box")

    def box_first(app, fd):
        # While the failure box waits for the user, nothing is said.
        check(read_ready(fd, 3) is None, "ready came before the failure box was answered")
        unreachable(app, fd)

    run(exe, unused_port(), box_first)
    print("ready signal checks passed")


if __name__ == "__main__":
    run_checks(main, sys.argv[1], sys.argv[2])
