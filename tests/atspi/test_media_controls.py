"""The music player on the desktop's media controls, driven as a user's
media keys and scripts drive it: playerctl on the session bus talks to the
real program, and the program's status bar, read through AT-SPI, follows
every command. A `playerctl --follow` listener hears the changes.

Usage: test_media_controls.py PATH_TO_QUILLERY PATH_TO_LOCAL_FORUM
"""
import os
import shutil
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import pyatspi  # noqa: E402
from atspi_helpers import CheckFailed, Program, check, pump, stop_process, wait_until, run_checks  # noqa: E402
from forum_atspi import LocalForum, name_server, wait_for_label  # noqa: E402

SONGS = ["一月", "二月", "三月"]


PLAYER = ["quillery"]


def playerctl(*args):
    out = subprocess.run(["playerctl", "-p", PLAYER[0]] + list(args),
                         capture_output=True, text=True, timeout=10)
    return out.stdout.strip()


def bus_call(dest, path, method, *args):
    out = subprocess.run(["gdbus", "call", "--session", "--dest", dest, "--object-path", path,
                          "--method", method] + list(args), capture_output=True, text=True, timeout=10)
    return out.stdout


def own_player(pid):
    """The MPRIS player name our program owns. Other window tests on the
    same bus may hold the plain name; ours is then quillery.instance<pid>."""
    names = bus_call("org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus.ListNames")
    for name in names.replace("(", "").replace(")", "").replace("[", "").replace("]", "").split(","):
        name = name.strip().strip("'")
        if not name.startswith("org.mpris.MediaPlayer2.quillery"):
            continue
        owner = bus_call("org.freedesktop.DBus", "/org/freedesktop/DBus",
                         "org.freedesktop.DBus.GetConnectionUnixProcessID", name)
        if owner.strip() == "(uint32 %d,)" % pid:
            return name[len("org.mpris.MediaPlayer2."):]
    return None


def wait_for(what, predicate):
    return wait_until(predicate, what=what)


def make_songs(folder):
    paths = []
    for name in SONGS:
        path = os.path.join(folder, name + ".wav")
        subprocess.run(["sox", "-n", "-r", "22050", "-c", "1", path, "synth", "20", "sine", "330"],
                       check=True)
        paths.append(path)
    return paths


def write_profile(program, port, songs):
    name_server(program, port)
    settings = os.path.join(program.env["XDG_DATA_HOME"], "澄川论坛", "settings.ini")
    with open(settings, "a", encoding="utf-8") as ini:
        ini.write("[localMusic]\nglobalHotkeysEnabled=0\nplayMode=0\nplaylistCount=%d\nalbumCount=0\n"
                  % len(songs))
        ini.write("[localMusic/playlist]\n")
        for i, song in enumerate(songs):
            ini.write("%d=%s\n" % (i, song))
    return settings


def main(exe, server_binary):
    if shutil.which("playerctl") is None:
        raise CheckFailed("playerctl is not installed (scripts/setup installs it)")
    media = tempfile.mkdtemp(prefix="quillery-mpris-")
    follower = None
    try:
        songs = make_songs(media)
        extra = os.path.join(media, "四月.wav")
        shutil.copy(songs[0], extra)
        with LocalForum(server_binary) as forum:
            program = Program(exe, env={"PULSE_SERVER": "unix:/nonexistent"}, keep_profile=True)
            settings = write_profile(program, forum.port, songs)
            try:
                with program as app:
                    app.focus_window()
                    app.wait_for_focus("功能列表")
                    app.press("alt+2")
                    wait_for_label(app, "本地音乐")
                    PLAYER[0] = wait_for("the player on the bus", lambda: own_player(program.process.pid))
                    check(playerctl("status") == "Stopped", "status %r" % playerctl("status"))
                    check(playerctl("metadata", "mpris:trackid").strip("'") == "/org/mpris/MediaPlayer2/TrackList/NoTrack",
                          "no track: %r" % playerctl("metadata", "mpris:trackid"))
                    follower = subprocess.Popen(["playerctl", "-p", PLAYER[0], "--follow", "status"],
                                                stdout=subprocess.PIPE, text=True)

                    # A command's own line lasts until the next status tick,
                    # so the status bar's renames are collected as they come.
                    names = []

                    def on_rename(event):
                        if isinstance(event.any_data, str):
                            names.append(event.any_data)

                    pyatspi.Registry.registerEventListener(on_rename, "object:property-change:accessible-name")

                    def status_says(text):
                        def heard():
                            pump()
                            return any(text in name for name in names) or text in app.status_text()
                        wait_until(heard, what="status bar with %r (last %r)" % (text, names[-3:]))
                        del names[:]

                    # Play starts the first song as the next-song key would.
                    playerctl("play")
                    wait_for("Playing", lambda: playerctl("status") == "Playing")
                    check(playerctl("metadata", "title") == "一月", "title %r" % playerctl("metadata", "title"))
                    status_says("正在播放：一月")
                    length = playerctl("metadata", "mpris:length")
                    check(length == "20000000", "length %r" % length)
                    check(playerctl("metadata", "xesam:url").startswith("file://"),
                          "url %r" % playerctl("metadata", "xesam:url"))

                    # Next, by each play mode, as the next-song hotkey steps.
                    playerctl("next")
                    wait_for("二月", lambda: playerctl("metadata", "title") == "二月")
                    status_says("正在播放：二月")
                    playerctl("loop", "Track")
                    status_says("模式：单曲循环")
                    check(playerctl("loop") == "Track", "loop %r" % playerctl("loop"))
                    playerctl("position", "10")
                    status_says("正在播放：二月 [00:1")
                    playerctl("next")
                    status_says("正在播放：二月 [00:0")
                    check(playerctl("metadata", "title") == "二月", "repeat one moved on")
                    playerctl("loop", "Playlist")
                    status_says("模式：列表循环")
                    playerctl("next")
                    wait_for("三月", lambda: playerctl("metadata", "title") == "三月")
                    playerctl("next")
                    wait_for("wrapped to 一月", lambda: playerctl("metadata", "title") == "一月")
                    playerctl("loop", "None")
                    status_says("模式：按顺序播放")
                    check(playerctl("previous") == "" and playerctl("metadata", "title") == "一月",
                          "previous before the first song in order moved")
                    playerctl("shuffle", "On")
                    status_says("模式：随机播放")
                    check(playerctl("shuffle") == "On", "shuffle %r" % playerctl("shuffle"))
                    playerctl("next")
                    wait_for("a random other song", lambda: playerctl("metadata", "title") in ("二月", "三月"))
                    playerctl("shuffle", "Off")
                    status_says("模式：按顺序播放")

                    # Volume as the volume keys set it; position and seeking.
                    playerctl("volume", "0.5")
                    status_says("当前音量 50%。")
                    check(abs(float(playerctl("volume")) - 0.5) < 0.01, "volume %r" % playerctl("volume"))
                    playerctl("pause")
                    wait_for("Paused", lambda: playerctl("status") == "Paused")
                    status_says("已暂停：")
                    playerctl("position", "12")
                    wait_for("position 12 s", lambda: abs(float(playerctl("position") or 0) - 12) < 0.5)
                    status_says("[00:12/00:20]")
                    playerctl("play-pause")
                    wait_for("Playing again", lambda: playerctl("status") == "Playing")
                    playerctl("stop")
                    wait_for("Stopped", lambda: playerctl("status") == "Stopped")

                    # A local file opens into the playlist and plays; a web address does not.
                    playerctl("open", "file://" + extra)
                    wait_for("四月", lambda: playerctl("metadata", "title") == "四月")
                    status_says("正在播放：四月")
                    before = playerctl("metadata", "title")
                    playerctl("open", "http://127.0.0.1:9/x.mp3")
                    check(playerctl("metadata", "title") == before, "a web address was opened")

                    # Quit closes the window as its close box does: settings saved.
                    bus_call("org.mpris.MediaPlayer2." + PLAYER[0], "/org/mpris/MediaPlayer2",
                             "org.mpris.MediaPlayer2.Quit")
                    wait_for("the program to exit", lambda: program.process.poll() is not None)
                    check(program.process.returncode == 0, "exit code %r" % program.process.returncode)
                with open(settings, encoding="utf-8") as ini:
                    saved = ini.read()
                check("playlistCount=4" in saved and "四月.wav" in saved, "settings after Quit:\n" + saved)
            finally:
                shutil.rmtree(program.profile, ignore_errors=True)
        stop_process(follower)
        heard = follower.stdout.read().split()
        check("Playing" in heard and "Paused" in heard and "Stopped" in heard,
              "the follower heard %r" % heard)
        print("media controls: follower heard %s" % heard)
        return 0
    finally:
        stop_process(follower)
        shutil.rmtree(media, ignore_errors=True)


if __name__ == "__main__":
    run_checks(main, sys.argv[1], sys.argv[2])
