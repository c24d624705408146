"""The forum views of the real program against the local forum server, as a
screen reader meets them: the rows of the main list, its label and the
status bar while the user moves with Enter and Backspace, pages through a
section, opens a post's floors and searches.

Usage: test_forum_browsing.py PATH_TO_QUILLERY PATH_TO_LOCAL_FORUM
"""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from atspi_helpers import CheckFailed, Program, check, find, wait_until, run_checks  # noqa: E402
from forum_atspi import (FLOOR_HINT, HOME_HINT, POST_LIST_HINT, LocalForum,  # noqa: E402
                         activate, name_server, rows, type_into_dialog, wait_for_label,
                         wait_for_rows)

FUNCTIONS = ["登录", "发新帖", "搜索帖子", "最新话题", "热门帖子", "最新回复"]
NVDA_POST = "NVDA 与 Orca 常用快捷键对照整理"


def back_home(app):
    app.press("BackSpace")
    wait_for_label(app, "版块列表")
    app.wait_for_status(HOME_HINT)
    wait_for_rows(app, lambda r: r[:6] == FUNCTIONS, "the home view again")


def search(app, keyword):
    activate(app, "搜索帖子")
    type_into_dialog(app, "搜索帖子", keyword)
    wait_for_label(app, "帖子列表 - 搜索：" + keyword)
    wait_until(lambda: app.status_text().startswith("搜索完成：关键词“%s”" % keyword),
               what="the search for %r to finish" % keyword)
    return rows(app)


def main(exe, server_binary):
    with LocalForum(server_binary) as forum:
        program = Program(exe)
        name_server(program, forum.port)
        with program as app:
            app.focus_window()
            app.wait_for_focus("功能列表")
            # Home view: the functions, then the sections in the server's order.
            wait_for_label(app, "版块列表")
            app.wait_for_status(HOME_HINT)
            home = rows(app)
            check(home[:6] == FUNCTIONS, "home view starts %r" % home[:6])
            check(home[6:] == ["论坛公告 - 官方公告与站务通知", "综合讨论 - 闲聊、求助与日常分享",
                               "音乐欣赏 - 分享喜欢的歌曲、演奏与录音", "读屏软件交流",
                               "资源分享 - 软件、教程与资料下载", "版务管理 - 版主事务与意见反馈",
                               "会员专区 - 会员资源与付费内容"], "sections read %r" % home[6:])

            # Hot posts.
            activate(app, "热门帖子")
            wait_for_label(app, "帖子列表 - 热门帖子")
            app.wait_for_status(POST_LIST_HINT)
            hot = wait_for_rows(app, lambda r: len(r) > 5 and r[-5].startswith("当前共 "),
                                "hot posts with paging rows")
            check(" | " in hot[0] and "回复 " in hot[0], "first hot post reads %r" % hot[0])
            back_home(app)

            # A section's second page.
            activate(app, "综合讨论")
            wait_for_label(app, "帖子列表 - 综合讨论")
            wait_for_rows(app, lambda r: "当前共 2 页，第 1 页，共 27 条" in r, "page 1 of 2")
            activate(app, "下一页")
            page2 = wait_for_rows(app, lambda r: "当前共 2 页，第 2 页，共 27 条" in r, "page 2 of 2")
            check(page2[-4:] == ["上一页", "下一页（当前已是最后一页）", "回到首页",
                                 "回到尾页（当前已是最后一页）"], "paging rows read %r" % page2[-4:])
            app.wait_for_status(POST_LIST_HINT)
            back_home(app)

            # A post's floors, then Backspace level by level.
            activate(app, "读屏软件交流")
            wait_for_label(app, "帖子列表 - 读屏软件交流")
            activate(app, NVDA_POST)
            wait_for_label(app, "楼层列表 - " + NVDA_POST)
            app.wait_for_status(FLOOR_HINT)
            floors = rows(app)
            check(floors[0] == "查看楼主：" + NVDA_POST, "first floor row reads %r" % floors[0])
            check(any(r.startswith("2楼 ") for r in floors), "no floor 2 in %r" % floors[:4])
            check(any(" | 回复 " in r for r in floors), "no floor answering a floor")
            # The context-menu key on a floor offers the reply to that floor.
            activate_row = next(i for i, r in enumerate(floors) if r.startswith("2楼 "))
            app.press("Home", *["Down"] * activate_row)
            app.press("Menu")
            item = wait_until(lambda: find(app.app, role_name="menu item", showing_only=True),
                              what="the floor menu")
            check(item.name.startswith("回复 2 楼（"), "the floor menu offers %r" % item.name)
            app.press("Escape")
            wait_until(lambda: find(app.app, role_name="menu item", showing_only=True) is None
                       or find(app.app, role_name="menu item", showing_only=True).name
                       in ("澄川论坛", "本地音乐"), what="the floor menu to close")
            check(rows(app) == floors, "the floors changed behind the menu")
            app.press("BackSpace")
            wait_for_label(app, "帖子列表 - 读屏软件交流")
            app.wait_for_status(POST_LIST_HINT)
            back_home(app)

            # Searches, one with results and one without.
            found = search(app, "NVDA")
            check(found[0].startswith(NVDA_POST + " | "), "first result reads %r" % found[0])
            back_home(app)
            none = search(app, "zzqqxx")
            check(none == ["当前没有匹配的帖子", "当前共 1 页，第 1 页，共 0 条",
                           "上一页（当前已是第一页）", "下一页（当前已是最后一页）",
                           "回到首页（当前已是第一页）", "回到尾页（当前已是最后一页）"],
                  "an empty search reads %r" % none)
            app.wait_for_status("搜索完成：关键词“zzqqxx”，第 1 页，共 0 条。")
    print("forum browsing checks passed")


if __name__ == "__main__":
    run_checks(main, sys.argv[1], sys.argv[2])
