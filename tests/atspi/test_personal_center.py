"""The personal centre of the real program against the local forum server,
as a screen reader meets it, logged in as the demo member 小澄同学: open it
from the home row, hear the navigation list, load "我的帖子" with one
request and open a post from it, switch to a tab twice with one request,
hear the announcements, and log out back to "登录".

Usage: test_personal_center.py PATH_TO_QUILLERY PATH_TO_LOCAL_FORUM
"""
import os
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from atspi_helpers import Program, check, descendants, find, role, wait_until  # noqa: E402
from forum_atspi import LocalForum, activate, name_server, wait_for_rows  # noqa: E402

FUNCTIONS = ["与我相关", "特别关心", "我的资产", "我的专辑", "个人信息",
             "我的帖子", "发布问卷", "我的消息", "钻石明细", "众筹汇总"]
TABS = ["售出物品", "购买物品", "购买帖子", "打赏记录", "附件收费"]


def table_rows(app, name):
    table = app.find(name, "table")
    return [table.getChildAtIndex(i).name for i in range(table.childCount)
            if table.getChildAtIndex(i) is not None and role(table.getChildAtIndex(i)) == "table cell"]


def wait_for_table(app, name, predicate, what):
    def satisfied():
        shown = table_rows(app, name)
        return predicate(shown) and shown
    return wait_until(satisfied, what=what)


def announced(app, text):
    """Waits until a notification object of the program (what Orca speaks)
    carries `text`; each window has its own."""
    return wait_until(lambda: any(role(node) == "notification" and node.name == text
                                  for node in descendants(app.app)),
                      what="the announcement %r" % text)


def log_in_automatically(program, mobile, password):
    folder = os.path.join(program.env["XDG_DATA_HOME"], "澄川论坛")
    with open(os.path.join(folder, "settings.ini"), "a", encoding="utf-8") as ini:
        ini.write("[login]\nmobile=%s\npassword=%s\nrememberPassword=1\nautoLogin=1\n" % (mobile, password))


def click(node):
    action = node.queryAction()
    for i in range(action.nActions):
        if action.getName(i) == "click":
            action.doAction(i)
            return
    raise AssertionError("no click action on %r" % node.name)


def window_named(app, title):
    """The program's visible X window titled exactly `title`, or None.
    (xdotool's own --name pattern does not hold for Chinese titles here: it
    matched the main window when asked for "^个人中心$".)"""
    out = subprocess.run(["xdotool", "search", "--onlyvisible", "--pid", str(app.process.pid), "--name", "."],
                         capture_output=True, text=True)
    for window in out.stdout.split():
        name = subprocess.run(["xdotool", "getwindowname", window], capture_output=True, text=True).stdout
        if name.rstrip("\n") == title:
            return window
    return None


def focus_dialog(app, title):
    """Waits for the window titled `title` and gives it the X focus (there is
    no window manager to do it)."""
    window = wait_until(lambda: window_named(app, title), what="the window %r" % title)
    subprocess.run(["xdotool", "windowfocus", "--sync", window], check=True)
    time.sleep(0.2)


def main(exe, server_binary):
    with LocalForum(server_binary) as forum:
        program = Program(exe)
        name_server(program, forum.port)
        log_in_automatically(program, "13800000001", "user123")
        with program as app:
            app.focus_window()
            app.wait_for_focus("功能列表")
            wait_for_rows(app, lambda r: r[:1] == ["个人中心（小澄同学）"], "the logged-in home row")

            activate(app, "个人中心")
            focus_dialog(app, "个人中心")
            app.wait_for_focus("个人中心功能列表", "table")
            check(table_rows(app, "个人中心功能列表") == FUNCTIONS, "navigation reads %r"
                  % table_rows(app, "个人中心功能列表"))
            app.find("会员名称：小澄同学", "label")
            app.find("发帖数：待加载", "label")
            check(table_rows(app, "功能结果列表") == ["请选择功能"], "placeholder reads %r"
                  % table_rows(app, "功能结果列表"))
            for title in TABS:
                app.find(title, "page tab")

            # "我的帖子": one request for one Enter, the label, the lines, the count.
            before = forum.count("/api/post/my?")
            app.press(*["Down"] * 5)
            time.sleep(0.1)
            app.press("Return")
            app.find("我的帖子", "label")
            posts = wait_for_table(app, "功能结果列表", lambda r: r and "回复" in r[0], "my posts")
            announced(app, "我的帖子已加载，共 %d 条。" % len(posts))
            app.find("发帖数：%d" % len(posts), "label")
            time.sleep(0.3)
            check(forum.count("/api/post/my?") == before + 1,
                  "one Enter fetched my posts %d times" % (forum.count("/api/post/my?") - before))

            # Open the first post and come back.
            title = posts[0].split(" | ")[0]
            app.press("Tab")
            app.wait_for_focus("功能结果列表", "table")
            app.press("Return")
            focus_dialog(app, "帖子内容")
            app.find("帖子内容框", "text")
            wait_until(lambda: any(role(node) == "label" and title in (node.name or "")
                                   for node in descendants(app.app)), what="the post %r" % title)
            app.press("Escape")
            wait_until(lambda: window_named(app, "帖子内容") is None, what="the post window to close")
            focus_dialog(app, "个人中心")

            # A tab switched to twice with the keyboard is fetched once.
            before = forum.count("/api/post/buy-goods?")
            app.wait_for_focus("功能结果列表", "table")
            app.press("Tab")
            app.wait_for_focus("功能详情", "text")
            app.press("Tab")
            strip = app.wait_for_focus("记录分类", "page tab list")
            check(strip.querySelection().getSelectedChild(0).name == "售出物品", "the first tab is not selected")
            app.press("Right")
            wait_for_table(app, "购买物品列表", lambda r: len(r) > 0, "bought goods")
            announced(app, "购买物品已加载，共 %d 条。" % len(table_rows(app, "购买物品列表")))
            app.press("Left")
            wait_for_table(app, "售出物品列表", lambda r: len(r) > 0, "sold goods")
            app.press("Right")
            wait_until(lambda: strip.querySelection().getSelectedChild(0).name == "购买物品",
                       what="购买物品 selected again")
            time.sleep(0.3)
            check(forum.count("/api/post/buy-goods?") == before + 1,
                  "two visits fetched bought goods %d times" % (forum.count("/api/post/buy-goods?") - before))
            app.find("购买物品详情", "text")
            app.press("Right", "Right")
            wait_for_table(app, "打赏记录列表", lambda r: r == ["打赏记录（预留）"], "the reserved page")

            # Log out: the question, then the home row is "登录" again.
            # By the keyboard: an AT-SPI click would run the question's modal
            # loop inside the bridge's own call and freeze the tree.
            app.find("退出账号", "push button").queryComponent().grabFocus()
            app.wait_for_focus("退出账号", "push button")
            app.press("space")
            wait_until(lambda: window_named(app, "退出账号"), what="the logout question")
            question = wait_until(lambda: next((node for node in descendants(app.app)
                                                if role(node) in ("alert", "dialog")
                                                and find(node, "确定", "push button")), None),
                                  what="the question's accessible")
            labels = [node.name for node in descendants(question) if role(node) == "label" and node.name]
            check("确定要退出当前账号吗？" in labels, "the question reads %r" % labels)
            check(find(question, "取消", "push button") is not None, "the question has no 取消")
            click(find(question, "确定", "push button"))
            wait_until(lambda: window_named(app, "个人中心") is None, what="the personal centre to close")
            wait_for_rows(app, lambda r: r[:1] == ["登录"], "the guest home row")
    print("personal centre: all checks passed")


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2])
