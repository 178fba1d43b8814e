#!/usr/bin/env bash
# Sets up, builds and runs the whole test suite. Under CI (CI set) the tests are built with
# AddressSanitizer and UndefinedBehaviorSanitizer; SKYFIREWRIGHT_SANITIZE=1 does the same
# anywhere.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"

if [ -n "${CI:-}" ]; then
  export SKYFIREWRIGHT_SANITIZE=1
fi
if [ "${SKYFIREWRIGHT_SANITIZE:-0}" = "1" ]; then
  export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1:strict_string_checks=1}
  export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
fi

build_dir=$("$root/scripts/build.sh" | tail -n 1)
ctest --test-dir "$build_dir" --output-on-failure -j"$(nproc)" "$@"

# Under CI every reader of untrusted bytes is also fuzzed for a bounded time.
if [ -n "${CI:-}" ]; then
  FUZZ_SECONDS=${FUZZ_SECONDS:-30} "$root/scripts/fuzz.sh"
fi
