"""The main window as a screen reader meets it: names, roles, the status
bar and the focus following F6, Alt+S and Alt+L.

Usage: test_main_window.py PATH_TO_QUILLERY
"""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from atspi_helpers import CheckFailed, Program, check, run_checks  # noqa: E402
from forum_atspi import dismiss_box, name_server, unused_port  # noqa: E402

HELP = "Alt+1 澄川论坛，Alt+2 本地音乐，F6 切换焦点，退格返回上一层。"
LOADING = "正在加载澄川论坛内容。"


def main(exe):
    program = Program(exe)
    # These checks look at the shell before any forum content: the server
    # named in the profile is unreachable, and the "获取版块失败" box that
    # comes before the window is answered.
    name_server(program, unused_port())
    with program as app:
        dismiss_box(app, "获取版块失败")
        app.find("澄川论坛", "frame")  # fails the check when there is none
        combo = app.find("功能分类", "combo box")
        check(combo.description == "按上下方向键切换功能分类，回车进入下方功能列表。",
              "combo box description is %r" % combo.description)
        table = app.find("功能列表", "table")
        check(table.description == "按上下方向键浏览项目，回车进入下一层，退格返回上一层。",
              "list description is %r" % table.description)
        app.wait_for_status(HELP)

        app.focus_window()
        app.wait_for_focus("功能列表")
        app.press("alt+s")
        app.wait_for_focus("功能分类")
        app.press("F6")
        app.wait_for_focus("功能列表")
        # Moving to the list by keyboard refreshes the status text.
        app.wait_for_status(LOADING)
        app.press("F6")
        app.wait_for_focus("功能分类")
        app.press("alt+l")
        app.wait_for_focus("功能列表")
        # Tab from the list reaches the selector without a silent stop on
        # its arrow button.
        app.press("shift+Tab")
        app.wait_for_focus("功能分类")
        app.press("Tab")
        app.wait_for_focus("功能列表")
        app.press("alt+2")
        app.find("本地音乐", "label")
        app.wait_for_focus("功能列表")
    print("main window checks passed")


if __name__ == "__main__":
    run_checks(main, sys.argv[1])
