#!/usr/bin/env bash
# Cross-builds TANGELO_Tune for 64-bit Windows in build-windows/ and makes its packages there:
#   build-windows/TANGELO_Tune-<version>-win64/       the portable folder
#   build-windows/TANGELO_Tune-<version>-win64.zip    the same, zipped
#   build-windows/TANGELO_Tune-<version>-setup.exe    the installer
#   build-windows/SHA256SUMS                          the zip's and the installer's checksums
#
#   TT_QT_WINDOWS=/path/to/qt-6.4.2-mingw-w64-x86_64.tar.xz bash scripts/build-windows.sh [CMAKE ARGS...]
#
# TT_QT_WINDOWS names Qt for Windows: its prefix folder, or the .tar.xz, which is unpacked into
# build-windows/qt/ once and again only when the tarball changes. Without it the script prints
# "Windows stage skipped: ..." and ends with status 77 (the usual "skipped" of test drivers), so that
# a caller can tell a skip from a success (0) and a failure (any other status).
# Arguments go to the CMake configure. WINDOWS_BUILD_DIR names another build folder than build-windows/.
# scripts/test-windows.sh runs it, then the tests under Wine (tests/windows/installer.sh among them).
# Quick when nothing changed: every step but the build looks whether its result is still current.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
build="${WINDOWS_BUILD_DIR:-$here/build-windows}"
skipped=77

if [ -z "${TT_QT_WINDOWS:-}" ]; then
  echo "Windows stage skipped: TT_QT_WINDOWS is not set (Qt for Windows: its folder or its .tar.xz)"
  exit "$skipped"
fi
if [ ! -e "$TT_QT_WINDOWS" ]; then
  echo "Windows stage skipped: TT_QT_WINDOWS names $TT_QT_WINDOWS, which does not exist"
  exit "$skipped"
fi

packages=(
  cmake ninja-build
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 mingw-w64-x86-64-dev
  qt6-base-dev qt6-base-dev-tools # the host tools (moc, rcc, uic) that the Windows Qt uses
  wine64 wine nsis zip unzip # unzip: tests/windows/installer.sh
  imagemagick           # the .ico from dist/icon.svg
  qt6-translations-l10n # Qt's Chinese button texts, qtbase_zh_CN.qm
  xvfb xdotool imagemagick fonts-liberation fonts-wqy-microhei locales # tests/windows/window-e2e.sh
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

mkdir -p "$build"
start=$SECONDS

# The Qt prefix: the folder given, or the tarball's one folder, unpacked beside a stamp of its hash.
if [ -d "$TT_QT_WINDOWS" ]; then
  qt="$(cd "$TT_QT_WINDOWS" && pwd)"
else
  sum="$(sha256sum <"$TT_QT_WINDOWS" | cut -d' ' -f1)"
  if [ "$(cat "$build/qt/.tarball-sha256" 2>/dev/null)" != "$sum" ]; then
    echo "Unpacking $(basename "$TT_QT_WINDOWS") into build-windows/qt/"
    rm -rf "$build/qt" "$build/qt.partial"
    mkdir -p "$build/qt.partial"
    tar -xJf "$TT_QT_WINDOWS" -C "$build/qt.partial"
    echo "$sum" >"$build/qt.partial/.tarball-sha256"
    mv "$build/qt.partial" "$build/qt" # only a whole unpack counts
  fi
  prefixes=("$build"/qt/*/bin/qt-cmake)
  [ -x "${prefixes[0]}" ] || {
    echo "build-windows.sh: $TT_QT_WINDOWS holds no bin/qt-cmake" >&2
    exit 1
  }
  qt="$(dirname "$(dirname "${prefixes[0]}")")"
fi
[ -x "$qt/bin/qt-cmake" ] || {
  echo "build-windows.sh: $qt is no Qt for Windows (no bin/qt-cmake)" >&2
  exit 1
}

# Configured once; the build reconfigures itself when a CMakeLists.txt changes. Another Qt needs a
# fresh cache, since the toolchain cannot change in one.
if [ "$(cat "$build/.qt-prefix" 2>/dev/null)" != "$qt" ] || [ ! -f "$build/build.ninja" ] || [ $# -gt 0 ]; then
  if [ "$(cat "$build/.qt-prefix" 2>/dev/null)" != "$qt" ]; then
    rm -rf "$build/CMakeCache.txt" "$build/CMakeFiles"
  fi
  nice "$qt/bin/qt-cmake" -G Ninja -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_CROSSCOMPILING_EMULATOR=/usr/lib/wine/wine64 "$@" >"$build/configure.log" ||
    {
      cat "$build/configure.log" >&2
      exit 1
    }
  echo "$qt" >"$build/.qt-prefix"
fi
# Two jobs: the machine's two cores are shared.
nice cmake --build "$build" -j "${JOBS:-2}"

# What the build says about the packages: version, publisher, icon.
declare -A info
while IFS='=' read -r key value; do
  [ -n "$key" ] && info[$key]="$value"
done <"$build/dist/windows/package.env"
version="${info[TT_VERSION]}"
name="TANGELO_Tune-$version-win64"
portable="$build/$name"
zip="$build/$name.zip"
setup="$build/TANGELO_Tune-$version-setup.exe"

# The portable folder holds exactly what the install rules name: a file that an older build put
# there and no rule installs any more is removed.
cmake --install "$build" --component portable --prefix "$portable" >"$build/install.log"
manifest="$build/install_manifest_portable.txt"
sed 's|/\./|/|' "$manifest" >"$build/installed-files.txt" # DESTINATION . leaves a /./ in the paths
(cd "$portable" && find . -type f -printf '%P\n') | while read -r file; do
  grep -qxF "$portable/$file" "$build/installed-files.txt" || {
    echo "Removing $name/$file, which no install rule names"
    rm -f "$portable/$file"
  }
done
find "$portable" -mindepth 1 -type d -empty -delete

# The zip is made again when a file of the folder, or the list of them, changed.
stamp="$(cd "$build" && find "$name" -printf '%p %s %T@\n' | sort)"
if [ ! -f "$zip" ] || [ "$(cat "$build/.portable.stamp" 2>/dev/null)" != "$stamp" ]; then
  echo "Making $(basename "$zip")"
  rm -f "$zip.partial"
  (cd "$build" && zip -q -r -9 -X "$zip.partial" "$name")
  mv "$zip.partial" "$zip"
  echo "$stamp" >"$build/.portable.stamp"
fi

# The installer's file lists from the same manifest, rewritten only when they change.
cmake -DMANIFEST="$manifest" -DPREFIX="$portable" -DOUT="$build/dist/windows" \
  -P "$here/dist/windows/nsis-file-lists.cmake"
nsi="$here/dist/windows/TANGELO_Tune.nsi"
if [ ! -f "$setup" ] || [ "$(cat "$build/.setup.stamp" 2>/dev/null)" != "$stamp" ] ||
  [ -n "$(find "$nsi" "$build/dist/windows/installed-files.nsh" "$build/dist/windows/uninstall-files.nsh" \
    "${info[TT_ICO]}" -newer "$setup")" ]; then
  echo "Making $(basename "$setup")"
  nice makensis -V2 -INPUTCHARSET UTF8 \
    -DTT_VERSION="$version" -DTT_VERSION_DOTS="${info[TT_VERSION_DOTS]}" -DTT_VENDOR="${info[TT_VENDOR]}" \
    -DTT_ICO="${info[TT_ICO]}" -DTT_FILES="$build/dist/windows/installed-files.nsh" \
    -DTT_UNFILES="$build/dist/windows/uninstall-files.nsh" -DTT_OUTFILE="$setup.partial" "$nsi" \
    >"$build/makensis.log" || {
    cat "$build/makensis.log" >&2
    exit 1
  }
  mv "$setup.partial" "$setup"
  echo "$stamp" >"$build/.setup.stamp"
fi

# Checksums of the two downloads, for `sha256sum -c SHA256SUMS` beside them.
(cd "$build" && sha256sum "$(basename "$zip")" "$(basename "$setup")" >SHA256SUMS.partial &&
  mv SHA256SUMS.partial SHA256SUMS && sha256sum --check --quiet SHA256SUMS) || {
  echo "build-windows.sh: SHA256SUMS does not check" >&2
  exit 1
}

size() { numfmt --to=iec-i --suffix=B --format=%.1f "$(stat -c %s "$1")"; }
echo "Windows build: $((SECONDS - start)) s"
echo "  installer    build-windows/$(basename "$setup")  $(size "$setup")"
echo "  portable zip build-windows/$(basename "$zip")  $(size "$zip")"
