"""Orca itself, headless with speech and braille off, for tests that check
what a blind user hears: every utterance lands in Orca's debug log as a
"SPEECH OUTPUT: '…'" line, which these helpers read.

Orca must run in its own D-Bus session and display (scripts/with-display),
never beside other tests: it follows whatever has the focus there.

    with OrcaSession() as orca:
        mark = orca.mark()
        app.press("Return")
        orca.wait_for_speech(lambda said: "热门帖子" in said, mark)
"""
import os
import re
import shutil
import subprocess
import tempfile
import time

from atspi_helpers import CheckFailed, stop_process

HERE = os.path.dirname(os.path.abspath(__file__))
# An utterance may span lines; Orca appends the voice after the quote.
SPOKEN = re.compile(r"SPEECH OUTPUT: '(.*?)'\s*(?:\{|voice=|\n\d\d:\d\d:\d\d|\Z)", re.S)
# Orca starts in well under ten seconds here; a loaded CI machine gets more.
START_TIMEOUT = 60.0


class OrcaUnavailable(Exception):
    """Orca is not installed or cannot start in this session."""


class OrcaSession:
    def __init__(self):
        self.folder = tempfile.mkdtemp(prefix="quillery-orca-")
        self.log_path = os.path.join(self.folder, "orca.log")
        self.process = None

    def start(self):
        if not os.path.exists("/usr/bin/orca"):
            raise OrcaUnavailable("/usr/bin/orca is not installed")
        prefs = os.path.join(self.folder, "prefs")
        os.makedirs(prefs)
        env = dict(os.environ)
        env.pop("NO_AT_BRIDGE", None)
        self.stderr = open(os.path.join(self.folder, "orca.err"), "w")
        self.process = subprocess.Popen(
            ["/usr/bin/python3", os.path.join(HERE, "orca_run.py"), "-u", prefs,
             "-d", "speech", "-d", "braille", "--debug-file", self.log_path],
            env=env, stdout=subprocess.DEVNULL, stderr=self.stderr)
        deadline = time.monotonic() + START_TIMEOUT
        while time.monotonic() < deadline:
            if self.process.poll() is not None:
                raise OrcaUnavailable("orca exited with %s: %s" % (
                    self.process.returncode, self._tail("orca.err")))
            if self._logged("ORCA: Startup complete"):
                return self
            time.sleep(0.1)
        raise OrcaUnavailable("orca did not start within %d s: %s" % (
            START_TIMEOUT, self._tail("orca.log")))

    def _tail(self, name):
        try:
            with open(os.path.join(self.folder, name), encoding="utf-8", errors="replace") as f:
                return f.read()[-600:]
        except OSError:
            return ""

    def _logged(self, text):
        try:
            with open(self.log_path, encoding="utf-8", errors="replace") as log:
                return text in log.read()
        except OSError:
            return False

    def stop(self):
        # Orca ignores SIGTERM while idle; it holds nothing worth a clean exit.
        if self.process is not None and self.process.poll() is None:
            self.process.kill()
            self.process.wait()
        if getattr(self, "stderr", None):
            self.stderr.close()
        if os.environ.get("QUILLERY_KEEP_ORCA_LOG"):
            print("orca log kept in", self.log_path)
        else:
            shutil.rmtree(self.folder, ignore_errors=True)

    def __enter__(self):
        return self.start()

    def __exit__(self, *exc):
        self.stop()
        return False

    # -- what was said ---------------------------------------------------
    def mark(self):
        """A position in the log: what is said after it is what comes next."""
        try:
            return os.path.getsize(self.log_path)
        except OSError:
            return 0

    def utterances(self, since):
        """Every utterance written to the log after `since`, in order."""
        try:
            with open(self.log_path, "rb") as log:
                log.seek(since)
                text = log.read().decode("utf-8", errors="replace")
        except OSError:
            return []
        return [m.group(1) for m in SPOKEN.finditer(text)]

    def wait_for_speech(self, predicate, since, timeout=20.0, what="speech"):
        """Waits until `predicate` holds for the text said after `since`
        (utterances joined by newlines); returns that text."""
        deadline = time.monotonic() + timeout
        while True:
            said = "\n".join(self.utterances(since))
            if predicate(said):
                return said
            if time.monotonic() > deadline:
                raise CheckFailed("Orca did not say %s; it said %r" % (what, said))
            time.sleep(0.1)
