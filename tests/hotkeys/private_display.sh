#!/usr/bin/env bash
# Runs a command on an X display of its own. Key grabs and XTEST presses
# are global to an X server, so tests that grab and press keys must not
# share a display with tests that run beside them. Xvfb picks the free
# display number itself (-displayfd), so parallel runs never collide.
set -euo pipefail
dir=$(mktemp -d)
Xvfb -displayfd 5 -screen 0 1280x1024x24 -nolisten tcp 5>"$dir/display" >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null || true; wait $xvfb 2>/dev/null || true; rm -rf "$dir"' EXIT
for _ in $(seq 1 200); do
  [ -s "$dir/display" ] && break
  kill -0 $xvfb 2>/dev/null || break
  sleep 0.05
done
[ -s "$dir/display" ] || { echo "private_display: Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$(head -n1 "$dir/display")"
export GDK_BACKEND=x11
"$@"
