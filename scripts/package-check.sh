#!/usr/bin/env bash
# Builds the Debian package from a finished build (build/ or $BUILD_DIR) and checks it as a user
# would meet it: the desktop entry and the AppStream metainfo validate, the package holds exactly the
# files below, its changelog (from CHANGELOG.md) is of its version, and the program from an unpacked
# copy answers --version and stays up with its window. build/SHA256SUMS holds the package's checksum,
# for checking a download with `sha256sum -c SHA256SUMS`.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
. "$here/scripts/source-date.sh"
build="$(cd "${BUILD_DIR:-$here/build}" && pwd)"

desktop_entries=("$build"/dist/*.desktop)
app_id="$(basename "${desktop_entries[0]}" .desktop)" # the project's TT_APP_ID
expected="-rwxr-xr-x ./usr/bin/TANGELO_Tune
-rwxr-xr-x ./usr/bin/tangelo-cli
-rwxr-xr-x ./usr/bin/tangelo-virtual-radio
-rw-r--r-- ./usr/lib/udev/rules.d/70-tangelo-tune-cables.rules
-rw-r--r-- ./usr/share/applications/$app_id.desktop
-rw-r--r-- ./usr/share/doc/tangelo-tune/changelog.gz
-rw-r--r-- ./usr/share/icons/hicolor/scalable/apps/$app_id.svg
-rw-r--r-- ./usr/share/man/man1/TANGELO_Tune.1.gz
-rw-r--r-- ./usr/share/man/man1/tangelo-cli.1.gz
-rw-r--r-- ./usr/share/man/man1/tangelo-virtual-radio.1.gz
-rw-r--r-- ./usr/share/man/zh_CN/man1/TANGELO_Tune.1.gz
-rw-r--r-- ./usr/share/man/zh_CN/man1/tangelo-cli.1.gz
-rw-r--r-- ./usr/share/man/zh_CN/man1/tangelo-virtual-radio.1.gz
-rw-r--r-- ./usr/share/metainfo/$app_id.metainfo.xml"

fail() {
  echo "package check: $*" >&2
  exit 1
}

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

rm -f "$build"/tangelo-tune_*.deb
# CPack gives the package's own members the permissions that the umask leaves.
(umask 0022 && cd "$build" && cpack -G DEB >"$work/cpack.log" 2>&1) || {
  cat "$work/cpack.log" >&2
  fail "cpack failed"
}
debs=("$build"/tangelo-tune_*.deb)
deb="${debs[0]}"
[ -f "$deb" ] || fail "no package was made"

rm -f "$build/SHA256SUMS"
(cd "$build" && sha256sum "$(basename "$deb")" >SHA256SUMS.partial && mv SHA256SUMS.partial SHA256SUMS)
(cd "$build" && sha256sum --check --quiet SHA256SUMS) || fail "SHA256SUMS does not check"

actual="$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { print $1, $6 }' | sort)"
diff <(sort <<<"$expected") <(echo "$actual") >"$work/files.diff" || {
  cat "$work/files.diff" >&2
  fail "the package's files differ from the expected list (< expected, > in the package)"
}

depends="$(dpkg-deb -f "$deb" Depends)"
for needed in libqt6widgets6 libqt6serialport6 libqt6svg6 qt6-translations-l10n fonts-liberation \
  fonts-wqy-microhei; do
  grep -qw -- "$needed" <<<"$depends" || fail "Depends lacks $needed: $depends"
done

root="$work/root"
dpkg-deb -x "$deb" "$root"
desktop-file-validate "$root/usr/share/applications/$app_id.desktop" || fail "desktop entry"
appstreamcli validate --no-net --no-color "$root/usr/share/metainfo/$app_id.metainfo.xml" >"$work/as.log" ||
  {
    cat "$work/as.log" >&2
    fail "AppStream metainfo"
  }

program="$root/usr/bin/TANGELO_Tune"
version="$(dpkg-deb -f "$deb" Version)"
gzip -dc "$root/usr/share/doc/tangelo-tune/changelog.gz" >"$work/changelog"
changelog_version="$(dpkg-parsechangelog -l "$work/changelog" -S Version 2>"$work/changelog.log")" || {
  cat "$work/changelog.log" >&2
  fail "the package's changelog does not parse"
}
[ ! -s "$work/changelog.log" ] || {
  cat "$work/changelog.log" >&2
  fail "the package's changelog has warnings"
}
[ "$changelog_version" = "$version" ] || fail "the changelog's newest entry is $changelog_version, the package $version"
grep -qF "<release version=\"$version\"" "$root/usr/share/metainfo/$app_id.metainfo.xml" ||
  fail "the metainfo's releases lack $version"
answer="$("$program" --version)" || fail "--version failed"
[ "$answer" = "TANGELO_Tune $version" ] || fail "--version said '$answer', the package is $version"
answer="$("$root/usr/bin/tangelo-cli" --version)" || fail "tangelo-cli --version failed"
[ "$answer" = "tangelo-cli $version" ] || fail "tangelo-cli --version said '$answer', the package is $version"

# The window, offscreen, with a home of its own: still running after 3 s is a start that worked.
# Installed, it keeps its settings in the home's configuration folder, never beside itself.
mkdir -p "$work/home"
installed="$(find "$root" | sort)"
status=0
env -u DISPLAY -u WAYLAND_DISPLAY HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" \
  QT_QPA_PLATFORM=offscreen timeout 3 "$program" >"$work/run.log" 2>&1 || status=$?
if [ "$status" -ne 124 ]; then
  cat "$work/run.log" >&2
  fail "the installed program ended by itself (status $status) instead of showing its window"
fi
[ "$(find "$root" | sort)" = "$installed" ] || fail "the installed program wrote into its own folders"
echo "package check: $(basename "$deb") is fine"
