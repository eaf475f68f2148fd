#!/usr/bin/env bash
# Gathers a release's downloads into one folder with one SHA256SUMS, as they go on the project's page:
#   bash scripts/release.sh FOLDER
# takes the Debian package from build/ (BUILD_DIR) and the portable zip and the installer from
# build-windows/ (WINDOWS_BUILD_DIR), as scripts/package-check.sh and scripts/build-windows.sh left
# them, and says whether the Windows installer is signed. Each build folder's own SHA256SUMS must
# still check: a file changed since it was made is not published, nor an installer changed after it
# was signed.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
[ $# -eq 1 ] || {
  echo "usage: release.sh FOLDER" >&2
  exit 2
}
out="$1"
linux_build="${BUILD_DIR:-$here/build}"
windows_build="${WINDOWS_BUILD_DIR:-$here/build-windows}"

# The hashes that each build folder's SHA256SUMS verified go on with their files: the release's
# SHA256SUMS is made of those lines, and the copies are checked against them.
names=()
sources=()
hashes=()
for build in "$linux_build" "$windows_build"; do
  [ -f "$build/SHA256SUMS" ] || {
    echo "release.sh: $build/SHA256SUMS is missing; build the packages first" >&2
    exit 1
  }
  (cd "$build" && sha256sum --check --quiet --strict SHA256SUMS) || {
    echo "release.sh: a file in $build changed since its SHA256SUMS was written" >&2
    exit 1
  }
  while read -r hash name; do
    name="${name#\*}" # a hash made in binary mode
    for known in "${names[@]}"; do
      [ "$known" != "$(basename "$name")" ] || {
        echo "release.sh: two build folders both give $(basename "$name")" >&2
        exit 1
      }
    done
    names+=("$(basename "$name")")
    sources+=("$build/$name")
    hashes+=("$hash")
  done <"$build/SHA256SUMS"
done

mkdir -p "$out"
rm -f "$out/SHA256SUMS"
for i in "${!names[@]}"; do
  cp "${sources[$i]}" "$out/${names[$i]}"
done
for i in "${!names[@]}"; do
  printf '%s  %s\n' "${hashes[$i]}" "${names[$i]}"
done >"$out/SHA256SUMS"
(cd "$out" && sha256sum --check --quiet --strict SHA256SUMS) || {
  echo "release.sh: a copy in $out differs from the file its build folder verified" >&2
  exit 1
}

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
for file in "$out"/*-setup.exe; do
  [ -e "$file" ] || continue
  if osslsigncode verify -in "$file" >"$work/verify" 2>&1; then
    echo "signed, and verifies against the system's CAs: $(basename "$file")"
  elif ! osslsigncode extract-signature -in "$file" -out "$work/signature-$(basename "$file")" >/dev/null 2>&1; then
    echo "UNSIGNED: $(basename "$file") (see the README, \"Signing a release\")"
  else
    # Signed but not verified: by the certificate's chain, or by a file that no longer matches its
    # signature (changed after signing), which no one should download.
    current="$(sed -n 's/^Current message digest *: *\([0-9A-Fa-f]*\).*/\1/p' "$work/verify")"
    calculated="$(sed -n 's/^Calculated message digest *: *\([0-9A-Fa-f]*\).*/\1/p' "$work/verify")"
    if [ -n "$calculated" ] && [ "$current" = "$calculated" ]; then
      echo "signed, by a certificate this system does not trust: $(basename "$file")"
    elif [ -n "$calculated" ]; then
      echo "release.sh: $(basename "$file") changed after it was signed: its signature does not match it" >&2
      exit 1
    else
      echo "release.sh: osslsigncode cannot check the signature of $(basename "$file"):" >&2
      cat "$work/verify" >&2
      exit 1
    fi
  fi
done
echo "Release in $out:"
(cd "$out" && cat SHA256SUMS)
