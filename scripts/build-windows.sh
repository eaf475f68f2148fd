#!/usr/bin/env bash
# Cross-builds TANGELO_Tune for 64-bit Windows in build-windows/ and makes its packages there:
#   build-windows/TANGELO_Tune-<version>-win64/       the portable folder
#   build-windows/TANGELO_Tune-<version>-win64.zip    the same, zipped
#   build-windows/TANGELO_Tune-<version>-setup.exe    the installer
#   build-windows/SHA256SUMS                          the zip's and the installer's checksums
#
#   TT_QT_WINDOWS=/path/to/qt-6.4.2-mingw-w64-x86_64.tar.xz bash scripts/build-windows.sh [CMAKE ARGS...]
#
# Signing, when a code-signing certificate is given: the two programs (in the folder, the zip and the
# installer), the uninstaller that the installer writes, and the installer itself, last.
#   TT_SIGN_PKCS12         the certificate with its key, a .pfx/.p12 file
#   TT_SIGN_PASSWORD_FILE  a file holding its password (read by osslsigncode, never on a command line)
#   TT_SIGN_TIMESTAMP_URL  an RFC 3161 time-stamping service, if the publisher has one
# Without TT_SIGN_PKCS12 the build is unsigned and says so. Unsigned, two builds of the same commit
# give the same bytes: times come from SOURCE_DATE_EPOCH (the commit's, scripts/source-date.sh).
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
. "$here/scripts/source-date.sh"
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

# A certificate that was meant to be used but cannot be is an error, never an unsigned release.
signing=""
if [ -n "${TT_SIGN_PKCS12:-}" ]; then
  [ -f "$TT_SIGN_PKCS12" ] || {
    echo "build-windows.sh: TT_SIGN_PKCS12 names $TT_SIGN_PKCS12, which is no file" >&2
    exit 1
  }
  [ -z "${TT_SIGN_PASSWORD_FILE:-}" ] || [ -f "$TT_SIGN_PASSWORD_FILE" ] || {
    echo "build-windows.sh: TT_SIGN_PASSWORD_FILE names $TT_SIGN_PASSWORD_FILE, which is no file" >&2
    exit 1
  }
  signing="$(sha256sum <"$TT_SIGN_PKCS12" | cut -d' ' -f1) ${TT_SIGN_TIMESTAMP_URL:-}"
fi

packages=(
  cmake ninja-build
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 mingw-w64-x86-64-dev
  qt6-base-dev qt6-base-dev-tools # the host tools (moc, rcc, uic) that the Windows Qt uses
  wine64 wine nsis zip unzip # unzip: tests/windows/installer.sh
  osslsigncode openssl  # signing, and the signing test's throwaway certificate
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
# A new SOURCE_DATE_EPOCH configures again too: the version resource's year comes from it.
if [ "$(cat "$build/.qt-prefix" 2>/dev/null)" != "$qt" ] || [ ! -f "$build/build.ninja" ] || [ $# -gt 0 ] ||
  [ "$(cat "$build/.source-date-epoch" 2>/dev/null)" != "$SOURCE_DATE_EPOCH" ]; then
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
forget_other_dates "$build"
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

# The programs signed, when a certificate is given. A signature is made again only when the program
# or the certificate changed, so that an unchanged build packs nothing anew.
sign() { # sign FILE DESCRIPTION: FILE signed in place
  bash "$here/scripts/sign-file.sh" "$1" "$2" "${info[TT_HOMEPAGE]}"
}
if [ -n "$signing" ]; then
  mkdir -p "$build/signed"
  for program in TANGELO_Tune tangelo-cli; do
    file="$portable/$program.exe"
    key="$(sha256sum <"$file" | cut -d' ' -f1) $signing"
    if [ "$(cat "$build/signed/$program.key" 2>/dev/null)" != "$key" ]; then
      cp "$file" "$build/signed/$program.exe"
      sign "$build/signed/$program.exe" "$program"
      echo "$key" >"$build/signed/$program.key"
    fi
    cp "$build/signed/$program.exe" "$file"
  done
  echo "Signed with $TT_SIGN_PKCS12${TT_SIGN_TIMESTAMP_URL:+, time-stamped by $TT_SIGN_TIMESTAMP_URL}"
else
  echo "Unsigned: no code-signing certificate given (TT_SIGN_PKCS12; see the README, \"Signing a release\")"
fi

# Every file dated SOURCE_DATE_EPOCH: the zip and the installer record the files' times.
find "$portable" -exec touch -h -d "@$SOURCE_DATE_EPOCH" {} +

# The packages are made again when a file of the folder, the list of them, the date or the signing
# changed. Their entries go in name order, dated in UTC, with no owner or other extra fields.
stamp="$(cd "$build" && find "$name" -type f -printf '%p %m\n' | LC_ALL=C sort &&
  find "$name" -type f -print0 | LC_ALL=C sort -z | xargs -0 sha256sum)
$SOURCE_DATE_EPOCH $signing"
if [ ! -f "$zip" ] || [ "$(cat "$build/.portable.stamp" 2>/dev/null)" != "$stamp" ]; then
  echo "Making $(basename "$zip")"
  rm -f "$zip.partial"
  (cd "$build" && find "$name" -type f | LC_ALL=C sort | TZ=UTC zip -q -9 -X -D -@ "$zip.partial")
  mv "$zip.partial" "$zip"
  echo "$stamp" >"$build/.portable.stamp"
fi

# The installer's file lists from the same manifest, rewritten only when they change.
cmake -DMANIFEST="$manifest" -DPREFIX="$portable" -DOUT="$build/dist/windows" \
  -P "$here/dist/windows/nsis-file-lists.cmake"
nsi="$here/dist/windows/TANGELO_Tune.nsi"
setup_stamp="$stamp
$(sha256sum "$nsi" "$build/dist/windows/installed-files.nsh" "$build/dist/windows/uninstall-files.nsh" \
  "${info[TT_ICO]}" "$here/scripts/sign-file.sh")"
if [ ! -f "$setup" ] || [ "$(cat "$build/.setup.stamp" 2>/dev/null)" != "$setup_stamp" ]; then
  echo "Making $(basename "$setup")"
  sign_uninstaller=()
  [ -z "$signing" ] || sign_uninstaller=(-DTT_SIGN="bash \"$here/scripts/sign-file.sh\"" -DTT_HOMEPAGE="${info[TT_HOMEPAGE]}")
  nice makensis -V2 -INPUTCHARSET UTF8 \
    -DTT_VERSION="$version" -DTT_VERSION_DOTS="${info[TT_VERSION_DOTS]}" -DTT_VENDOR="${info[TT_VENDOR]}" \
    -DTT_ICO="${info[TT_ICO]}" -DTT_FILES="$build/dist/windows/installed-files.nsh" \
    -DTT_UNFILES="$build/dist/windows/uninstall-files.nsh" -DTT_OUTFILE="$setup.partial" \
    "${sign_uninstaller[@]}" "$nsi" >"$build/makensis.log" || {
    cat "$build/makensis.log" >&2
    exit 1
  }
  [ -z "$signing" ] || sign "$setup.partial" "TANGELO_Tune $version Setup"
  mv "$setup.partial" "$setup"
  echo "$setup_stamp" >"$build/.setup.stamp"
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
