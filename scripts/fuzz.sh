#!/usr/bin/env bash
# Builds the fuzz targets with clang (into build-fuzz/, or $FUZZ_BUILD_DIR) and runs each for SECONDS
# seconds (30 by default), starting from its seed corpus in fuzz/corpus/. Inputs that add coverage are
# kept in the build folder, never in the repository; a finding is saved there too, and fails the run.
# Prints each target's run count. Targets run side by side, one per core (FUZZ_JOBS).
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

# One target per core at a time (FUZZ_JOBS, default all cores): each still runs its full SECONDS.
jobs="${FUZZ_JOBS:-$(nproc)}"
fuzz_one() { # fuzz_one TARGET: runs it, prints its line; status 1 on a finding
  local target="$1" program="$build/fuzz/fuzz_$1" corpus="$build/corpus/$1" findings="$build/findings/$1"
  local log="$build/fuzz_$1.log" runs
  mkdir -p "$corpus" "$findings"
  # -timeout: one input that takes this long counts as a hang.
  if "$program" -max_total_time="$seconds" -timeout=10 -artifact_prefix="$findings/" \
    "$corpus" "$here/fuzz/corpus/$target" >"$log" 2>&1; then
    runs="$(sed -n 's/^Done \([0-9]*\) runs.*/\1/p' "$log")"
    printf 'fuzz_%-10s %10s runs in %s s\n' "$target" "${runs:-?}" "$seconds"
  else
    printf 'fuzz_%-10s FAILED (log: %s, input saved in %s)\n' "$target" "$log" "$findings" >&2
    tail -n 40 "$log" >&2
    return 1
  fi
}

status=0
running=()
for target in "${targets[@]}"; do
  if [ "${#running[@]}" -ge "$jobs" ]; then
    wait "${running[0]}" || status=1
    running=("${running[@]:1}")
  fi
  fuzz_one "$target" &
  running+=("$!")
done
for pid in "${running[@]}"; do
  wait "$pid" || status=1
done
exit "$status"
