"""The output-device switch of the real program as a screen reader meets it:
with a song playing on the first of two sound devices, Ctrl+Shift+PageDown
moves the sound to the second, and the words "已切换播放设备：Beta。" reach
the accessibility bus as a notification that appears (what Orca speaks)
and as the status bar's name.

Two devices are two null sinks of a private PulseAudio server; when that
server cannot start here the check is skipped (exit code 77) with a note.

Usage: test_music_devices.py PATH_TO_QUILLERY PATH_TO_LOCAL_FORUM
"""
import os
import shutil
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import pyatspi  # noqa: E402
from atspi_helpers import CheckFailed, Program, check, pump, wait_until, run_checks  # noqa: E402
from forum_atspi import LocalForum, name_server, rows, wait_for_label, wait_for_rows  # noqa: E402

SKIP = 77
SWITCHED = "已切换播放设备：Beta。"


class PulseSinks:
    """A private PulseAudio server with the sinks "Alpha" and "Beta"."""

    def __init__(self):
        self.folder = tempfile.mkdtemp(prefix="quillery-pulse-")
        socket_path = os.path.join(self.folder, "native")
        self.server = "unix:" + socket_path
        env = dict(os.environ, XDG_RUNTIME_DIR=self.folder, HOME=self.folder)
        for name in ("DBUS_SESSION_BUS_ADDRESS", "DISPLAY"):
            env.pop(name, None)
        self.process = None
        if shutil.which("pulseaudio") is None:
            return
        self.process = subprocess.Popen(
            ["pulseaudio", "-n", "--daemonize=no", "--exit-idle-time=-1", "--use-pid-file=no",
             "--disable-shm=yes",
             "-L", "module-native-protocol-unix auth-anonymous=1 socket=" + socket_path,
             "-L", "module-null-sink sink_name=a sink_properties=device.description=Alpha",
             "-L", "module-null-sink sink_name=b sink_properties=device.description=Beta"],
            env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        deadline = time.monotonic() + 5
        while time.monotonic() < deadline and self.process.poll() is None:
            if "b\t" in self.pactl("list short sinks"):
                return
            time.sleep(0.05)
        self.stop()

    def available(self):
        return self.process is not None and self.process.poll() is None

    def pactl(self, args):
        out = subprocess.run(["pactl"] + args.split(), capture_output=True, text=True,
                             env=dict(os.environ, PULSE_SERVER=self.server))
        return out.stdout

    def sinks_of_streams(self):
        """The sink name of every playing stream, e.g. "a"."""
        names = {}
        for line in self.pactl("list short sinks").splitlines():
            fields = line.split("\t")
            names[fields[0]] = fields[1]
        return "".join(names.get(line.split("\t")[1], "?")
                       for line in self.pactl("list short sink-inputs").splitlines())

    def stop(self):
        if self.process is not None and self.process.poll() is None:
            self.process.kill()
            self.process.wait()
        self.process = None
        shutil.rmtree(self.folder, ignore_errors=True)


def write_profile(program, port, song):
    name_server(program, port)
    settings = os.path.join(program.env["XDG_DATA_HOME"], "澄川论坛", "settings.ini")
    with open(settings, "a", encoding="utf-8") as ini:
        ini.write("[localMusic]\nglobalHotkeysEnabled=0\nplayMode=0\nplaylistCount=1\nalbumCount=0\n")
        ini.write("[localMusic/playlist]\n0=%s\n" % song)


def main(exe, server_binary):
    sinks = PulseSinks()
    if not sinks.available():
        print("SKIPPED: pulseaudio cannot be started here, so there are not two devices to switch")
        return SKIP
    media = tempfile.mkdtemp(prefix="quillery-media-")
    heard = []

    def on_event(event):
        try:
            if event.type.startswith("object:property-change:accessible-name"):
                # The new name travels with the event; the 500 ms player tick
                # may already have rewritten the status bar by the time we look.
                if event.any_data == SWITCHED:
                    heard.append((event.type, event.source.getRoleName(), 1))
            elif event.source is not None and event.source.name == SWITCHED:
                heard.append((event.type, event.source.getRoleName(), event.detail1))
        except Exception:
            pass

    try:
        song = os.path.join(media, "晚风.wav")
        subprocess.run(["sox", "-n", "-r", "44100", "-c", "2", song, "synth", "30", "sine", "440"],
                       check=True)
        with LocalForum(server_binary) as forum:
            program = Program(exe, env={"PULSE_SERVER": sinks.server})
            write_profile(program, forum.port, song)
            with program as app:
                app.focus_window()
                app.wait_for_focus("功能列表")
                app.press("alt+2")
                wait_for_label(app, "本地音乐")
                wait_for_rows(app, lambda r: r[:1] == ["播放列表（1首）"], "the music overview")
                check("设备：Alpha。" in app.status_text(), "status reads %r" % app.status_text())
                app.press("Return")
                wait_for_label(app, "播放列表")
                app.press("Return")
                wait_for_rows(app, lambda r: r[:1] == ["▶ 晚风 | 播放列表"], "the song playing")
                wait_until(lambda: sinks.sinks_of_streams() == "a", what="the sound on Alpha")

                pyatspi.Registry.registerEventListener(
                    on_event, "object:state-changed:showing", "object:announcement",
                    "object:property-change:accessible-name")
                try:
                    app.press("ctrl+shift+Next")
                    wait_until(lambda: any(kind.startswith("object:state-changed:showing") and
                                           role == "notification" and shown
                                           for kind, role, shown in heard),
                               what="a notification %r that appears" % SWITCHED)
                    wait_until(lambda: any(kind.startswith("object:property-change:accessible-name") and
                                           role == "status bar" for kind, role, _ in heard),
                               what="the status bar renamed %r" % SWITCHED)
                finally:
                    pyatspi.Registry.deregisterEventListener(
                        on_event, "object:state-changed:showing", "object:announcement",
                        "object:property-change:accessible-name")
                check(app.status_bar().description == SWITCHED,
                      "status bar description is %r" % app.status_bar().description)
                wait_until(lambda: sinks.sinks_of_streams() == "b", what="the sound on Beta")
                pump()
    finally:
        sinks.stop()
        shutil.rmtree(media, ignore_errors=True)
    print("device switch announced: %s" % sorted(set(kind for kind, _, _ in heard)))
    return 0


if __name__ == "__main__":
    run_checks(main, sys.argv[1], sys.argv[2])
