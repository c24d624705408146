"""Uploading from the composer in the real program against the local forum
with the keyboard alone: a member opens a new post, opens "插入" with Enter
below its button, chooses "插入音频", types the file's path into the file
chooser, names it, and the upload adds it to the summary; "发布设置" opens
with Space and its check item shows its state; the post is
published, opened in the post detail window, and its audio plays from the
server's copy.

Usage: test_composer_uploads.py PATH_TO_QUILLERY PATH_TO_LOCAL_FORUM
"""
import os
import shutil
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from atspi_helpers import CheckFailed, Program, check, descendants, find, role, wait_until, run_checks  # noqa: E402
from forum_atspi import LocalForum, activate, dismiss_box, name_server, wait_for_label, wait_for_rows  # noqa: E402
from test_forum_writing import (choose_menu_item, focus_dialog, logged_in_at_home, menu_items, publish_and_return_home,  # noqa: E402
                                shown_items, type_text)

import pyatspi  # noqa: E402

SECTION = "综合讨论"
TITLE = "Upload post 上传音频"
NAME = "test tone 测试音"


def extents(node):
    return node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)


def summary_text(app):
    box = app.find("资源与售价摘要", "text")
    text = box.queryText()
    return text.getText(0, text.characterCount)


def choose_file(app, chooser, path):
    """Types `path` into the file chooser titled `chooser` (Ctrl+L takes a
    typed path) and returns the name prompt that follows."""
    focus_dialog(app, chooser)
    app.press("ctrl+l")
    time.sleep(0.3)
    type_text(path)
    app.press("Return")
    return wait_until(lambda: find(app.app, "请输入显示名称或描述。", "text", showing_only=True),
                      what="the name prompt")


def insert_audio(app, path):
    app.press("Tab")
    button = app.wait_for_focus("插入", "push button")
    app.press("Return")
    items = menu_items(app)
    check(items == ["插入链接", "插入图片", "插入音频", "插入视频", "插入附件"], "the insert menu offers %r" % items)
    # The menu opens at the button's left edge, directly below it.
    menu = wait_until(lambda: find(app.app, role_name="menu", showing_only=True) or None, what="the menu")
    b, m = extents(button), extents(menu)
    check(abs(m.x - b.x) <= 2 and abs(m.y - (b.y + b.height)) <= 2,
          "the menu at %r, the button at %r" % ((m.x, m.y), (b.x, b.y, b.height)))
    choose_menu_item(app, "插入音频")
    prompt = choose_file(app, "选择音频", path)
    text = prompt.queryText()
    check(text.getText(0, text.characterCount) == os.path.basename(path),
          "the name prompt offers %r" % text.getText(0, text.characterCount))
    focus_dialog(app, "选择音频")
    app.press("ctrl+a")
    type_text(NAME)
    app.press("Return")
    said = dismiss_box(app, "提示", timeout=60)
    check("%s 已加入发帖内容。" % NAME in said, "the upload was added: %r" % said)
    summary = summary_text(app)
    check("音频：1 个" in summary and NAME in summary, "the summary lists the audio: %r" % summary)


def menu_item(app, name):
    return wait_until(lambda: next((n for n in shown_items(app) if n.name == name), None),
                      what="the menu item %r" % name)


def publishing_settings(app):
    """Space opens "发布设置"; its check item keeps and shows its state."""
    app.press("Tab")
    app.wait_for_focus("发布设置", "push button")
    app.press("space")
    items = menu_items(app)
    check(items == ["微信通知", "设置悬赏分", "设置付费阅读金额", "设置商品价格", "富文本模式"],
          "the publishing menu offers %r" % items)
    check(not menu_item(app, "微信通知").getState().contains(pyatspi.STATE_CHECKED), "notify starts off")
    choose_menu_item(app, "微信通知")
    app.wait_for_focus("发布设置", "push button")
    app.press("space")
    wait_until(lambda: menu_item(app, "微信通知").getState().contains(pyatspi.STATE_CHECKED),
               what="微信通知 checked")
    app.press("Escape")
    app.wait_for_focus("发布设置", "push button")


def write_post(app, path):
    activate(app, "发新帖")
    focus_dialog(app, "发新帖")
    app.wait_for_focus("板块选择框")
    app.press("Tab")
    app.wait_for_focus("标题输入框", "text")
    type_text(TITLE)
    app.press("Tab")
    app.wait_for_focus("帖子内容输入框", "text")
    type_text("listen 请听")
    insert_audio(app, path)
    focus_dialog(app, "发新帖")
    app.wait_for_focus("插入", "push button")
    publishing_settings(app)
    app.press("Tab", "Tab", "Tab")
    publish_and_return_home(app)


def play_it(app, forum):
    activate(app, SECTION)
    wait_for_label(app, "帖子列表 - " + SECTION)
    wait_for_rows(app, lambda r: any(x.startswith(TITLE + " | ") for x in r), "the new post")
    activate(app, TITLE + " | ")
    wait_for_label(app, "楼层列表 - " + TITLE)
    activate(app, "查看楼主：")
    focus_dialog(app, "帖子内容")
    media = app.wait_for_focus("帖子媒体列表")
    names = [media.getChildAtIndex(i).name for i in range(media.childCount)]
    check(any(NAME in n for n in names), "the media list reads %r" % names)
    app.press("Return")
    wait_until(lambda: any((node.name or "").startswith("播放状态：播放中") for node in descendants(app.app)
                           if role(node) == "label"), what="the audio to play")
    check(forum.count("/files/") >= 1, "the audio was fetched from the server")


def main(exe, server_binary):
    media = tempfile.mkdtemp(prefix="quillery-upload-")
    try:
        path = os.path.join(media, "TONE.WAV")
        subprocess.run(["sox", "-n", "-r", "22050", "-c", "1", path, "synth", "30", "sine", "440"], check=True)
        with LocalForum(server_binary) as forum:
            program = Program(exe)
            name_server(program, forum.port)
            with program as app:
                logged_in_at_home(app, "13800000001", "user123", "小澄同学")
                write_post(app, path)
                check(forum.count("/api/file", "POST") == 1, "one upload request")
                play_it(app, forum)
    finally:
        shutil.rmtree(media, ignore_errors=True)
    print("composer upload checks passed")


if __name__ == "__main__":
    run_checks(main, sys.argv[1], sys.argv[2])
