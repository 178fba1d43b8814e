#!/usr/bin/env bash
# Measures the windowed program on Qt's offscreen platform:
#   - start to the first painted main window with a show open (warm: the third of three runs;
#     the time includes closing the program, so it is an upper bound);
#   - idle with a 20,000-cue show open and stopped: the main thread's CPU share and its
#     wake-ups (voluntary context switches) a second, over 10 s after a 3 s settling time.
#
#   tools/measure/window.sh BUILD_DIR [SHOW.fwp]
#
# Without SHOW.fwp a 20,000-cue show is made with the command-line program.
set -euo pipefail
source "$(dirname "$0")/setup.sh"

show="${2:-}"
if [ -z "$show" ]; then
  show="$work/show20000.fwp"
  "$cli" new --format 25 "$work/empty.fwp" >/dev/null
  awk 'BEGIN { for (i = 0; i < 20000; i++) {
         f = i * 5; printf "add-pyro %02d:%02d:%02d:%02d\n", f / 90000, (f / 1500) % 60, (f / 25) % 60, f % 25 } }' \
    > "$work/ops.txt"
  "$cli" edit "$work/empty.fwp" --ops "$work/ops.txt" --out "$show" >/dev/null
fi

printf 'screenshot %s\n' "$work/first.png" > "$work/start.txt"
for run in 1 2 3; do
  start=$(date +%s%N)
  "$program" "$show" --audio silent --script "$work/start.txt" 2>/dev/null
  end=$(date +%s%N)
done
echo "start to first painted window and close (warm): $(( (end - start) / 1000000 )) ms"

printf 'wait 16000\n' > "$work/idle.txt"
"$program" "$show" --audio silent --script "$work/idle.txt" 2>/dev/null &
pid=$!
sleep 3
read_main() {  # utime+stime in clock ticks, voluntary context switches of the main thread
  local stat ticks switches
  stat=$(cat "/proc/$pid/task/$pid/stat")
  ticks=$(echo "${stat##*) }" | awk '{ print $12 + $13 }')
  switches=$(awk '/^voluntary_ctxt_switches/ { print $2 }' "/proc/$pid/task/$pid/status")
  echo "$ticks $switches"
}
read -r ticks0 switches0 < <(read_main)
sleep 10
read -r ticks1 switches1 < <(read_main)
wait "$pid" || true
hz=$(getconf CLK_TCK)
echo "idle, 20,000 cues, stopped: main thread CPU $(awk -v t=$((ticks1 - ticks0)) -v hz="$hz" 'BEGIN { printf "%.2f", 100 * t / hz / 10 }') % of a core, $(awk -v s=$((switches1 - switches0)) 'BEGIN { printf "%.1f", s / 10 }') wake-ups a second"
