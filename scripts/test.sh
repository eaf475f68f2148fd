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

export QT_QPA_PLATFORM=offscreen
cd "${BUILD_DIR:-$here/build}"
ctest --output-on-failure -j "$(nproc)" --timeout 300

# Hardening: the whole suite once more under AddressSanitizer and UndefinedBehaviorSanitizer, then every
# fuzz target for 30 seconds, each in a build folder of its own; then the package built a second time
# in another folder must come out byte for byte the same. The time of each stage is printed.
stage_times=("build and tests: $SECONDS s")
stage() {
  local name="$1" start=$SECONDS
  shift
  "$@"
  stage_times+=("$name: $((SECONDS - start)) s")
}
stage "sanitizers" bash "$here/scripts/test-sanitized.sh"
stage "fuzzing" bash "$here/scripts/fuzz.sh" 30
stage "reproducible package" bash "$here/scripts/check-reproducible.sh" linux
stage "windows" bash "$here/scripts/test-windows.sh"
printf '%s\n' "${stage_times[@]}"
