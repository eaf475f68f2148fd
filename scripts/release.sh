#!/usr/bin/env bash
# Gathers a release's downloads into one folder with one SHA256SUMS, as they go on the project's page:
#   bash scripts/release.sh FOLDER
# takes the Debian package from build/ (BUILD_DIR) and the portable zip and the installer from
# build-windows/ (WINDOWS_BUILD_DIR), as scripts/package-check.sh and scripts/build-windows.sh left
# them, and says whether the Windows files are signed. Each build folder's own SHA256SUMS must still
# check: a file changed since it was made is not published.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
[ $# -eq 1 ] || {
  echo "usage: release.sh FOLDER" >&2
  exit 2
}
out="$1"
linux_build="${BUILD_DIR:-$here/build}"
windows_build="${WINDOWS_BUILD_DIR:-$here/build-windows}"

files=()
for build in "$linux_build" "$windows_build"; do
  [ -f "$build/SHA256SUMS" ] || {
    echo "release.sh: $build/SHA256SUMS is missing; build the packages first" >&2
    exit 1
  }
  (cd "$build" && sha256sum --check --quiet SHA256SUMS) || {
    echo "release.sh: a file in $build changed since its SHA256SUMS was written" >&2
    exit 1
  }
  while read -r _ name; do
    files+=("$build/$name")
  done <"$build/SHA256SUMS"
done

mkdir -p "$out"
rm -f "$out/SHA256SUMS"
for file in "${files[@]}"; do
  cp "$file" "$out/"
done
(cd "$out" && for file in "${files[@]}"; do basename "$file"; done | xargs sha256sum >SHA256SUMS &&
  sha256sum --check --quiet SHA256SUMS)

signature="$(mktemp -u)"
trap 'rm -f "$signature"' EXIT
for file in "$out"/*-setup.exe; do
  rm -f "$signature"
  if osslsigncode verify -in "$file" >/dev/null 2>&1; then
    echo "signed, and verifies against the system's CAs: $(basename "$file")"
  elif osslsigncode extract-signature -in "$file" -out "$signature" >/dev/null 2>&1; then
    echo "signed, by a certificate this system does not trust: $(basename "$file")"
  else
    echo "UNSIGNED: $(basename "$file") (see the README, \"Signing a release\")"
  fi
done
echo "Release in $out:"
(cd "$out" && cat SHA256SUMS)
