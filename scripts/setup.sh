#!/usr/bin/env bash
# Installs what building, running and testing need, from Debian's packages.
# Quick when everything is there already: apt-get runs only for missing packages.
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config clang-format
  qt6-base-dev qt6-serialport-dev qt6-translations-l10n qt6-qpa-plugins libudev-dev
  qt6-tools-dev qt6-l10n-tools # lupdate and lrelease, and CMake's qt_add_translations
  at-spi2-core dbus python3-pyatspi # the window read through the accessibility bus
  fonts-liberation fonts-wqy-microhei
  xvfb x11-apps x11-utils imagemagick
  clang libclang-rt-14-dev # the fuzz targets (scripts/fuzz.sh)
  libqt6svg6 # Qt's SVG icon engine, for the window's icon
  # Building and checking the Debian package
  dpkg-dev file desktop-file-utils appstream
  groff-base # the manual pages rendered without warnings (tests/manpages)
  libxcb1-dev libxcb-damage0-dev libxcb-xtest0-dev # the benchmark (scripts/bench.sh)
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if [ "${#missing[@]}" -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${missing[@]}"
fi
