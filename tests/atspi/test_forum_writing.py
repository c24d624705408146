"""Writing in the real program against the local forum server with the
keyboard alone, as a screen reader user meets it: a member logs in, writes
a post in the composer (its fields reached by Tab with their names), finds
it in the section's list, edits it from the list's menu and replies to it;
a section manager then deletes it from the list.

Usage: test_forum_writing.py PATH_TO_QUILLERY PATH_TO_LOCAL_FORUM
"""
import os
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from atspi_helpers import CheckFailed, Program, check, descendants, find, pump, role, wait_until, run_checks  # noqa: E402
from forum_atspi import (HOME_HINT, LocalForum, activate, dismiss_box, name_server, rows,  # noqa: E402
                         wait_for_label, wait_for_rows, x_window)

import pyatspi  # noqa: E402

SECTION = "读屏软件交流"
TITLE = "Keyboard post 键盘发帖"
EDITED = TITLE + " v2"
REPLY = "first reply 沙发"


def publish_and_return_home(app):
    """From the composer's focused 发布 button: publish, answer the notice,
    and wait for the main window's home view."""
    app.wait_for_focus("发布", "push button")
    app.press("space")
    check("帖子发布成功。" in dismiss_box(app, "提示"), "the post was published")
    wait_until(lambda: x_window(app, "发新帖") is None, what="the composer to close")
    app.focus_window()
    app.wait_for_status(HOME_HINT)


def focus_dialog(app, title):
    """Gives the dialog titled `title` the X keyboard focus (no window manager)."""
    window = wait_until(lambda: x_window(app, title), what="the dialog %r" % title)
    subprocess.run(["xdotool", "windowfocus", "--sync", window], check=True)
    time.sleep(0.2)
    pump()


def type_text(text):
    subprocess.run(["xdotool", "type", "--delay", "40", text], check=True)


def logged_in_at_home(app, mobile, password, name):
    """Waits for the home view of a freshly started program, then logs in."""
    app.focus_window()
    app.wait_for_focus("功能列表")
    app.wait_for_status(HOME_HINT)
    log_in(app, mobile, password, name)


def log_in(app, mobile, password, name):
    activate(app, "登录")
    focus_dialog(app, "登录")
    app.wait_for_focus("账号输入框", "text")
    app.press("ctrl+a")
    type_text(mobile)
    app.press("alt+p")
    app.wait_for_focus("密码输入框", "password text")
    type_text(password)
    app.press("Return")
    wait_until(lambda: x_window(app, "登录") is None, what="the login dialog to close")
    app.focus_window()
    wait_for_rows(app, lambda r: r and r[0] == "个人中心（%s）" % name, "the personal-centre row")


def select_row(app, prefix):
    shown = rows(app)
    index = next((i for i, text in enumerate(shown) if text.startswith(prefix)), None)
    if index is None:
        raise CheckFailed("no row starts with %r: %r" % (prefix, shown[:8]))
    app.press("Home", *["Down"] * index)
    time.sleep(0.1)


ITEM_ROLES = ("menu item", "check menu item")


def shown_items(app):
    """The items of the pop-up menu on screen (not the category selector's)."""
    return [node for node in descendants(app.app)
            if role(node) in ITEM_ROLES and node.getState().contains(pyatspi.STATE_SHOWING)
            and node.name not in ("澄川论坛", "本地音乐")]


def menu_items(app):
    """The names of the items of the pop-up menu on screen."""
    return wait_until(lambda: [node.name for node in shown_items(app)] or None, what="a pop-up menu")


def choose_menu_item(app, name):
    """Moves through the open pop-up menu with Down until `name` is the
    highlighted item, then presses Return."""
    def highlighted():
        for node in shown_items(app):
            state = node.getState()
            if state.contains(pyatspi.STATE_SELECTED) or state.contains(pyatspi.STATE_FOCUSED):
                return node.name
        return None
    for _ in range(6):
        if highlighted() == name:
            app.press("Return")
            return
        app.press("Down")
        time.sleep(0.2)
    raise CheckFailed("the menu item %r never took the highlight (%r has it)" % (name, highlighted()))


def open_section(app):
    activate(app, SECTION)
    wait_for_label(app, "帖子列表 - " + SECTION)


def composer_fields(app, submit):
    """Tabs once round the composer and checks each stop's name and role."""
    for name, role_name in (("标题输入框", "text"), ("帖子内容输入框", "text"),
                            ("插入", "push button"), ("发布设置", "push button"), ("会员扩展", "push button"),
                            ("资源与售价摘要", "text"), (submit, "push button"),
                            ("取消", "push button"), ("板块选择框", None)):
        app.press("Tab")
        app.wait_for_focus(name, role_name)


def write_post(app):
    activate(app, "发新帖")
    focus_dialog(app, "发新帖")
    app.wait_for_focus("板块选择框")
    check(app.find("发新帖", "label") is not None, "the section hint reads 发新帖")
    composer_fields(app, "发布")
    # Down moves through the sections; the member section changes the hint.
    app.press("Down", "Down")  # 综合讨论 -> 音乐欣赏 -> 读屏软件交流
    app.press("Down", "Down", "Down")  # -> 资源分享 -> 版务管理 -> 会员专区
    app.find("发新帖 - 会员板块", "label")
    app.press("Up", "Up", "Up")
    wait_until(lambda: find(app.app, "发新帖 - 会员板块", "label") is None, what="the plain hint again")
    # Publishing with an empty title says so and puts the focus there.
    app.press("Tab", "Tab", "Tab", "Tab", "Tab", "Tab", "Tab")
    app.wait_for_focus("发布", "push button")
    app.press("space")
    check("请输入标题。" in dismiss_box(app, "提示"), "an empty title is refused")
    focus_dialog(app, "发新帖")
    app.wait_for_focus("标题输入框", "text")
    type_text(TITLE)
    app.press("Tab")
    app.wait_for_focus("帖子内容输入框", "text")
    type_text("line one")
    app.press("Return")
    type_text("line two 第二行")
    app.press("Tab", "Tab", "Tab", "Tab", "Tab")
    publish_and_return_home(app)


def edit_post(app):
    select_row(app, TITLE + " | ")
    app.press("Menu")
    items = menu_items(app)
    check(items == ["编辑帖子"], "the author's post menu offers %r" % items)
    choose_menu_item(app, "编辑帖子")
    focus_dialog(app, "编辑帖子")
    app.wait_for_focus("板块选择框")
    app.press("Tab")
    app.wait_for_focus("标题输入框", "text")
    app.press("End")
    type_text(" v2")
    app.press("Tab", "Tab", "Tab", "Tab", "Tab", "Tab")
    app.wait_for_focus("保存", "push button")
    app.press("space")
    check("帖子保存成功。" in dismiss_box(app, "提示"), "the edit was saved")
    app.focus_window()
    wait_for_rows(app, lambda r: any(x.startswith(EDITED + " | ") for x in r), "the edited title in the list")


def reply(app):
    activate(app, EDITED + " | ")
    wait_for_label(app, "楼层列表 - " + EDITED)
    activate(app, "查看楼主：")
    focus_dialog(app, "帖子内容")
    app.wait_for_focus("帖子内容框")
    app.press("Tab")
    app.wait_for_focus("回帖输入框", "text")
    type_text(REPLY)
    app.press("Tab", "Tab")
    app.wait_for_focus("发送回复", "push button")
    app.press("space")
    check("回复发送成功。" in dismiss_box(app, "提示"), "the reply was sent")
    app.focus_window()
    wait_for_rows(app, lambda r: any(x.startswith("1楼 ") and REPLY in x for x in r), "the reply as floor 1")
    app.press("BackSpace")
    wait_for_label(app, "帖子列表 - " + SECTION)


def nothing_to_offer(app):
    select_row(app, "NVDA 与 Orca 常用快捷键对照整理 | ")
    app.press("Menu")
    app.wait_for_status("没有可用的帖子操作")


def delete_as_manager(exe, forum):
    program = Program(exe)
    name_server(program, forum.port)
    with program as app:
        logged_in_at_home(app, "13800000003", "manager123", "版主阿澄")
        open_section(app)
        wait_for_rows(app, lambda r: any(x.startswith(EDITED + " | ") for x in r), "the member's post")
        select_row(app, EDITED + " | ")
        app.press("Menu")
        items = menu_items(app)
        check(items == ["编辑帖子", "删除帖子"], "the manager's post menu offers %r" % items)
        choose_menu_item(app, "删除帖子")
        wait_until(lambda: x_window(app, "删除帖子"), what="the delete question")
        alert = wait_until(lambda: find(app.app, role_name="alert"), what="the question")
        check(find(alert, "确定要删除帖子《%s》吗？" % EDITED, "label") is not None, "the question names the post")
        ok = wait_until(lambda: find(alert, "确定", "push button"), what="its 确定 button")
        ok.queryAction().doAction(0)
        check("帖子删除成功。" in dismiss_box(app, "提示"), "the post was deleted")
        app.focus_window()
        wait_for_rows(app, lambda r: r and not any(x.startswith(EDITED) for x in r), "the list without it")


def main(exe, server_binary):
    with LocalForum(server_binary) as forum:
        program = Program(exe)
        name_server(program, forum.port)
        with program as app:
            logged_in_at_home(app, "13800000001", "user123", "小澄同学")
            write_post(app)
            open_section(app)
            wait_for_rows(app, lambda r: any(x.startswith(TITLE + " | 小澄同学") for x in r),
                          "the new post in its section")
            nothing_to_offer(app)
            edit_post(app)
            reply(app)
        delete_as_manager(exe, forum)
    print("forum writing checks passed")


if __name__ == "__main__":
    run_checks(main, sys.argv[1], sys.argv[2])
