#!/usr/bin/env bash
# Starts TANGELO_Tune under a virtual X server, once in English and once in Chinese, and saves a
# picture of the window for each: <folder>/TANGELO_Tune-en.png and <folder>/TANGELO_Tune-zh_CN.png.
# Usage: scripts/screenshot.sh [folder]   (default docs/, the pictures of the README and the metainfo)
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD_DIR:-$here/build}"
folder="${1:-$here/docs}"
mkdir -p "$folder"
folder="$(cd "$folder" && pwd)"

program="$build/window/TANGELO_Tune"
if [ ! -x "$program" ]; then
  bash "$here/scripts/setup.sh"
  BUILD_TARGETS=TANGELO_Tune BUILD_DIR="$build" bash "$here/scripts/build.sh" -DTT_WERROR=ON
fi

# Runs inside the virtual X server: start, wait for the window to be drawn, take it, stop.
shoot='
  LANG="$LOCALE" LC_ALL="$LOCALE" "$PROGRAM" &
  pid=$!
  id=""
  for _ in $(seq 100); do
    id="$(xwininfo -root -children 2>/dev/null | awk "/\"TANGELO_Tune\": \\(\"TANGELO_Tune\"/ { print \$1; exit }")"
    [ -n "$id" ] && break
    sleep 0.1
  done
  status=0
  if [ -n "$id" ]; then
    sleep 1
    import -window "$id" "$PICTURE" || status=$?
  else
    echo "The window did not appear." >&2
    status=1
  fi
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  exit "$status"
'

take() {
  local name="$1" locale="$2"
  env -u LANGUAGE LOCALE="$locale" QT_QPA_PLATFORM=xcb \
    PROGRAM="$program" PICTURE="$folder/TANGELO_Tune-$name.png" \
    xvfb-run -a -s "-screen 0 1024x768x24 -dpi 96" bash -c "$shoot"
  echo "$folder/TANGELO_Tune-$name.png"
}

take en en_US.UTF-8
take zh_CN zh_CN.UTF-8
