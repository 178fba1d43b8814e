#!/usr/bin/env bash
# Sets up, builds and starts Skyfirewright. Arguments are passed to the program.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
build_dir=$("$root/scripts/build.sh" skyfirewright-cli | tail -n 1)

cli="$build_dir/tools/cli/skyfirewright-cli"
if [ $# -gt 0 ]; then
  exec "$cli" "$@"
fi
# Until the windowed program exists, show the command-line program.
"$cli" help
echo
echo "\$ skyfirewright-cli timecode --format 25 --frames 90000"
"$cli" timecode --format 25 --frames 90000
