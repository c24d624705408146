"""Closing while a call is waited for, in the real program against a slow
local forum: the close cancels the call, lets it return and then runs the
ordinary closing sequence (settings saved, exit status 0), promptly. One
row per way of closing and per window that waits; a dialog closed during
its own wait goes away and leaves the main window working; a logout with
a box open answers the box and closes.

Usage: test_close_during_wait.py PATH_TO_QUILLERY PATH_TO_LOCAL_FORUM
"""
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from atspi_helpers import CheckFailed, Program, check, find, wait_until, run_checks  # noqa: E402
from forum_atspi import LocalForum, activate, name_server, wait_for_rows  # noqa: E402
from test_media_controls import bus_call, own_player, write_profile  # noqa: E402
from test_personal_center import focus_dialog, log_in_automatically, window_named  # noqa: E402
from test_wait_escape import start_post_menu, start_upload  # noqa: E402

WAITING = "正在等待服务器响应，按 Esc 取消。"
DELAY_MS = 8000


def start_window_manager():
    """Alt+F4 is the window manager's: openbox sends the close request."""
    if not shutil.which("openbox"):
        raise CheckFailed("openbox is not installed (scripts/setup installs it)")
    manager = subprocess.Popen(["openbox", "--sm-disable"], stdout=subprocess.DEVNULL,
                               stderr=subprocess.DEVNULL)
    time.sleep(0.5)
    return manager


def hot_posts_wait(app):
    """The main window waits for 热门帖子."""
    app.focus_window()
    app.wait_for_focus("功能列表")
    wait_for_rows(app, lambda r: any(x.startswith("热门帖子") for x in r), "the home view")
    activate(app, "热门帖子")


def auto_login_wait(app):
    """The main window waits for the automatic login at start-up."""


def logged_in_home(app):
    app.focus_window()
    wait_for_rows(app, lambda r: r[:1] == ["个人中心（小澄同学）"], "the logged-in home row")


def post_dialog_wait(app):
    """The post dialog waits for its 帖子操作 menu's manager query."""
    logged_in_home(app)
    start_post_menu(app)


def composer_upload_wait(app):
    """The composer waits for an upload's answer."""
    logged_in_home(app)
    start_upload(app, SONG[0])


def personal_center_wait(app):
    """The personal centre waits for 我的帖子."""
    logged_in_home(app)
    activate(app, "个人中心")
    focus_dialog(app, "个人中心")
    app.wait_for_focus("个人中心功能列表", "table")
    app.press(*["Down"] * 5)
    time.sleep(0.1)
    app.press("Return")


def close_box(app, title):
    """Alt+F4 on the window titled `title`, as the user presses it."""
    focus_dialog(app, title)
    app.press("alt+F4")


def interrupt(app, title):
    app.process.send_signal(signal.SIGINT)


def terminate(app, title):
    app.process.send_signal(signal.SIGTERM)


def hang_up(app, title):
    app.process.send_signal(signal.SIGHUP)


def media_quit(app, title):
    player = own_player(app.process.pid)
    bus_call("org.mpris.MediaPlayer2." + player, "/org/mpris/MediaPlayer2", "org.mpris.MediaPlayer2.Quit")


def add_song(app, song):
    """The playlist changes during the wait (the media controls' Open)."""
    player = wait_until(lambda: own_player(app.process.pid), what="the player on the bus")
    bus_call("org.mpris.MediaPlayer2." + player, "/org/mpris/MediaPlayer2",
             "org.mpris.MediaPlayer2.Player.OpenUri", "file://" + song)


# (what waits, the fault, how it starts, the window closed, how)
ROWS = [
    ("main window, Alt+F4", "/api/post/hot", hot_posts_wait, "澄川论坛", close_box),
    ("main window, SIGTERM", "/api/post/hot", hot_posts_wait, "澄川论坛", terminate),
    ("main window, media controls' Quit", "/api/post/hot", hot_posts_wait, "澄川论坛", media_quit),
    ("start-up automatic login, Alt+F4", "/api/user/login", auto_login_wait, "澄川论坛", close_box),
    ("personal centre, SIGHUP", "/api/post/my", personal_center_wait, "个人中心", hang_up),
    ("post dialog, SIGTERM", "/api/post/manager", post_dialog_wait, "帖子内容", terminate),
    ("composer upload, SIGINT", "/api/file", composer_upload_wait, "发新帖", interrupt),
]
# The file the composer uploads (set in main).
SONG = [None]


def run_row(exe, server_binary, song, added, row):
    what, path, start_wait, title, close = row
    with LocalForum(server_binary, ["--fault", "%s=delay:%d" % (path, DELAY_MS)]) as forum:
        program = Program(exe, env={"PULSE_SERVER": "unix:/nonexistent"}, keep_profile=True)
        settings = write_profile(program, forum.port, [song])
        if start_wait is not hot_posts_wait:
            log_in_automatically(program, "13800000001", "user123")
        try:
            with program as app:
                start_wait(app)
                app.wait_for_status(WAITING)
                add_song(app, added)
                close(app, title)
                closed = time.monotonic()
                wait_until(lambda: program.process.poll() is not None, timeout=DELAY_MS / 1000 + 5,
                           what="%s: the program to exit" % what)
                took = time.monotonic() - closed
                code = program.process.returncode
                check(code == 0, "%s: exit status %r" % (what, code))
                # Cancelled at once, not after the answer came in.
                check(took < 3, "%s: the program took %.1f s to exit" % (what, took))
            with open(settings, encoding="utf-8") as ini:
                saved = ini.read()
            check("playlistCount=2" in saved and song in saved and added in saved,
                  "%s: settings after the close:\n%s" % (what, saved))
        finally:
            shutil.rmtree(program.profile, ignore_errors=True)


def dialog_closed_in_its_wait(exe, server_binary):
    """Alt+F4 on the personal centre while it waits: the dialog goes, the
    main window stays and answers; then it closes normally."""
    with LocalForum(server_binary, ["--fault", "/api/post/my=delay:%d" % DELAY_MS]) as forum:
        program = Program(exe)
        name_server(program, forum.port)
        log_in_automatically(program, "13800000001", "user123")
        with program as app:
            personal_center_wait(app)
            app.wait_for_status(WAITING)
            close_box(app, "个人中心")
            wait_until(lambda: window_named(app, "个人中心") is None, timeout=3,
                       what="the personal centre to close before the answer")
            check(program.process.poll() is None, "the program ended with the dialog")
            app.focus_window()
            app.wait_for_focus("功能列表")
            close_box(app, "澄川论坛")
            wait_until(lambda: program.process.poll() is not None, what="the program to exit")
            check(program.process.returncode == 0, "exit status %r" % program.process.returncode)


def logout_over_a_box(exe, server_binary, song, added):
    """SIGTERM while a failure box is open: the box is answered as its
    close box would, then the program closes normally."""
    with LocalForum(server_binary, ["--fault", "/api/post/hot=html"]) as forum:
        program = Program(exe, env={"PULSE_SERVER": "unix:/nonexistent"}, keep_profile=True)
        settings = write_profile(program, forum.port, [song])
        try:
            with program as app:
                hot_posts_wait(app)
                wait_until(lambda: find(app.app, role_name="alert", showing_only=True), what="the failure box")
                add_song(app, added)
                app.process.send_signal(signal.SIGTERM)
                wait_until(lambda: program.process.poll() is not None, timeout=5,
                           what="the program to exit with a box open")
                check(program.process.returncode == 0, "exit status %r" % program.process.returncode)
            with open(settings, encoding="utf-8") as ini:
                check(added in ini.read(), "the playlist was not saved")
        finally:
            shutil.rmtree(program.profile, ignore_errors=True)


def main(exe, server_binary):
    manager = start_window_manager()
    media = tempfile.mkdtemp(prefix="quillery-close-")
    try:
        song, added = os.path.join(media, "一首歌.wav"), os.path.join(media, "又一首.wav")
        subprocess.run(["sox", "-n", "-r", "22050", "-c", "1", song, "synth", "2", "sine", "330"], check=True)
        shutil.copy(song, added)
        SONG[0] = song
        for row in ROWS:
            run_row(exe, server_binary, song, added, row)
        dialog_closed_in_its_wait(exe, server_binary)
        logout_over_a_box(exe, server_binary, song, added)
    finally:
        manager.terminate()
        manager.wait()
        shutil.rmtree(media, ignore_errors=True)
    print("close during a wait: %d rows exit 0 with settings saved; a dialog closes in its wait" % len(ROWS))
    return 0


if __name__ == "__main__":
    run_checks(main, sys.argv[1], sys.argv[2])
