#!/usr/bin/env bash
# Installs what is missing, builds everything with warnings as errors, builds and checks the Debian
# package, runs every test headless; then the hardening passes below, and the Windows stage when a
# Qt for Windows is given (TT_QT_WINDOWS).
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
bash "$here/scripts/setup.sh"
# The sources keep .clang-format's style.
(cd "$here" && git ls-files -- '*.cpp' '*.h' | xargs clang-format --dry-run --Werror)
BUILD_DIR="${BUILD_DIR:-$here/build}" bash "$here/scripts/build.sh" -DTT_WERROR=ON

BUILD_DIR="${BUILD_DIR:-$here/build}" bash "$here/scripts/package-check.sh"
stage_times=("build: $SECONDS s")

export QT_QPA_PLATFORM=offscreen
build="$(cd "${BUILD_DIR:-$here/build}" && pwd)"

# Then the tests, the hardening passes below and the Windows stage when a Qt for Windows is given
# (TT_QT_WINDOWS): the whole suite once more under AddressSanitizer and UndefinedBehaviorSanitizer,
# every fuzz target for 30 seconds, each in a build folder of its own, and the packages built a second
# time in another folder, which must come out byte for byte the same.
# The test runs mostly wait on pseudo-terminals, Wine and timers, so each runs in the background
# beside a build, which keeps both cores busy. The time of each step is printed.
logs="$build/ci-steps"
rm -rf "$logs"
mkdir -p "$logs"
declare -A started
# A step that fails ends the run: the steps still running in the background end with it.
stop_started() {
  local pid
  for pid in "${started[@]}"; do
    kill -- "-$pid" 2>/dev/null || true
  done
}
trap stop_started EXIT
begin() { # begin NAME COMMAND...: runs a step in the background; its output waits in a log
  local name="$1"
  shift
  set -m # a process group of its own, so that stop_started ends all it started
  (
    start=$SECONDS
    status=0
    "$@" >"$logs/$name.log" 2>&1 || status=$?
    echo "$((SECONDS - start))" >"$logs/$name.seconds"
    exit "$status"
  ) &
  started[$name]=$!
  set +m
}
finish() { # finish NAME: waits for a step begun, shows its output; its failure ends the run
  local name="$1" status=0
  wait "${started[$name]}" || status=$?
  unset "started[$name]"
  echo "==== $name"
  cat "$logs/$name.log"
  stage_times+=("$name: $(cat "$logs/$name.seconds") s (in the background)")
  if [ "$status" -ne 0 ]; then
    echo "$name failed (status $status)" >&2
    exit "$status"
  fi
}
step() { # step NAME COMMAND...: runs a step in the foreground
  local name="$1" start=$SECONDS
  shift
  echo "==== $name"
  "$@"
  stage_times+=("$name: $((SECONDS - start)) s")
}
windows() { bash "$here/scripts/test-windows.sh" "$@"; }

begin "tests" ctest --test-dir "$build" --output-on-failure -j "$(nproc)" --timeout 300
step "sanitized build" env TT_SANITIZED_STEP=build bash "$here/scripts/test-sanitized.sh"
finish "tests"
begin "sanitized tests" env TT_SANITIZED_STEP=tests bash "$here/scripts/test-sanitized.sh"
step "windows build" windows build
finish "sanitized tests"
begin "windows tests" windows tests
step "fuzzing" bash "$here/scripts/fuzz.sh" 30
step "reproducible package" bash "$here/scripts/check-reproducible.sh" linux
finish "windows tests"
step "windows packages reproduced" windows reproduce
stage_times+=("all: $SECONDS s")
printf '%s\n' "${stage_times[@]}"
