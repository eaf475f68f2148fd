#!/usr/bin/env bash
# The screenshots of the Windows window in docs/, English and Chinese, after a read of the virtual
# radio: the window's end-to-end test under Wine takes them. Needs the Linux build (build/) and the
# Windows build (scripts/build-windows.sh).
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
windows_build="${WINDOWS_BUILD_DIR:-$here/build-windows}"
bash "$here/tests/windows/window-e2e.sh" "$windows_build" "${BUILD_DIR:-$here/build}"
cp "$windows_build/window-e2e/en.png" "$here/docs/TANGELO_Tune-windows-en.png"
cp "$windows_build/window-e2e/zh_CN.png" "$here/docs/TANGELO_Tune-windows-zh_CN.png"
