#!/bin/sh
# Runs a program in real X windows on a virtual display: Qt's xcb platform under xvfb-run.
#
#   RunUnderXvfb.sh PROGRAM [ARGUMENTS...]
#
# Exits 77, which the tests count as skipped, when xvfb-run is not installed. Under the
# sanitizers, what the X, keyboard and D-Bus libraries leave behind or read is not the
# program's: their leaks are suppressed, and the strict checks of string arguments (which
# libxkbcommon's unterminated strndup trips) are off for this run.
if ! command -v xvfb-run >/dev/null 2>&1; then
    echo "SKIPPED: xvfb-run is not installed"
    exit 77
fi
here=$(cd "$(dirname "$0")" && pwd)
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}strict_string_checks=0"
export LSAN_OPTIONS="${LSAN_OPTIONS:+$LSAN_OPTIONS:}suppressions=$here/XvfbLeakSuppressions.txt"
exec xvfb-run -a -s "-screen 0 1920x1600x24" env QT_QPA_PLATFORM=xcb "$@"
