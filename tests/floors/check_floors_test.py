#!/usr/bin/env python3
"""The floor check refuses a tiny tree with one upward include and passes the
same tree without it."""
import os
import subprocess
import sys
import tempfile

SCRIPT = sys.argv[1]


def write(path, text):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "w", encoding="utf-8") as f:
        f.write(text)


def run(src):
    return subprocess.run([sys.executable, SCRIPT, src], capture_output=True, text=True)


with tempfile.TemporaryDirectory() as src:
    write(f"{src}/FLOORS", "# lowest first\nlow side\nhigh\n")
    write(f"{src}/low/a.h", '#pragma once\n#include "side/b.h"\n')
    write(f"{src}/side/b.h", '#pragma once\n#include <vector>\n')
    write(f"{src}/high/c.cpp", '#include "low/a.h"\n#include "side/b.h"\n')
    ok = run(src)
    assert ok.returncode == 0, ok.stdout + ok.stderr

    write(f"{src}/low/up.cpp", '#include "low/a.h"\n\n  #  include "high/c.h"\n')
    up = run(src)
    assert up.returncode == 1, up.stdout
    assert "low/up.cpp:3:" in up.stdout and '"high/"' in up.stdout, up.stdout
    assert "a.h" not in up.stdout and "c.cpp" not in up.stdout, up.stdout

    os.remove(f"{src}/low/up.cpp")
    write(f"{src}/stray/d.cpp", '#include "low/a.h"\n')
    stray = run(src)
    assert stray.returncode == 1 and "stray" in stray.stdout, stray.stdout

print("check-floors self-test passed")
