#!/usr/bin/env bash
# scripts/source-date.sh outside a Git checkout: the date of the newest CHANGELOG.md heading, or the
# build stops saying why; never a date made up on the spot.
#   bash tests/scripts/check-source-date.sh
set -uo pipefail
here="$(cd "$(dirname "$0")/../.." && pwd)"
script="$here/scripts/source-date.sh"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
. "$here/tests/windows/checks.sh"

# source_date HEADING [GIVEN]: sources the script, as a build script does, for a folder outside Git
# whose CHANGELOG.md has HEADING as its newest entry ("-": no CHANGELOG.md), with SOURCE_DATE_EPOCH
# set to GIVEN when given; prints the epoch, or fails as the build script would.
source_date() {
  local folder="$work/sources"
  rm -rf "$folder" && mkdir -p "$folder"
  if [ "$1" != "-" ]; then
    printf '# Changelog\n\n%s\n\n- A change.\n' "$1" >"$folder/CHANGELOG.md"
    # An older entry below a heading, which never stands in for the newest.
    [[ "$1" != "## "* ]] || printf '\n## 0.9 - 2026-01-02\n\n- The first.\n' >>"$folder/CHANGELOG.md"
  fi
  (
    unset SOURCE_DATE_EPOCH
    [ -z "${2:-}" ] || export SOURCE_DATE_EPOCH="$2"
    export GIT_CEILING_DIRECTORIES="$work" # not the checkout the test runs from
    here="$folder"
    . "$script"
    echo "$SOURCE_DATE_EPOCH"
  )
}

# expect HEADING GIVEN WANTED: WANTED an epoch, or "fails: WORDS" for the words of the failure.
expect() {
  local output status
  output="$(source_date "$1" "$2" 2>&1)"
  status=$?
  case "$3" in
  fails:*)
    [ $status -ne 0 ] && grep -qF -- "${3#fails: }" <<<"$output" && ! grep -qx '[0-9]*' <<<"$output" ||
      { echo "status $status, printed: $output"; return 1; }
    ;;
  *)
    [ $status -eq 0 ] && [ "$output" = "$3" ] || { echo "status $status, printed: $output"; return 1; }
    ;;
  esac
}

# description | newest heading | SOURCE_DATE_EPOCH given | wanted
while IFS='|' read -r description heading given wanted; do
  heading="${heading//\\r/$'\r'}"
  check "$description" expect "$heading" "$given" "$wanted"
done <<'TABLE'
a heading with its date|## 1.0 - 2026-12-09||1796774400
a version of three numbers|## 1.2.3 - 2027-01-31||1801353600
a date given is kept|## 1.0 - 2026-12-09 (draft)|1700000000|1700000000
a heading with CRLF line ends|## 1.0 - 2026-12-09\r||fails: has Windows line ends (CRLF)
a heading with a suffix|## 1.0 - 2026-12-09 (draft)||fails: '## 1.0 - 2026-12-09 (draft)' is no heading '## <version> - <YYYY-MM-DD>'
a heading without a date|## Unreleased||fails: '## Unreleased' is no heading
a date that does not exist|## 1.0 - 2026-02-30||fails: 2026-02-30 is no date
no heading at all|# Nothing here||fails: has no heading '## <version> - <YYYY-MM-DD>'
no CHANGELOG.md|-||fails: CHANGELOG.md cannot be read
TABLE

checks_done "source-date.sh"
