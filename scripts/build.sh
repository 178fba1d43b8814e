#!/usr/bin/env bash
# Configures and builds into a build folder: build/ by default, build-sanitize/ with
# SKYFIREWRIGHT_SANITIZE=1 (AddressSanitizer and UndefinedBehaviorSanitizer).
# Arguments name the targets to build (default: everything).
# Prints the build folder on its last line.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

build_dir="$root/build"
options=()
if [ "${SKYFIREWRIGHT_SANITIZE:-0}" = "1" ]; then
  build_dir="$root/build-sanitize"
  options+=(-DSKYFIREWRIGHT_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug)
fi

if [ ! -f "$build_dir/build.ninja" ]; then
  cmake -S "$root" -B "$build_dir" -G Ninja "${options[@]}" >/dev/null
fi
targets=()
for t in "$@"; do targets+=(--target "$t"); done
cmake --build "$build_dir" "${targets[@]}" -- -j"$(nproc)" >&2
echo "$build_dir"
