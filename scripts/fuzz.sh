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
# Only the fuzz targets (and what they link) are built here; the test build covers the rest.
sources=()
while IFS= read -r source; do sources+=("$source"); done < <(find "$root/src" "$root/tools" -name '*Fuzz.cpp' | sort)
fuzz_targets=()
for source in "${sources[@]}"; do
  stem=$(basename "$source" .cpp)
  fuzz_targets+=(--target "fuzz_${stem%Fuzz}")
done
cmake --build "$build_dir" "${fuzz_targets[@]}" -- -j"$(nproc)"

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
status=0
failed=()
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
  inputs=("$corpus")
  [ -d "$seeds" ] && inputs+=("$seeds")
  target_status=0
  "$target" "${args[@]}" "${inputs[@]}" >"$scratch/$name.log" 2>&1 || target_status=$?
  grep -E '^stat::number_of_executed_units|^Done|ERROR|SUMMARY' "$scratch/$name.log" || true
  if [ $target_status -ne 0 ]; then
    status=1
    failed+=("$name")
    echo "fuzz: $name FAILED (exit $target_status)"
  fi
done < <(find "$root/src" "$root/tools" -name '*Fuzz.cpp' | sort)

# The failures are reported last so that the end of a long log carries them.
for name in "${failed[@]}"; do
  echo "fuzz: ===== $name failed; the end of its log:"
  grep -E -A 40 '^==[0-9]+==ERROR|runtime error|SUMMARY|ALARM|out-of-memory|timeout' "$scratch/$name.log" | head -n 80 || true
  tail -n 30 "$scratch/$name.log"
  for artifact in "$scratch/$name-"*; do
    [ -f "$artifact" ] && { echo "fuzz: failing input ($artifact):"; od -A x -t x1z "$artifact" | head -n 20; }
  done
done
[ $status -eq 0 ] && echo "fuzz: all targets clean" || echo "fuzz: FAILED: ${failed[*]}"
exit $status
