# Sourced by the build scripts: exports SOURCE_DATE_EPOCH, the one time that the binaries and packages
# carry, so that two builds of the same commit give the same bytes. Given, it is kept; otherwise it is
# the commit's time, or, outside a Git checkout, the newest CHANGELOG.md entry's date.
if [ -z "${SOURCE_DATE_EPOCH:-}" ]; then
  SOURCE_DATE_EPOCH="$(git -C "$here" log -1 --format=%ct 2>/dev/null || true)"
  if [ -z "$SOURCE_DATE_EPOCH" ]; then
    SOURCE_DATE_EPOCH="$(date -u -d "$(sed -n 's/^## [0-9.]* - \([0-9-]*\)$/\1/p' "$here/CHANGELOG.md" | head -n 1)" +%s)"
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
