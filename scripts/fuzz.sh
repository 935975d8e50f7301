#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, AddressSanitizer, UBSan) and runs each for a fixed number
# of executions from an empty corpus, so that two runs do the same work. Prints one line per
# target: executions, seconds, corpus units, and whether it found a fault.
#   scripts/fuzz.sh [RUNS] [BUILD_DIR]      (defaults: 200000, build/fuzz)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
runs=${1:-200000}
build=${2:-$root/build/fuzz}
mkdir -p "$build" && build=$(cd "$build" && pwd)

cmake -S "$root" -B "$build" -G "Unix Makefiles" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DREPLIMAR_FUZZ=ON \
  -DREPLIMAR_SANITIZE=ON -DREPLIMAR_TESTS=OFF >/dev/null
cmake --build "$build" -j"${REPLIMAR_JOBS:-2}" >/dev/null

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-halt_on_error=1:print_stacktrace=1}
status=0
printf '%-22s %10s %8s %7s %s\n' target executions seconds corpus result
for fuzzer in "$build"/tests/fuzz/fuzz_*; do
  [ -x "$fuzzer" ] || continue
  name=$(basename "$fuzzer")
  work=$(mktemp -d)
  mkdir "$work/corpus"
  start=$(date +%s.%N)
  if (cd "$work" && "$fuzzer" -runs="$runs" -seed=1 -max_len=4096 -print_final_stats=1 \
        "$work/corpus" >"$work/out.txt" 2>&1); then
    result=clean
  else
    result="FAULT (see $work/out.txt)"
    status=1
  fi
  seconds=$(echo "$(date +%s.%N) - $start" | bc)
  executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$work/out.txt" | tail -1)
  corpus=$(find "$work/corpus" -type f | wc -l)
  printf '%-22s %10s %8.1f %7s %s\n' "$name" "${executions:-?}" "$seconds" "$corpus" "$result"
  [ "$result" = clean ] && rm -rf "$work"
done
exit $status
