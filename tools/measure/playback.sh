#!/usr/bin/env bash
# Measures the windowed program while a 20,000-cue show plays with autoscroll on Qt's
# offscreen platform at 1920x1080: the whole process's CPU share (every thread) over 10 s,
# after the playback has run for about 3 s. The show is made with the command-line program:
# 20,000 pyro cues spread over a 10-minute WAVE file (four cues every three frames), so the
# timeline's waveform, cue layer and autoscroll all work while the audio plays on the silent
# device.
#
#   tools/measure/playback.sh BUILD_DIR
set -euo pipefail
source "$(dirname "$0")/setup.sh"

python3 - "$work/show.wav" <<'PY'
import math, struct, sys, wave
rate, seconds = 44100, 600
with wave.open(sys.argv[1], "wb") as out:
    out.setnchannels(2)
    out.setsampwidth(2)
    out.setframerate(rate)
    # One second of a swelling two-tone pattern, repeated: enough shape for the envelope.
    second = bytearray()
    for i in range(rate):
        t = i / rate
        level = 0.2 + 0.7 * abs(math.sin(math.pi * t * 2))
        v = int(32767 * level * (0.6 * math.sin(2 * math.pi * 110 * t) + 0.4 * math.sin(2 * math.pi * 3000 * t)))
        second += struct.pack("<hh", v, -v)
    for _ in range(seconds):
        out.writeframes(second)
PY
"$cli" new --format 25 "$work/empty.fwp" >/dev/null
awk -v wav="$work/show.wav" 'BEGIN { printf "link-wave %s\n", wav
       for (i = 0; i < 20000; i++) {
         f = int(i * 3 / 4); printf "add-pyro %02d:%02d:%02d:%02d\n", f / 90000, (f / 1500) % 60, (f / 25) % 60, f % 25 } }' \
  > "$work/ops.txt"
"$cli" edit "$work/empty.fwp" --ops "$work/ops.txt" --out "$work/show.fwp" >/dev/null

# Command 28 starts the playback; autoscroll is on by default. Measured twice: the whole
# show fitted in the timeline, and zoomed in (command 67, twenty times) to some 7 s in view,
# so that autoscroll jumps every few seconds.
hz=$(getconf CLK_TCK)
measure() {  # LABEL ZOOM-STEPS
  { echo "wait 1000"; for _ in $(seq "$2"); do echo "command 67"; done
    printf 'command 28\nwait 16000\n'; } > "$work/play.txt"
  "$program" "$work/show.fwp" --audio silent --size 1920x1080 --script "$work/play.txt" 2>/dev/null &
  pid=$!
  sleep 4
  read_ticks() { local stat; stat=$(cat "/proc/$pid/stat"); echo "${stat##*) }" | awk '{ print $12 + $13 }'; }
  ticks0=$(read_ticks)
  sleep 10
  ticks1=$(read_ticks)
  wait "$pid" || true
  echo "playing, 20,000 cues, autoscroll, 1920x1080, $1: process CPU $(awk -v t=$((ticks1 - ticks0)) -v hz="$hz" 'BEGIN { printf "%.1f", 100 * t / hz / 10 }') % of a core"
}
measure "whole show in view" 0
measure "some 7 s in view" 20
