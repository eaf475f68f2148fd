# Sourced by the build scripts: exports SOURCE_DATE_EPOCH, the one time that the binaries and packages
# carry, so that two builds of the same commit give the same bytes. Given, it is kept; otherwise it is
# the commit's time, or, outside a Git checkout, the newest CHANGELOG.md entry's date; without either
# the sourcing script stops.

# The newest entry's date, as the configuring step reads it (dist/Changelog.cmake): the first heading
# "## <version> - <YYYY-MM-DD>". Anything else stops the build, saying why: a date made up here (today)
# would give another build of the same sources other bytes.
changelog_date() { # changelog_date CHANGELOG.md
  local heading
  if [ ! -r "$1" ]; then
    echo "source-date.sh: $1 cannot be read; outside a Git checkout its newest entry gives the build's date" >&2
    return 1
  fi
  heading="$(grep -m 1 '^## ' "$1" || true)"
  if [ -z "$heading" ]; then
    echo "source-date.sh: $1 has no heading '## <version> - <YYYY-MM-DD>'" >&2
    return 1
  fi
  case "$heading" in
  *$'\r')
    echo "source-date.sh: $1 has Windows line ends (CRLF); its headings must end in the date, as in '## <version> - <YYYY-MM-DD>'" >&2
    return 1
    ;;
  esac
  if ! [[ "$heading" =~ ^'## '[0-9]+(\.[0-9]+)*' - '([0-9]{4}-[0-9]{2}-[0-9]{2})$ ]]; then
    echo "source-date.sh: $1: '$heading' is no heading '## <version> - <YYYY-MM-DD>'" >&2
    return 1
  fi
  date -u -d "${BASH_REMATCH[2]}" +%s 2>/dev/null || {
    echo "source-date.sh: $1: ${BASH_REMATCH[2]} is no date" >&2
    return 1
  }
}

if [ -z "${SOURCE_DATE_EPOCH:-}" ]; then
  SOURCE_DATE_EPOCH="$(git -C "$here" log -1 --format=%ct 2>/dev/null || true)"
  if [ -z "$SOURCE_DATE_EPOCH" ]; then
    SOURCE_DATE_EPOCH="$(changelog_date "$here/CHANGELOG.md")" || exit 1
  fi
fi
export SOURCE_DATE_EPOCH

# Qt's resource compiler and the Windows strip write SOURCE_DATE_EPOCH into what they make, but run
# again only when their input changes: a build folder last built at another time loses that output,
# so that it is made anew.
forget_other_dates() { # forget_other_dates BUILD_FOLDER
  local stamp="$1/.source-date-epoch"
  [ -d "$1" ] || return 0
  if [ "$(cat "$stamp" 2>/dev/null)" != "$SOURCE_DATE_EPOCH" ]; then
    find "$1" -path "$1/qt" -prune -o \( -path '*/.rcc/qrc_*.cpp' -o -path '*/dist/windows/stripped/*' \) \
      -type f -print0 | xargs -0 rm -f
    echo "$SOURCE_DATE_EPOCH" >"$stamp"
  fi
}
