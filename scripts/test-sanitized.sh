#!/usr/bin/env bash
# Builds the whole project with AddressSanitizer and UndefinedBehaviorSanitizer (into build-asan/, or
# $ASAN_BUILD_DIR) and runs every test there. A finding of either ends the test program that made it.
# TT_SANITIZED_STEP=build or =tests does only that half (scripts/test.sh runs the tests beside a build).
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
build="${ASAN_BUILD_DIR:-$here/build-asan}"
step="${TT_SANITIZED_STEP:-all}"
if [ "$step" != tests ]; then
  # Unoptimised, with line tables only: the sanitizers find as much at -O0, the reports still name
  # file and line, and the build is quicker than at -O2 with full debugging information. No test runs
  # the benchmark.
  BUILD_TYPE=Debug BUILD_DIR="$build" bash "$here/scripts/build.sh" -DTT_SANITIZE=ON -DCMAKE_CXX_FLAGS_DEBUG=-g1 \
    -DTT_BENCH=OFF
fi
[ "$step" != build ] || exit 0
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS="halt_on_error=1:detect_leaks=1"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
export LSAN_OPTIONS="suppressions=$here/scripts/lsan.supp:print_suppressions=0"
cd "$build"
ctest --output-on-failure -j "$(nproc)" --timeout 600
