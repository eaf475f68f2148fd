#!/usr/bin/env bash
# Signs one Windows program in place with the publisher's certificate (Authenticode, SHA-256):
#   bash scripts/sign-file.sh FILE DESCRIPTION HOMEPAGE
# with TT_SIGN_PKCS12, TT_SIGN_PASSWORD_FILE and TT_SIGN_TIMESTAMP_URL as scripts/build-windows.sh
# takes them. The signature names DESCRIPTION and HOMEPAGE, which Windows shows when it asks whether
# to run the program. The installer's compiler also calls this for the uninstaller.
set -euo pipefail
file="$1" description="$2" homepage="$3"
options=(-pkcs12 "$TT_SIGN_PKCS12" -h sha256 -n "$description" -i "$homepage")
[ -z "${TT_SIGN_PASSWORD_FILE:-}" ] || options+=(-readpass "$TT_SIGN_PASSWORD_FILE")
[ -z "${TT_SIGN_TIMESTAMP_URL:-}" ] || options+=(-ts "$TT_SIGN_TIMESTAMP_URL")
rm -f "$file.signed"
osslsigncode sign "${options[@]}" -in "$file" -out "$file.signed" >"$file.sign.log" 2>&1 || {
  cat "$file.sign.log" >&2
  rm -f "$file.signed" "$file.sign.log"
  echo "sign-file.sh: $file could not be signed" >&2
  exit 1
}
rm -f "$file.sign.log"
mv "$file.signed" "$file"
