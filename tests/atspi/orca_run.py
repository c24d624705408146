"""Starts Orca with its debug log line-buffered, so a test reads every
utterance as soon as Orca has made it.

Usage: orca_run.py ORCA_ARGUMENTS...   (run with /usr/bin/python3)

Orca opens its debug file block-buffered and refuses to start while any
other process of this user is named "orca" (other test sessions on the same
machine). This runs the real /usr/bin/orca in this process with those two
things changed and nothing else: it keeps its own process name and does not
look for other instances, so parallel sessions on separate buses coexist.
"""
import builtins
import importlib.machinery
import importlib.util
import sys

ORCA = "/usr/bin/orca"

loader = importlib.machinery.SourceFileLoader("orca_launcher", ORCA)
spec = importlib.util.spec_from_loader("orca_launcher", loader)
launcher = importlib.util.module_from_spec(spec)
loader.exec_module(launcher)


def line_buffered_open(file, mode="r", *args, **kwargs):
    if "w" in mode or "a" in mode:
        kwargs["buffering"] = 1
    return builtins.open(file, mode, *args, **kwargs)


launcher.open = line_buffered_open
launcher.otherOrcas = lambda: []
launcher.setProcessName = lambda name: None
sys.argv = [ORCA] + sys.argv[1:]
sys.exit(launcher.main())
