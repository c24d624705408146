"""A keyboard walk through the program with Orca listening, checking what
Orca says at each step (its debug log, speech itself off) and what it
listens to through AT-SPI: entering a list speaks its selected row, the
category selector speaks its whole value once and every new value, a post
opens as a dialog whose content is read from the top, the personal centre
is heard as a dialog and then its function list, and message boxes and
questions say their captions.

Runs in a session of its own (scripts/with-display) with a small window
manager, so that dialogs get the keyboard focus. Exits 77 (skipped) only
when Orca cannot start at all; every other check still runs first.

Usage: test_orca_walk.py PATH_TO_QUILLERY PATH_TO_LOCAL_FORUM
"""
import os
import shutil
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import pyatspi  # noqa: E402
from atspi_helpers import CheckFailed, Program, check, find, pump, stop_process, wait_until, run_checks  # noqa: E402
from forum_atspi import LocalForum, activate, name_server, rows, wait_for_label, wait_for_rows  # noqa: E402
from orca_session import OrcaSession, OrcaUnavailable  # noqa: E402
from test_personal_center import log_in_automatically  # noqa: E402

NVDA_POST = "NVDA 与 Orca 常用快捷键对照整理"
SKIPPED = 77


class Silent:
    """Stands in for Orca when it cannot start: the AT-SPI checks still run."""

    def mark(self):
        return 0

    def wait_for_speech(self, predicate, since, timeout=0, what=""):
        return ""


class Focus:
    """Records which objects AT-SPI reports as newly focused, the way Orca
    learns of them: a focused state turning on, or a list's active
    descendant changing."""

    def __init__(self):
        self.events = []
        pyatspi.Registry.registerEventListener(
            self._on_event, "object:state-changed:focused", "object:active-descendant-changed")

    def _on_event(self, event):
        try:
            if event.type.startswith("object:active-descendant-changed"):
                target = event.any_data
            elif event.detail1:
                target = event.source
            else:
                return
            self.events.append(target)
        except Exception:
            pass

    def mark(self):
        pump()
        return len(self.events)

    def wait_for_row(self, text, since):
        """Waits for a focus event from a live table cell named `text`."""
        def arrived():
            pump()
            for target in self.events[since:]:
                try:
                    if target.name == text and target.getRoleName() == "table cell" \
                            and not target.getState().contains(pyatspi.STATE_DEFUNCT):
                        return True
                except Exception:
                    continue
            return False
        wait_until(arrived, what="a focus event naming the row %r" % text)


def selected_row(app):
    table = app.find("功能列表", "table")
    selection = table.querySelection()
    return selection.getSelectedChild(0).name if selection.nSelectedChildren else ""


def start_window_manager():
    if not shutil.which("openbox"):
        return None
    return subprocess.Popen(["openbox", "--sm-disable"], stdout=subprocess.DEVNULL,
                            stderr=subprocess.DEVNULL)


def enter_row(app, orca, focus, prefix, label, first_row=None, ready=lambda r: len(r) > 0):
    """Enter on the row starting with `prefix`; the new list's selected row
    must be heard and reported as focused, from a live cell."""
    shown = rows(app)
    index = next((i for i, text in enumerate(shown) if text.startswith(prefix)), None)
    check(index is not None, "no row starts with %r: %r" % (prefix, shown[:8]))
    app.press("Home", *["Down"] * index)
    time.sleep(0.3)  # let Orca finish with the rows passed on the way
    mark, seen = orca.mark(), focus.mark()
    app.press("Return")
    wait_for_label(app, label)
    shown = wait_for_rows(app, ready, "the rows of %r" % label)
    row = first_row if first_row is not None else shown[0]
    focus.wait_for_row(row, seen)
    orca.wait_for_speech(lambda said: row in said, mark, what="the row %r" % row)
    return shown


def walk_selector(app, orca):
    mark = orca.mark()
    app.press("alt+s")
    app.wait_for_focus("功能分类")
    said = orca.wait_for_speech(lambda s: "澄川论坛" in s, mark, what="the whole category")
    named = [line for line in said.split("\n") if line.startswith("功能分类")]
    check(len(named) <= 1, "the selector's name is said twice: %r" % said)
    text = app.focused().queryText()
    _, start, end = text.getAttributeRun(0, False)
    check((start, end) == (0, text.characterCount) == (0, 4),
          "the selector's text reports the run %d..%d of %d" % (start, end, text.characterCount))
    for key, value in (("Down", "本地音乐"), ("Up", "澄川论坛")):
        mark = orca.mark()
        app.press(key)
        wait_until(lambda: app.focused().queryText().getText(0, -1) == value,
                   what="the selector to read %r" % value)
        orca.wait_for_speech(lambda s: value in s, mark, what="the new category %r" % value)
    app.press("F6")
    app.wait_for_focus("功能列表")


def walk_post(app, orca):
    """The thread starter's row opens the post as a dialog read from the top,
    and the unsent-reply question says its caption."""
    mark = orca.mark()
    app.press("Home", "Return")
    dialog = wait_until(lambda: find(app.app, "帖子内容", "dialog"), what="the post as a dialog")
    check(find(app.app, "帖子内容", "frame") is None, "the post is also a frame")
    content = app.wait_for_focus("帖子内容框")
    text = content.queryText()
    check(text.caretOffset == 0, "the content box opens at offset %d" % text.caretOffset)
    first_line = text.getText(0, -1).split("\n")[0][:12]
    orca.wait_for_speech(lambda s: "帖子内容" in s and first_line in s, mark,
                         what="the dialog and the first line %r" % first_line)
    # A written reply makes Esc ask first; the question is named by its caption.
    app.press("Tab")
    app.wait_for_focus("回帖输入框")
    subprocess.run(["xdotool", "type", "x"], check=True)
    mark = orca.mark()
    app.press("Escape")
    question = wait_until(lambda: find(app.app, role_name="alert"), what="the question")
    check(question.name == "未保存内容", "the question is named %r" % question.name)
    orca.wait_for_speech(lambda s: "未保存内容" in s, mark, what="the question's caption")
    app.press("Return")  # "取消" is the default: the dialog stays
    app.wait_for_focus("回帖输入框")
    app.press("BackSpace", "Escape")
    wait_until(lambda: dialog.getState().contains(pyatspi.STATE_DEFUNCT)
               or find(app.app, "帖子内容", "dialog") is None, what="the dialog to close")


def walk_personal_centre(app, orca):
    """The personal centre is heard as "个人中心 对话框", then the focused
    row of its function list; no record tab is taken for the focus on the
    way, and the header lines do not name the function box."""
    mark = orca.mark()
    activate(app, "个人中心")
    dialog = wait_until(lambda: find(app.app, "个人中心", "dialog"), what="the personal centre as a dialog")
    app.wait_for_focus("个人中心功能列表", "table")
    said = orca.wait_for_speech(lambda s: "与我相关" in s, mark, what="the first function")
    # Orca's words follow the session's language: 对话框 or dialog.
    role_word = next((w for w in ("对话框", "dialog") if ("个人中心 " + w) in said), None)
    check(role_word is not None, "the dialog was not announced: %r" % said)
    check(said.find("个人中心 " + role_word) < said.find("与我相关"),
          "the dialog came after its list: %r" % said)
    check("售出物品" not in said, "a record tab was heard as the focus: %r" % said)
    box = find(dialog, "功能导航")
    check(box is not None, "the function box is not named 功能导航")
    # Neither the box nor the record tabs after it take a text before them
    # for their label.
    for node, own in ((box, "功能导航"), (find(dialog, "记录分类", "page tab list"), "记录分类")):
        for relation in node.getRelationSet():
            if relation.getRelationType() == pyatspi.RELATION_LABELLED_BY:
                labels = [relation.getTarget(i).name for i in range(relation.getNTargets())]
                check(labels in ([], [own]), "%s is labelled by %r" % (own, labels))
    check("回帖数" not in said and "发帖数" not in said, "a header line named a box: %r" % said)
    app.press("Escape")
    wait_until(lambda: dialog.getState().contains(pyatspi.STATE_DEFUNCT)
               or find(app.app, "个人中心", "dialog") is None, what="the personal centre to close")
    app.wait_for_focus("功能列表")


def main(exe, server_binary):
    manager = start_window_manager()
    orca = OrcaSession()
    try:
        orca.start()
    except OrcaUnavailable as reason:
        print("Orca cannot start here (%s); checking AT-SPI only" % reason, file=sys.stderr)
        orca.stop()
        orca = None
    try:
        walk(exe, server_binary, orca or Silent())
    finally:
        if orca:
            orca.stop()
        stop_process(manager)
    if orca is None:
        return SKIPPED
    print("screen reader walk passed")
    return 0


def walk(exe, server_binary, orca):
    focus = Focus()
    with LocalForum(server_binary) as forum:
        program = Program(exe)
        name_server(program, forum.port)
        log_in_automatically(program, "13800000001", "user123")
        with program as app:
            app.focus_window()
            app.wait_for_focus("功能列表")
            home = wait_for_rows(app, lambda r: "读屏软件交流" in r and r[0].startswith("个人中心（"),
                                 "the logged-in home view")
            walk_selector(app, orca)

            enter_row(app, orca, focus, "读屏软件交流", "帖子列表 - 读屏软件交流")
            enter_row(app, orca, focus, NVDA_POST, "楼层列表 - " + NVDA_POST,
                      "查看楼主：" + NVDA_POST)
            walk_post(app, orca)
            # Backspace refills the list too: the post list's row is heard.
            mark, seen = orca.mark(), focus.mark()
            app.press("BackSpace")
            wait_for_label(app, "帖子列表 - 读屏软件交流")
            back_row = wait_for_rows(app, lambda r: any(x.startswith(NVDA_POST) for x in r),
                                     "the posts again")[0]
            focus.wait_for_row(back_row, seen)
            orca.wait_for_speech(lambda s: back_row in s, mark, what="the row %r" % back_row)

            # Paging rows refill the list in place.
            app.press("BackSpace")
            wait_for_label(app, "版块列表")
            enter_row(app, orca, focus, "综合讨论", "帖子列表 - 综合讨论")
            enter_row(app, orca, focus, "下一页", "帖子列表 - 综合讨论",
                      ready=lambda r: "当前共 2 页，第 2 页，共 27 条" in r)

            # The music levels: Alt+2 shows them with the list focused.
            mark, seen = orca.mark(), focus.mark()
            app.press("alt+2")
            wait_for_label(app, "本地音乐")
            music_row = wait_for_rows(app, lambda r: len(r) > 0, "the music rows")[0]
            focus.wait_for_row(music_row, seen)
            orca.wait_for_speech(lambda s: music_row in s, mark, what="the row %r" % music_row)
            app.press("alt+1")
            wait_for_label(app, "帖子列表 - 综合讨论")

            app.press("BackSpace")
            wait_for_rows(app, lambda r: r[:len(home)] == home, "the home view again")
            walk_personal_centre(app, orca)

            # A failure box says its caption, not the toolkit's word "Error".
            app.press("BackSpace")
            wait_for_rows(app, lambda r: r[:len(home)] == home, "the home view again")
            forum.stop()
            mark = orca.mark()
            activate(app, "热门帖子")
            box = wait_until(lambda: find(app.app, role_name="alert"), what="the failure box")
            check(box.name == "获取热门帖子失败", "the failure box is named %r" % box.name)
            said = orca.wait_for_speech(lambda s: "获取热门帖子失败" in s, mark,
                                        what="the failure box's caption")
            check("Error" not in said, "Orca said %r" % said)
            app.press("Return")
            app.wait_for_focus("功能列表")


if __name__ == "__main__":
    run_checks(main, sys.argv[1], sys.argv[2])
