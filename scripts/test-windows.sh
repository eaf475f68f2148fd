#!/usr/bin/env bash
# The Windows stage of the test command: builds the Windows programs and their installer with the Qt
# for Windows named by TT_QT_WINDOWS (a prefix folder, or the .tar.xz of one), then runs under Wine
# the unit tests built for Windows, the two programs end to end against the Linux virtual radio, and
# the installer; last, the packages' second build. Needs the Linux build (the virtual radio) in
# $BUILD_DIR (build/). Its three steps can be run one by one, in this order (all three when none is
# named), so that a caller can run something else beside the tests, which mostly wait:
#   bash scripts/test-windows.sh [build] [tests] [reproduce]
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
linux_build="${BUILD_DIR:-$here/build}"
windows_build="${WINDOWS_BUILD_DIR:-$here/build-windows}"

if [ -z "${TT_QT_WINDOWS:-}" ]; then
  echo "Windows stage skipped: TT_QT_WINDOWS is not set (see README, Windows: building)."
  exit 0
fi
if [ ! -e "$TT_QT_WINDOWS" ]; then
  echo "Windows stage skipped: TT_QT_WINDOWS names $TT_QT_WINDOWS, which does not exist."
  exit 0
fi

steps=("$@")
[ ${#steps[@]} -gt 0 ] || steps=(build tests reproduce)
for step in "${steps[@]}"; do
  case "$step" in
  build | tests | reproduce) ;;
  *)
    echo "usage: test-windows.sh [build] [tests] [reproduce]" >&2
    exit 2
    ;;
  esac
done
wanted() { [[ " ${steps[*]} " == *" $1 "* ]]; }

# A publisher's certificate in the environment is not the tests' to use.
unset TT_SIGN_PKCS12 TT_SIGN_PASSWORD_FILE TT_SIGN_TIMESTAMP_URL

start=$SECONDS
if wanted build; then
  WINDOWS_BUILD_DIR="$windows_build" bash "$here/scripts/build-windows.sh" -DTT_WERROR=ON
  echo "Windows build and packages: $((SECONDS - start)) s"
fi

if wanted tests; then
  # Signed with a throwaway certificate: the tests below run the signed programs and installer.
  part=$SECONDS
  bash "$here/tests/windows/signing.sh" "$windows_build"
  echo "Signing: $((SECONDS - part)) s"

  # CTest under Wine: one test at a time per core, as on Linux.
  (cd "$windows_build" && ctest --output-on-failure -j "$(nproc)" --timeout 300)

  bash "$here/tests/windows/cli-e2e.sh" "$windows_build" "$linux_build"
  bash "$here/tests/windows/window-e2e.sh" "$windows_build" "$linux_build"
  TT_SIGNING_CA="$windows_build/signing-test/ca.pem" bash "$here/tests/windows/installer.sh" "$windows_build"
fi

if wanted reproduce; then
  # Last, as it makes the packages again unsigned: no installer signed by the tests' CA stays behind.
  part=$SECONDS
  WINDOWS_BUILD_DIR="$windows_build" bash "$here/scripts/check-reproducible.sh" windows
  echo "Reproducing the Windows packages: $((SECONDS - part)) s"

  # The release folder: the three downloads and one SHA256SUMS that checks them, unsigned here.
  rm -rf "$windows_build/release"
  BUILD_DIR="$linux_build" WINDOWS_BUILD_DIR="$windows_build" bash "$here/scripts/release.sh" "$windows_build/release" |
    tee "$windows_build/release.log"
  grep -q '^UNSIGNED: ' "$windows_build/release.log" && [ "$(ls "$windows_build/release" | wc -l)" -eq 4 ] || {
    echo "scripts/release.sh did not gather the three downloads, or called them signed" >&2
    exit 1
  }
fi
echo "Windows stage (${steps[*]}): $((SECONDS - start)) s"
