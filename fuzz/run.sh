#!/usr/bin/env bash
# Builds the property-list fuzz target with clang in its own build folder, writes the seed
# corpus and fuzzes for the given number of seconds (default 60). Exits non-zero when the
# fuzzer finds a crash; the crashing input is left in the build folder.
#   fuzz/run.sh [seconds]        KARUTA_FUZZ_BUILD_DIR overrides the build folder.
set -euo pipefail

seconds="${1:-60}"
[[ "$seconds" =~ ^[0-9]+$ ]] || { echo "usage: $0 [seconds]" >&2; exit 2; }

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${KARUTA_FUZZ_BUILD_DIR:-$root/build-fuzz}"

CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DKARUTA_FUZZ=ON >/dev/null
cmake --build "$build" --target proplist_fuzz proplist_seeds

seeds="$build/seeds"
corpus="$build/corpus"
mkdir -p "$seeds" "$corpus" "$build/artifacts"
"$build/fuzz/proplist_seeds" "$seeds"

log="$build/fuzz.log"
status=0
"$build/fuzz/proplist_fuzz" "$corpus" "$seeds" -max_len=8192 -max_total_time="$seconds" \
  -print_final_stats=1 -artifact_prefix="$build/artifacts/" >"$log" 2>&1 || status=$?

runs="$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)"
echo "proplist_fuzz: ${runs:-unknown} executions (time limit ${seconds} s; log: $log)"
if [ "$status" -ne 0 ]; then
  grep -E "ERROR|proplist_fuzz:|Test unit written" "$log" >&2 || tail -n 30 "$log" >&2
  echo "proplist_fuzz: the fuzzer found a crash (exit status $status)" >&2
  exit "$status"
fi
