"""The post detail window's "帖子操作" menu in the real program against the
local forum, with the keyboard alone: a section manager features a post
and sees the menu follow its new state, then moves it and finds it in the
other section; a member reports a post and messages its author. The
prompts and the section choice are reached by their names.

Usage: test_post_actions.py PATH_TO_QUILLERY PATH_TO_LOCAL_FORUM
"""
import os
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from atspi_helpers import CheckFailed, Program, check, descendants, role, run_checks  # noqa: E402
from forum_atspi import (HOME_HINT, LocalForum, activate, dismiss_box, name_server, rows,  # noqa: E402
                         wait_for_label, wait_for_rows)
from test_forum_writing import focus_dialog, log_in, menu_items, type_text  # noqa: E402

import pyatspi  # noqa: E402

FROM_SECTION = "综合讨论"
TO_SECTION = "音乐欣赏"


def open_section(app, name):
    activate(app, name)
    wait_for_label(app, "帖子列表 - " + name)
    return wait_for_rows(app, lambda r: len(r) > 8 and " | " in r[0], "the posts of " + name)


def open_post(app, title):
    """Opens the post's floors, then its first row: the post detail dialog."""
    activate(app, title + " | ")
    wait_for_label(app, "楼层列表 - " + title)
    wait_for_rows(app, lambda r: r and r[0].startswith("查看楼主："), "the floors")
    activate(app, "查看楼主：")
    focus_dialog(app, "帖子内容")
    app.wait_for_focus("帖子内容框")


def open_menu(app):
    """Tabs from the post's text to "帖子操作" (or finds the focus back on it
    after a command) and opens the menu."""
    node = app.focused()
    if node is None or node.name != "帖子操作":
        app.wait_for_focus("帖子内容框")
        app.press("Tab")
        app.wait_for_focus("回帖输入框", "text")
        app.press("Tab")
    app.wait_for_focus("帖子操作", "push button")
    app.press("space")
    return menu_items(app)


def highlighted(app):
    """The name of the menu item the keyboard is on, or None."""
    marks = (pyatspi.STATE_SELECTED, pyatspi.STATE_ARMED, pyatspi.STATE_FOCUSED)
    for node in descendants(app.app):
        try:
            if role(node) != "menu item" or not node.getState().contains(pyatspi.STATE_SHOWING):
                continue
            if any(node.getState().contains(m) for m in marks):
                return node.name
        except Exception:
            continue
    return None


def choose(app, items, name):
    """Moves through the open menu with Down until `name` has the focus,
    then presses Enter, as a screen reader user hears the way there."""
    check(name in items, "the menu offers %r: %r" % (name, items))
    for _ in range(len(items) + 1):
        if highlighted(app) == name:
            app.press("Return")
            return
        app.press("Down")
        time.sleep(0.1)
    raise CheckFailed("Down never reached %r in the menu" % name)


def back_to_sections(app):
    app.focus_window()
    for _ in range(3):
        if any(r.startswith(FROM_SECTION) for r in rows(app)):
            return
        app.press("BackSpace")
        wait_for_rows(app, lambda r: True, "the previous level")


def start(app):
    app.focus_window()
    app.wait_for_focus("功能列表")
    wait_for_label(app, "版块列表")
    app.wait_for_status(HOME_HINT)


def manager_walk(exe, forum):
    program = Program(exe)
    name_server(program, forum.port)
    with program as app:
        start(app)
        log_in(app, "13800000003", "manager123", "版主阿澄")
        posts = open_section(app, FROM_SECTION)
        title = posts[5].split(" | ")[0]
        open_post(app, title)
        items = open_menu(app)
        check(items[:3] == ["举报", "只看楼主", "发送站内消息给他"] and "永久封禁" in items and len(items) == 14,
              "the manager's menu reads %r" % items)
        choose(app, items, "设为精华")
        said = dismiss_box(app, "提示")
        check("已设为精华。" in said, "the post was featured: %r" % said)

        # The window reloads the post list; the menu now offers to cancel it.
        app.focus_window()
        wait_for_label(app, "帖子列表 - " + FROM_SECTION)
        wait_for_rows(app, lambda r: any(x.startswith(title + " | ") for x in r), "the reloaded list")
        open_post(app, title)
        items = open_menu(app)
        check("取消精华" in items and "设为精华" not in items, "the menu follows the state: %r" % items)
        choose(app, items, "移动")
        focus_dialog(app, "移动帖子")
        app.wait_for_focus("请选择目标版块。")
        app.press("Down")  # 综合讨论 is chosen; the next section is 音乐欣赏
        app.press("Return")
        check("帖子移动成功。" in dismiss_box(app, "提示"), "the post was moved")

        back_to_sections(app)
        wait_for_rows(app, lambda r: any(x.startswith(TO_SECTION) for x in r), "the sections")
        moved = open_section(app, TO_SECTION)
        check(any(x.startswith(title + " | ") for x in moved), "%r is listed in %s" % (title, TO_SECTION))


def member_walk(exe, forum):
    program = Program(exe)
    name_server(program, forum.port)
    with program as app:
        start(app)
        log_in(app, "13800000001", "user123", "小澄同学")
        posts = open_section(app, FROM_SECTION)
        title = posts[6].split(" | ")[0]
        open_post(app, title)
        items = open_menu(app)
        check(items == ["举报", "只看楼主", "发送站内消息给他"], "the member's menu reads %r" % items)
        choose(app, items, "举报")
        focus_dialog(app, "举报帖子")
        app.wait_for_focus("请输入举报原因。", "text")
        type_text("spam 广告")
        app.press("Return")
        check("举报已提交。" in dismiss_box(app, "提示"), "the report was sent")

        focus_dialog(app, "帖子内容")
        items = open_menu(app)
        choose(app, items, "发送站内消息给他")
        focus_dialog(app, "发送站内消息")
        app.wait_for_focus("请输入站内消息内容。", "text")
        type_text("hello 你好")
        app.press("Return")
        check("站内消息发送成功。" in dismiss_box(app, "提示"), "the message was sent")


def main(exe, server_binary):
    with LocalForum(server_binary) as forum:
        manager_walk(exe, forum)
        member_walk(exe, forum)
    print("post action checks passed")


if __name__ == "__main__":
    run_checks(main, sys.argv[1], sys.argv[2])
