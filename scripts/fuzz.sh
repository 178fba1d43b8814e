#!/usr/bin/env bash
# Builds every libFuzzer target with clang, AddressSanitizer and UndefinedBehaviorSanitizer
# into build-fuzz/ and runs each for a bounded time (FUZZ_SECONDS, default 30) from its seed
# corpus (the folder XxxFuzz.corpus beside XxxFuzz.cpp). New inputs go to a scratch folder,
# never into the repository. Fails when a target finds a crash, a leak or a timeout.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${FUZZ_SECONDS:-30}
build_dir="$root/build-fuzz"

if [ ! -f "$build_dir/build.ninja" ]; then
  CC=clang CXX=clang++ cmake -S "$root" -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DSKYFIREWRIGHT_FUZZ=ON -DSKYFIREWRIGHT_SANITIZE=ON \
    -DSKYFIREWRIGHT_TESTS=OFF -DSKYFIREWRIGHT_BENCHMARKS=OFF >/dev/null
fi
cmake --build "$build_dir" -- -j"$(nproc)"

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
status=0
while IFS= read -r source; do
  stem=$(basename "$source" .cpp)
  name=${stem%Fuzz}
  target=$(find "$build_dir" -type f -name "fuzz_$name" -perm -u+x | head -n 1)
  if [ -z "$target" ]; then
    echo "fuzz: no target built for $source" >&2
    status=1
    continue
  fi
  corpus="$scratch/$name"
  mkdir -p "$corpus"
  seeds="${source%.cpp}.corpus"
  dictionary="${source%.cpp}.dict"
  args=(-max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1
        -artifact_prefix="$scratch/$name-")
  [ -f "$dictionary" ] && args+=(-dict="$dictionary")
  echo "fuzz: $name for ${seconds}s"
  if [ -d "$seeds" ]; then
    "$target" "${args[@]}" "$corpus" "$seeds" >"$scratch/$name.log" 2>&1 || status=1
  else
    "$target" "${args[@]}" "$corpus" >"$scratch/$name.log" 2>&1 || status=1
  fi
  grep -E '^stat::number_of_executed_units|^Done|ERROR|SUMMARY' "$scratch/$name.log" || true
  if [ $status -ne 0 ]; then
    tail -n 60 "$scratch/$name.log" >&2
    for artifact in "$scratch/$name-"*; do
      [ -f "$artifact" ] && { echo "fuzz: crashing input ($artifact):" >&2; od -A x -t x1z "$artifact" | head -n 20 >&2; }
    done
  fi
done < <(find "$root/src" -name '*Fuzz.cpp' | sort)
exit $status
