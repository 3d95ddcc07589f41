#!/usr/bin/env bash
# Builds the fuzz targets with clang in their own build folder, writes their seed corpora and
# fuzzes each target for the given number of seconds (default 60): the property-list reader,
# then the picture decoder. Exits non-zero when the fuzzer finds a crash; the crashing input is
# left in the build folder.
#   fuzz/run.sh [seconds]        KARUTA_FUZZ_BUILD_DIR overrides the build folder.
set -euo pipefail

seconds="${1:-60}"
[[ "$seconds" =~ ^[0-9]+$ ]] || { echo "usage: $0 [seconds]" >&2; exit 2; }

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${KARUTA_FUZZ_BUILD_DIR:-$root/build-fuzz}"

CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DKARUTA_FUZZ=ON >/dev/null
cmake --build "$build" --target proplist_fuzz proplist_seeds picture_fuzz picture_seeds

# fuzz_target NAME MAX_LEN: fuzzes build/fuzz/NAME_fuzz from NAME's seeds for the time given.
fuzz_target() {
  local name="$1" max_len="$2"
  local seeds="$build/$name/seeds" corpus="$build/$name/corpus" artifacts="$build/$name/artifacts"
  local log="$build/$name/fuzz.log"
  mkdir -p "$seeds" "$corpus" "$artifacts"
  "$build/fuzz/${name}_seeds" "$seeds"
  local status=0
  "$build/fuzz/${name}_fuzz" "$corpus" "$seeds" -max_len="$max_len" -max_total_time="$seconds" \
    -print_final_stats=1 -artifact_prefix="$artifacts/" >"$log" 2>&1 || status=$?

  local runs
  runs="$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)"
  echo "${name}_fuzz: ${runs:-unknown} executions (time limit ${seconds} s; log: $log)"
  if [ "$status" -ne 0 ]; then
    grep -E "ERROR|${name}_fuzz:|Test unit written" "$log" >&2 || tail -n 30 "$log" >&2
    echo "${name}_fuzz: the fuzzer found a crash (exit status $status)" >&2
    exit "$status"
  fi
}

fuzz_target proplist 8192
# The real cards as seeds too, when the main build has drawn them.
if [ -f "$root/build/app/resources/Green.pct" ]; then
  mkdir -p "$build/picture/seeds"
  cp "$root/build/app/resources/Green.pct" "$root/build/app/resources/karuta0.pct" \
    "$build/picture/seeds/"
fi
fuzz_target picture 65536
