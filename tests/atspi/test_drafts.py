"""Drafts survive a kill, in the real program against the local forum: a
member types a new post (title, body, a publishing setting), the program
is killed with SIGKILL, started again, and opening the composer asks
"有未发送的草稿，是否恢复？": 恢复 brings every field back and publishing
removes the draft; typed again and killed again, 丢弃 removes it and the
composer starts empty. A draft that cannot be read is reported once and
left exactly as it was. A post's reply box keeps its draft the same way;
agreeing to drop the reply removes it.

Usage: test_drafts.py PATH_TO_QUILLERY PATH_TO_LOCAL_FORUM
"""
import glob
import os
import shutil
import signal
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from atspi_helpers import Program, check, descendants, find, role, wait_until, run_checks  # noqa: E402
from forum_atspi import LocalForum, activate, dismiss_box, name_server, wait_for_rows, x_window  # noqa: E402
from test_forum_writing import choose_menu_item, focus_dialog, menu_items, publish_and_return_home, type_text  # noqa: E402
from test_composer_uploads import menu_item  # noqa: E402
from test_personal_center import log_in_automatically  # noqa: E402
from test_post_actions import open_post, open_section  # noqa: E402

import pyatspi  # noqa: E402

QUESTION = "有未发送的草稿，是否恢复？"
TITLE = "Draft post 草稿"
BODY = "kept 保留"
REPLY = "reply kept 回复"


def text_of(app, name):
    box = app.find(name, "text")
    text = box.queryText()
    return text.getText(0, text.characterCount)


def open_reply_box(app, title=None, answer=None):
    """Opens a post of 综合讨论 (the sixth, or `title`), answers the draft
    question with `answer` when given, and moves to its reply box."""
    app.focus_window()
    posts = open_section(app, "综合讨论")
    title = title or posts[5].split(" | ")[0]
    if answer:
        activate(app, title + " | ")
        wait_for_rows(app, lambda r: r and r[0].startswith("查看楼主："), "the floors")
        activate(app, "查看楼主：")
        answer_question(app, answer)
        focus_dialog(app, "帖子内容")
    else:
        open_post(app, title)
    app.wait_for_focus("帖子内容框")
    app.press("Tab")
    app.wait_for_focus("回帖输入框", "text")
    return title


def draft_file(program):
    return os.path.join(program.env["XDG_DATA_HOME"], "澄川论坛", "drafts", "post-new.ini")


def start(program):
    app = program.start()
    app.focus_window()
    app.wait_for_focus("功能列表")
    wait_for_rows(app, lambda r: r[:1] == ["个人中心（小澄同学）"], "the logged-in home row")
    return app


def restart(old, exe):
    """The same profile, a new process."""
    program = Program(exe, keep_profile=True)
    shutil.rmtree(program.profile, ignore_errors=True)
    program.profile, program.env = old.profile, old.env
    return program


def type_new_post(app, title, body):
    """From the home view: a new post with `title` and `body` typed."""
    activate(app, "发新帖")
    focus_dialog(app, "发新帖")
    app.wait_for_focus("板块选择框")
    app.press("Tab")
    app.wait_for_focus("标题输入框", "text")
    type_text(title)
    app.press("Tab")
    app.wait_for_focus("帖子内容输入框", "text")
    type_text(body)


def type_post_and_kill(app, program):
    type_new_post(app, TITLE, BODY)
    # 发布设置 > 微信通知, by keyboard.
    app.press("Tab", "Tab")
    app.wait_for_focus("发布设置", "push button")
    app.press("space")
    menu_items(app)
    choose_menu_item(app, "微信通知")
    app.wait_for_focus("发布设置", "push button")
    # Saved a couple of seconds after the last change.
    wait_until(lambda: os.path.exists(draft_file(program)), what="the draft file")
    time.sleep(2.5)
    check(oct(os.stat(draft_file(program)).st_mode & 0o777) == "0o600", "the draft is not owner-only")
    program.process.send_signal(signal.SIGKILL)
    program.process.wait()


def reopen(program, exe, button):
    """A new process on the same profile opens the composer and answers
    the draft question with `button`."""
    program = restart(program, exe)
    app = start(program)
    activate(app, "发新帖")
    answer_question(app, button)
    focus_dialog(app, "发新帖")
    return program, app


def click_in_box(app, button):
    """Clicks `button` of the box on screen; returns the box's texts."""
    alert = wait_until(lambda: find(app.app, role_name="alert", showing_only=True), what="a box")
    said = [node.name for node in descendants(alert) if role(node) == "label" and node.name]
    node = wait_until(lambda: find(alert, button, "push button"), what="its %s button" % button)
    action = node.queryAction()
    for i in range(action.nActions):
        if action.getName(i) == "click":
            action.doAction(i)
    wait_until(lambda: find(app.app, role_name="alert", showing_only=True) is None, what="the box to close")
    return said


def answer_question(app, button):
    said = click_in_box(app, button)
    check(QUESTION in said, "the question reads %r" % said)


def main(exe, server_binary):
    with LocalForum(server_binary) as forum:
        program = Program(exe, keep_profile=True)
        name_server(program, forum.port)
        log_in_automatically(program, "13800000001", "user123")
        try:
            app = start(program)
            type_post_and_kill(app, program)

            # 恢复: every field back; publishing removes the draft.
            program, app = reopen(program, exe, "恢复")
            check(text_of(app, "标题输入框") == TITLE, "title %r" % text_of(app, "标题输入框"))
            check(text_of(app, "帖子内容输入框") == BODY, "body %r" % text_of(app, "帖子内容输入框"))
            app.find("发布设置", "push button")
            app.wait_for_focus("板块选择框")
            app.press("Tab", "Tab", "Tab", "Tab")
            app.wait_for_focus("发布设置", "push button")
            app.press("space")
            menu_items(app)
            check(menu_item(app, "微信通知").getState().contains(pyatspi.STATE_CHECKED), "微信通知 came back off")
            app.press("Escape")
            app.wait_for_focus("发布设置", "push button")
            app.press("Tab", "Tab", "Tab")
            publish_and_return_home(app)
            check(not os.path.exists(draft_file(program)), "the draft stayed after publishing")
            check(forum.count("/api/post", "POST") >= 1, "nothing was published")

            # 丢弃: gone, and the composer starts empty.
            type_post_and_kill(app, program)
            program, app = reopen(program, exe, "丢弃")
            check(text_of(app, "标题输入框") == "", "title after 丢弃 %r" % text_of(app, "标题输入框"))
            check(not os.path.exists(draft_file(program)), "the draft stayed after 丢弃")
            app.press("Escape")

            # Unreadable: said once, never changed.
            garbage = b"\xff\xfe not a draft \x00\x01"
            with open(draft_file(program), "wb") as broken:
                broken.write(garbage)
            for attempt in range(2):
                app.focus_window()
                activate(app, "发新帖")
                if attempt == 0:
                    said = dismiss_box(app, "草稿无法读取")
                    check(any(draft_file(program) in line for line in said), "the box says %r" % said)
                focus_dialog(app, "发新帖")
                check(find(app.app, role_name="alert", showing_only=True) is None, "a second box")
                app.wait_for_focus("板块选择框")
                app.press("Tab")
                app.wait_for_focus("标题输入框", "text")
                type_text("x")
                time.sleep(2.5)
                app.press("ctrl+a", "BackSpace", "Escape")
                wait_until(lambda: x_window(app, "发新帖") is None, what="the composer to close")
            with open(draft_file(program), "rb") as kept:
                check(kept.read() == garbage, "the unreadable draft was changed")

            # The reply box of one post.
            post = open_reply_box(app)
            type_text(REPLY)
            replies = os.path.join(os.path.dirname(draft_file(program)), "reply-*.ini")
            wait_until(lambda: glob.glob(replies), what="the reply's draft")
            time.sleep(2.5)
            program.process.send_signal(signal.SIGKILL)
            program.process.wait()
            program = restart(program, exe)
            app = start(program)
            open_reply_box(app, post, "恢复")
            check(text_of(app, "回帖输入框") == REPLY, "reply %r" % text_of(app, "回帖输入框"))
            app.press("Escape")
            click_in_box(app, "确定")  # the reply is dropped, and its draft
            wait_until(lambda: x_window(app, "帖子内容") is None, what="the post to close")
            check(not glob.glob(replies), "the reply's draft stayed: %r" % glob.glob(replies))
            program.process.send_signal(signal.SIGTERM)
            program.process.wait(10)
        finally:
            program.keep_profile = False
            program.stop()
    print("drafts: restored after SIGKILL, removed by publishing and by 丢弃; unreadable left alone; the reply box too")
    return 0


if __name__ == "__main__":
    run_checks(main, sys.argv[1], sys.argv[2])
