#!/usr/bin/env bash
# Runs the whole suite N times (default 5) with two CPU-bound processes beside it, and stops at the
# first run that fails, naming the tests that failed. Run it before landing a change to anything that
# waits; not part of CI. The build folder is BUILD_DIR (default build/); JOBS is ctest's -j (default 2).
#   scripts/test-under-load.sh 20
#   JOBS=4 scripts/test-under-load.sh 20
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
runs="${1:-5}"
build="${BUILD_DIR:-$here/build}"
jobs="${JOBS:-2}"
[[ "$runs" =~ ^[1-9][0-9]*$ ]] || { echo "usage: $0 [RUNS]" >&2; exit 2; }
[[ -f "$build/CTestTestfile.cmake" ]] || { echo "no built suite in $build (set BUILD_DIR)" >&2; exit 2; }

# The load: stress-ng where it is installed, else two busy loops. Each in a process group of its own,
# ended by that group's id when the script ends however it ends.
load_groups=()
start_load() {
  if command -v stress-ng > /dev/null; then
    setsid stress-ng --cpu 2 --quiet > /dev/null 2>&1 &
    load_groups+=("$!")
  else
    for _ in 1 2; do
      setsid sh -c 'exec yes > /dev/null' &
      load_groups+=("$!")
    done
  fi
}
stop_load() {
  for group in "${load_groups[@]}"; do
    kill -- "-$group" 2> /dev/null || true
  done
  wait 2> /dev/null || true
}
trap stop_load EXIT
start_load

export QT_QPA_PLATFORM=offscreen
log="$(mktemp -d)"
for ((run = 1; run <= runs; run++)); do
  start=$SECONDS
  if ! (cd "$build" && ctest -j "$jobs" --timeout 300 --output-on-failure > "$log/run-$run.log" 2>&1); then
    echo "run $run of $runs failed after $((SECONDS - start)) s; the output is in $log/run-$run.log:"
    sed -n '/The following tests FAILED/,$p' "$log/run-$run.log"
    exit 1
  fi
  echo "run $run of $runs passed in $((SECONDS - start)) s"
done
echo "all $runs runs passed under load"
rm -rf "$log"
