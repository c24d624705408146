#!/usr/bin/env bash
# Writes the five sound cues into the folder given as $1. Each is a short,
# soft chime made of plucked notes, so they stay pleasant when heard
# hundreds of times a day and stay apart from each other by their melody:
#   zr.wav start      rising major triad
#   jr.wav enter      one quick rising step
#   fh.wav back       one quick falling step
#   yj.wav menu       two soft equal notes
#   tc.wav exit       falling major triad
set -euo pipefail
out=${1:?usage: make-cues.sh OUTPUT_DIR}
mkdir -p "$out"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# note NAME LENGTH PITCH: one plucked note with a short fade-in against clicks
note() {
  sox -q -n -r 44100 -c 1 -b 16 "$tmp/$1.wav" synth "$2" pluck "$3" fade q 0.004 "$2" 0.05 gain -6
}
# cue FILE NOTE...: joins notes one after another
cue() {
  local file=$1; shift
  sox -q "$@" "$tmp/$file"
  sox -q "$tmp/$file" "$out/$file" norm -4
}

note c5 0.12 C5; note e5 0.12 E5; note g5 0.26 G5
note g5s 0.09 G5; note c6 0.14 C6
note c6s 0.09 C6; note g5e 0.14 G5
note a5 0.08 A5; note a5b 0.12 A5
note g5l 0.12 G5; note e5l 0.12 E5; note c5l 0.32 C5

cue zr.wav "$tmp/c5.wav" "$tmp/e5.wav" "$tmp/g5.wav"
cue jr.wav "$tmp/g5s.wav" "$tmp/c6.wav"
cue fh.wav "$tmp/c6s.wav" "$tmp/g5e.wav"
cue yj.wav "$tmp/a5.wav" "$tmp/a5b.wav"
cue tc.wav "$tmp/g5l.wav" "$tmp/e5l.wav" "$tmp/c5l.wav"
