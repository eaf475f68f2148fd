#!/usr/bin/env bash
# Signing the Windows build, with a throwaway certificate: a small CA of the test's own and a
# code-signing certificate from it, made here with openssl (BUILD/signing-test/). Unsigned first: the
# build says so and the installer carries no signature. Then signed: every program in the portable
# folder and the zip, and the installer, verify against that CA and name the program and the home
# page; a file changed after signing, or signed by another CA, does not verify; a certificate that
# cannot be opened fails the build instead of leaving it unsigned. Leaves the build signed, for
# tests/windows/installer.sh to check the uninstaller under Wine (TT_SIGNING_CA=BUILD/signing-test/ca.pem).
#   bash tests/windows/signing.sh BUILD_WINDOWS_DIR
# Needs TT_QT_WINDOWS, as scripts/build-windows.sh. Prints "signing: N passed, N failed"; the status is 0 only
# when nothing failed.
set -uo pipefail
here="$(cd "$(dirname "$0")/../.." && pwd)"
if [ $# -ne 1 ] || [ ! -d "$1" ]; then
  echo "usage: $0 BUILD_WINDOWS_DIR" >&2
  exit 2
fi
build="$(cd "$1" && pwd)"
keys="$build/signing-test"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

. "$here/tests/windows/checks.sh"
fails() { ! "$@"; }

# A CA and a publisher's certificate, valid for two days: nothing here outlives the test run.
make_ca() { # make_ca FOLDER NAME
  mkdir -p "$1"
  openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=$2" -keyout "$1/ca.key" -out "$1/ca.pem" \
    -addext basicConstraints=critical,CA:TRUE -addext keyUsage=critical,keyCertSign,cRLSign 2>/dev/null
}
rm -rf "$keys"
make_ca "$keys" "TANGELO_Tune test CA" && make_ca "$keys/other" "Another test CA" &&
  openssl req -newkey rsa:2048 -nodes -subj "/CN=TANGELO_Tune test publisher" -keyout "$keys/publisher.key" \
    -out "$work/publisher.csr" 2>/dev/null &&
  openssl x509 -req -in "$work/publisher.csr" -CA "$keys/ca.pem" -CAkey "$keys/ca.key" -CAcreateserial -days 2 \
    -extfile <(printf 'basicConstraints=CA:FALSE\nkeyUsage=critical,digitalSignature\nextendedKeyUsage=codeSigning\n') \
    -out "$keys/publisher.pem" 2>/dev/null &&
  head -c 18 /dev/urandom | base64 >"$keys/password" && chmod 600 "$keys/password" &&
  openssl pkcs12 -export -inkey "$keys/publisher.key" -in "$keys/publisher.pem" -certfile "$keys/ca.pem" \
    -passout "file:$keys/password" -out "$keys/publisher.p12" || {
  echo "signing test: openssl could not make the test certificate" >&2
  exit 1
}

package_info "$build"
version="${info[TT_VERSION]}"
name="TANGELO_Tune-$version-win64"
setup="$build/TANGELO_Tune-$version-setup.exe"

build_windows() { WINDOWS_BUILD_DIR="$build" bash "$here/scripts/build-windows.sh" >"$work/build.log" 2>&1; }

# --- unsigned
unsigned_build() {
  (
    unset TT_SIGN_PKCS12 TT_SIGN_PASSWORD_FILE TT_SIGN_TIMESTAMP_URL
    build_windows
  ) || { cat "$work/build.log"; return 1; }
  grep -c '^Unsigned: ' "$work/build.log" | grep -qx 1 || { cat "$work/build.log"; return 1; }
}
check "without a certificate the build is unsigned and says so in one line" unsigned_build
check "unsigned: the installer carries no signature" fails osslsigncode verify -CAfile "$keys/ca.pem" -in "$setup"

# --- a certificate that cannot be used stops the build
echo wrong >"$work/wrong-password"
bad_password() {
  ! TT_SIGN_PKCS12="$keys/publisher.p12" TT_SIGN_PASSWORD_FILE="$work/wrong-password" build_windows &&
    grep 'could not be signed' "$work/build.log"
}
check "a wrong password fails the build" bad_password
missing_certificate() {
  ! TT_SIGN_PKCS12="$work/none.p12" build_windows && grep 'which is no file' "$work/build.log"
}
check "a certificate file that is not there fails the build" missing_certificate

# --- signed
export TT_SIGN_PKCS12="$keys/publisher.p12" TT_SIGN_PASSWORD_FILE="$keys/password"
signed_build() { build_windows || { cat "$work/build.log"; return 1; }; }
check "with a certificate the build signs" signed_build

verifies() { # verifies FILE DESCRIPTION: signed by the test CA's publisher, naming DESCRIPTION and the home page
  osslsigncode verify -CAfile "$keys/ca.pem" -in "$1" >"$work/verify.log" 2>&1 || {
    cat "$work/verify.log"
    return 1
  }
  grep -F "TANGELO_Tune test publisher" "$work/verify.log" &&
    grep -F "$2" "$work/verify.log" && grep -F "${info[TT_HOMEPAGE]}" "$work/verify.log" ||
    { cat "$work/verify.log"; return 1; }
}
unzip -q -o "$build/$name.zip" -d "$work/zip"
for program in TANGELO_Tune tangelo-cli; do
  check "portable folder: $program.exe verifies" verifies "$build/$name/$program.exe" "$program"
  check "zip: $program.exe verifies" verifies "$work/zip/$name/$program.exe" "$program"
done
check "the installer verifies" verifies "$setup" "TANGELO_Tune $version Setup"
check "the installer is not signed by another CA" fails osslsigncode verify -CAfile "$keys/other/ca.pem" -in "$setup"
check "SHA256SUMS checks the signed downloads" bash -c "cd '$build' && sha256sum --check --quiet SHA256SUMS"

# One byte changed in the middle of the installer's compressed files, and in a program's code.
changed() { # changed FILE: a copy with one byte flipped halfway through, does not verify
  local copy="$work/changed-$(basename "$1")"
  cp "$1" "$copy"
  perl -e 'open(my $f, "+<", $ARGV[0]) or die; my $at = (-s $f) >> 1; seek($f, $at, 0); read($f, my $b, 1);
    seek($f, $at, 0); print $f chr(ord($b) ^ 1);' "$copy" || return 1
  ! osslsigncode verify -CAfile "$keys/ca.pem" -in "$copy"
}
check "an installer changed after signing does not verify" changed "$setup"
check "a program changed after signing does not verify" changed "$build/$name/tangelo-cli.exe"

# A time-stamping service of the same CA, on this machine: a time-stamped signature verifies with its
# time stamp, and a service that does not answer fails the signing instead of leaving it without one.
printf '[tsa]\ndefault_tsa = test\n[test]\nserial = tsa.serial\nsigner_digest = sha256\ndefault_policy = %s\n%s\n' \
  1.3.6.1.4.1.99999.1 'digests = sha256, sha384, sha512' >"$keys/tsa.cnf"
echo 01 >"$keys/tsa.serial"
openssl req -newkey rsa:2048 -nodes -subj "/CN=TANGELO_Tune test time stamps" -keyout "$keys/tsa.key" \
  -out "$work/tsa.csr" 2>/dev/null &&
  openssl x509 -req -in "$work/tsa.csr" -CA "$keys/ca.pem" -CAkey "$keys/ca.key" -CAcreateserial -days 2 \
    -extfile <(printf 'basicConstraints=CA:FALSE\nkeyUsage=critical,digitalSignature\nextendedKeyUsage=critical,timeStamping\n') \
    -out "$keys/tsa.pem" 2>/dev/null
python3 "$here/tests/windows/timestamp-service.py" "$keys" >"$work/tsa.port" &
service=$!
for _ in $(seq 50); do
  [ -s "$work/tsa.port" ] && break
  sleep 0.1
done
time_stamped() {
  cp "$build/$name/tangelo-cli.exe" "$work/stamped.exe"
  osslsigncode remove-signature -in "$work/stamped.exe" -out "$work/unsigned.exe" &&
    TT_SIGN_TIMESTAMP_URL="http://127.0.0.1:$(cat "$work/tsa.port")/" \
      bash "$here/scripts/sign-file.sh" "$work/unsigned.exe" tangelo-cli "${info[TT_HOMEPAGE]}" &&
    osslsigncode verify -CAfile "$keys/ca.pem" -TSA-CAfile "$keys/ca.pem" -in "$work/unsigned.exe" \
      >"$work/verify.log" 2>&1 || { cat "$work/verify.log"; return 1; }
  grep -i 'timestamp' "$work/verify.log" && grep -F 'Timestamp Server Signature verification: ok' "$work/verify.log"
}
check "with a time-stamping service the signature carries a verified time stamp" time_stamped
no_service() {
  cp "$work/zip/$name/tangelo-cli.exe" "$work/late.exe"
  osslsigncode remove-signature -in "$work/late.exe" -out "$work/late-unsigned.exe" || return 1
  ! TT_SIGN_TIMESTAMP_URL="http://127.0.0.1:9/" \
    bash "$here/scripts/sign-file.sh" "$work/late-unsigned.exe" tangelo-cli "${info[TT_HOMEPAGE]}" &&
    ! osslsigncode verify -CAfile "$keys/ca.pem" -in "$work/late-unsigned.exe"
}
check "a time-stamping service that does not answer fails the signing" no_service
kill "$service" 2>/dev/null

# Built again with nothing changed: the signatures are kept, so nothing is packed again.
unchanged_build() {
  local before
  before="$(sha256sum "$build/$name.zip" "$setup")"
  build_windows || { cat "$work/build.log"; return 1; }
  ! grep -E '^Making ' "$work/build.log" && [ "$(sha256sum "$build/$name.zip" "$setup")" = "$before" ]
}
check "a second signed build with nothing changed packs nothing anew" unchanged_build

checks_done signing
