#!/usr/bin/env bash
# scripts/release.sh on made-up build folders: the release's SHA256SUMS carries the hashes that the
# build folders' own SHA256SUMS verified, and a copy that differs from them stops it; a file changed
# since its build, or given by both folders, stops it too; an installer is called unsigned, signed by
# a certificate this system does not trust, or changed after signing, as it is.
#   bash tests/scripts/check-release.sh
set -uo pipefail
here="$(cd "$(dirname "$0")/../.." && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
. "$here/tests/windows/checks.sh"
fails() { ! "$@"; }

# make_builds SETUP_FILE: a Linux and a Windows build folder with their SHA256SUMS, the installer
# a copy of SETUP_FILE.
make_builds() {
  rm -rf "$work/linux" "$work/windows" "$work/release"
  mkdir -p "$work/linux" "$work/windows"
  echo "a Debian package" >"$work/linux/tangelo-tune_1.0_amd64.deb"
  echo "a portable zip" >"$work/windows/TANGELO_Tune-1.0-win64.zip"
  cp "$1" "$work/windows/TANGELO_Tune-1.0-setup.exe"
  (cd "$work/linux" && sha256sum -- *.deb >SHA256SUMS)
  (cd "$work/windows" && sha256sum -- *.zip *.exe >SHA256SUMS)
}
release() { # release [PATH_FIRST]: runs the script, its output in $work/out
  PATH="${1:+$1:}$PATH" BUILD_DIR="$work/linux" WINDOWS_BUILD_DIR="$work/windows" \
    bash "$here/scripts/release.sh" "$work/release" >"$work/out" 2>&1
}
printed() { grep -qF -- "$1" "$work/out" || { cat "$work/out"; return 1; }; }

echo "not a program" >"$work/plain.exe"

# --- the hashes verified in the build folders
make_builds "$work/plain.exe"
check "an unsigned release is gathered" release
check "an unsigned installer is called so" printed "UNSIGNED: TANGELO_Tune-1.0-setup.exe"
check "the release's SHA256SUMS has the build folders' hashes" \
  diff <(cat "$work/linux/SHA256SUMS" "$work/windows/SHA256SUMS") "$work/release/SHA256SUMS"
check "the release holds the three files and SHA256SUMS" test "$(ls "$work/release" | wc -l)" -eq 4

# A copy that is not the file verified (a disk error, a file changed in between): here a cp that
# writes something else. Hashing the copies would only check them against themselves.
mkdir -p "$work/bad-cp"
printf '#!/bin/sh\nfor last; do :; done\n[ ! -d "$last" ] || last="$last/${1##*/}"\necho changed >"$last"\n' >"$work/bad-cp/cp"
chmod +x "$work/bad-cp/cp"
make_builds "$work/plain.exe"
check "a copy that differs from the verified file stops the release" fails release "$work/bad-cp"
check "... saying so" printed "differs from the file its build folder verified"

make_builds "$work/plain.exe"
echo "changed" >>"$work/windows/TANGELO_Tune-1.0-win64.zip"
check "a file changed since its build stops the release" fails release
check "... saying so" printed "a file in $work/windows changed since its SHA256SUMS was written"

make_builds "$work/plain.exe"
cp "$work/linux/tangelo-tune_1.0_amd64.deb" "$work/windows/"
(cd "$work/windows" && sha256sum -- * >SHA256SUMS.new && mv SHA256SUMS.new SHA256SUMS && sed -i '/SHA256SUMS/d' SHA256SUMS)
check "a file that both build folders give stops the release" fails release
check "... saying so" printed "two build folders both give tangelo-tune_1.0_amd64.deb"

# --- the installer's signature: a small program signed by a certificate of the test's own
if ! command -v osslsigncode >/dev/null || ! command -v openssl >/dev/null || ! command -v python3 >/dev/null; then
  echo "skipped: the signed installer (needs osslsigncode, openssl and python3)"
  checks_done "release.sh"
  exit
fi
# The least Windows program that osslsigncode signs: headers and one section that returns.
python3 - "$work/program.exe" <<'PYTHON'
import struct, sys
dos = bytearray(0x40); dos[0:2] = b'MZ'; struct.pack_into('<I', dos, 0x3c, 0x40)
coff = struct.pack('<4sHHIIIHH', b'PE\0\0', 0x14c, 1, 0, 0, 0, 0xE0, 0x0102)
optional = bytearray(0xE0)
struct.pack_into('<HBBIIIIII', optional, 0, 0x10b, 0, 0, 0x200, 0, 0, 0x1000, 0x1000, 0)
struct.pack_into('<III', optional, 28, 0x400000, 0x1000, 0x200)
struct.pack_into('<HHHHHH', optional, 40, 4, 0, 0, 0, 4, 0)
struct.pack_into('<IIII', optional, 56, 0x2000, 0x200, 0, 2)
struct.pack_into('<IIIIII', optional, 72, 0x100000, 0x1000, 0x100000, 0x1000, 0, 16)
section = struct.pack('<8sIIIIIIHHI', b'.text', 0x200, 0x1000, 0x200, 0x200, 0, 0, 0, 0, 0x60000020)
headers = bytes(dos) + coff + bytes(optional) + section
with open(sys.argv[1], 'wb') as out:
    out.write(headers + b'\0' * (0x200 - len(headers)) + b'\xc3' + b'\0' * 0x1ff)
PYTHON
openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=TANGELO_Tune test publisher" \
  -keyout "$work/key.pem" -out "$work/certificate.pem" -addext extendedKeyUsage=codeSigning 2>/dev/null &&
  osslsigncode sign -certs "$work/certificate.pem" -key "$work/key.pem" -in "$work/program.exe" \
    -out "$work/signed.exe" >/dev/null || {
  echo "the test could not sign its program" >&2
  exit 1
}
make_builds "$work/signed.exe"
check "a release with a signed installer is gathered" release
check "an installer signed by a certificate this system does not trust is called so" \
  printed "signed, by a certificate this system does not trust: TANGELO_Tune-1.0-setup.exe"

# Changed after signing, its SHA256SUMS written after the change: the signature no longer matches.
cp "$work/signed.exe" "$work/tampered.exe"
printf '\x90' | dd of="$work/tampered.exe" bs=1 seek=$((0x201)) conv=notrunc 2>/dev/null
make_builds "$work/tampered.exe"
check "an installer changed after signing stops the release" fails release
check "... saying so" printed "TANGELO_Tune-1.0-setup.exe changed after it was signed: its signature does not match it"
check "... and not that it is signed by a certificate not trusted" fails printed "does not trust"

checks_done "release.sh"
