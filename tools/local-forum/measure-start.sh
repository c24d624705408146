#!/usr/bin/env bash
# Time from launch to "listening on" for a fresh database: without media,
# with seed media generated, and with the media taken from a cache.
#   bash tools/local-forum/measure-start.sh [BUILD_DIR]   (default build)
set -euo pipefail
bin="${1:-build}/tools/local-forum/local-forum"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

run() {  # name, extra options...
  local name=$1; shift
  local start end pid
  start=$(date +%s%N)
  "$bin" --db "$work/$name.db" --files "$work/$name-files" --port 0 "$@" >"$work/$name.log" 2>&1 &
  pid=$!
  until grep -q '^listening on' "$work/$name.log" 2>/dev/null; do sleep 0.005; done
  end=$(date +%s%N)
  kill "$pid"; wait "$pid" || true
  printf '%-28s %5d ms\n' "$name" $(( (end - start) / 1000000 ))
}

run seed-without-media --no-media
run seed-generating-media --media-cache "$work/cache"
run seed-with-cached-media --media-cache "$work/cache"
# Reopening a seeded database skips seeding altogether.
cp "$work/seed-without-media.db" "$work/reopen.db"
run reopen --no-media
