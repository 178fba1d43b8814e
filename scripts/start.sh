#!/usr/bin/env bash
# Sets up, builds and starts Skyfirewright.
#   scripts/start.sh            opens the demo show (examples/, built into the build tree)
#   scripts/start.sh ARGS...    runs the program with ARGS (a project, effect or preset file)
# Without a display (neither DISPLAY nor WAYLAND_DISPLAY set) and without arguments, the
# main window with the demo show is drawn on Qt's offscreen platform into a PNG whose path
# is printed.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"

if [ ! -f "$root/src/GUIMain/CMakeLists.txt" ]; then
  echo "start: the windowed program (src/GUIMain) is not part of this tree yet;" >&2
  echo "start: the command-line program is built by scripts/build.sh skyfirewright-cli" >&2
  exit 1
fi
# The program's target brings the build tree's program folder (language files, defaults,
# pictures) and the demo show with it.
build_dir=$("$root/scripts/build.sh" skyfirewright | tail -n 1)
# The build writes where it put the program.
program=$(cat "$build_dir/skyfirewright-program.txt")
demo="$build_dir/examples/demo-show.fwp"

if [ $# -gt 0 ]; then
  exec "$program" "$@"
fi
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  exec "$program" "$demo"
fi

echo "start: no display (neither DISPLAY nor WAYLAND_DISPLAY is set); drawing the main window"
echo "start: with the demo show on Qt's offscreen platform instead"
picture="$build_dir/skyfirewright-window.png"
script=$(mktemp)
trap 'rm -f "$script"' EXIT
# A moment first, so that the waveform's analysis has come in.
printf 'wait 1500\nscreenshot %s\nquit\n' "$picture" >"$script"
rm -f "$picture"
status=0
QT_QPA_PLATFORM=offscreen "$program" "$demo" --script "$script" || status=$?
if [ $status -ne 0 ] || [ ! -s "$picture" ]; then
  echo "start: the program could not draw the window (exit status $status)" >&2
  exit $(( status != 0 ? status : 1 ))
fi
echo "start: the main window with the demo show, drawn to:"
echo "$picture"
