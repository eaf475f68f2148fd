#!/usr/bin/env bash
# Installs what is missing, builds with warnings as errors, and runs every test headless.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
bash "$here/scripts/setup.sh"
# The sources keep .clang-format's style.
(cd "$here" && git ls-files -- '*.cpp' '*.h' | xargs clang-format --dry-run --Werror)
BUILD_DIR="${BUILD_DIR:-$here/build}" bash "$here/scripts/build.sh" -DTT_WERROR=ON
export QT_QPA_PLATFORM=offscreen
cd "${BUILD_DIR:-$here/build}"
ctest --output-on-failure -j "$(nproc)" --timeout 300
