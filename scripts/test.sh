#!/usr/bin/env bash
# Installs what is missing, builds everything with warnings as errors, builds and checks the Debian
# package, and runs every test headless.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
bash "$here/scripts/setup.sh"
BUILD_DIR="${BUILD_DIR:-$here/build}" bash "$here/scripts/build.sh" -DTT_WERROR=ON

BUILD_DIR="${BUILD_DIR:-$here/build}" bash "$here/scripts/package-check.sh"

export QT_QPA_PLATFORM=offscreen
cd "${BUILD_DIR:-$here/build}"
ctest --output-on-failure -j "$(nproc)" --timeout 300
