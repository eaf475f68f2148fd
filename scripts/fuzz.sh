#!/usr/bin/env bash
# Builds the fuzz targets with clang (into build-fuzz/, or $FUZZ_BUILD_DIR) and runs each for SECONDS
# seconds (30 by default), starting from its seed corpus in fuzz/corpus/. Inputs that add coverage are
# kept in the build folder, never in the repository; a finding is saved there too, and fails the run.
# Prints each target's run count.
# Usage: scripts/fuzz.sh [SECONDS [TARGET...]]   (targets: replies codec settings discovery backup)
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
build="${FUZZ_BUILD_DIR:-$here/build-fuzz}"
seconds="${1:-30}"
[ "$#" -gt 0 ] && shift
targets=("$@")
[ "${#targets[@]}" -gt 0 ] || targets=(replies codec settings discovery backup)

cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
  -DTT_FUZZ=ON -DBUILD_TESTING=OFF >/dev/null
cmake --build "$build" -j "$(nproc)" --target fuzzers

export ASAN_OPTIONS="halt_on_error=1:detect_leaks=1"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
export LSAN_OPTIONS="suppressions=$here/scripts/lsan.supp:print_suppressions=0"

status=0
for target in "${targets[@]}"; do
  program="$build/fuzz/fuzz_$target"
  corpus="$build/corpus/$target"
  findings="$build/findings/$target"
  log="$build/fuzz_$target.log"
  mkdir -p "$corpus" "$findings"
  # -timeout: one input that takes this long counts as a hang.
  if "$program" -max_total_time="$seconds" -timeout=10 -artifact_prefix="$findings/" \
    "$corpus" "$here/fuzz/corpus/$target" >"$log" 2>&1; then
    runs="$(sed -n 's/^Done \([0-9]*\) runs.*/\1/p' "$log")"
    printf 'fuzz_%-10s %10s runs in %s s\n' "$target" "${runs:-?}" "$seconds"
  else
    printf 'fuzz_%-10s FAILED (log: %s, input saved in %s)\n' "$target" "$log" "$findings" >&2
    tail -n 40 "$log" >&2
    status=1
  fi
done
exit "$status"
