#!/usr/bin/env bash
# Installs what is missing, builds, and starts TANGELO_Tune with the virtual radio attached:
# the virtual radio runs on a pseudo-terminal that an alias in dosdevices/ makes a COM port.
# Stopping the program stops the virtual radio and removes the alias. Without a display it reads
# the virtual radio with tangelo-cli instead, and says how to see the window.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD_DIR:-$here/build}"

bash "$here/scripts/setup.sh"
# Only what it runs; the tests are the test command's. Its flags too, so that the two share the build.
BUILD_TARGETS="TANGELO_Tune tangelo-cli virtual_radio" BUILD_DIR="$build" bash "$here/scripts/build.sh" -DTT_WERROR=ON

progdir="$build/window"
radio="$build/virtualradio/virtual_radio"
image="$progdir/virtual-radio.img" # the virtual radio's block, kept between runs
com="${VR_COM:-${VIRTUAL_RADIO_COM:-900}}"
alias_link="$progdir/dosdevices/com$com"

mkdir -p "$progdir/dosdevices"
out="$(mktemp)"
radio_args=(--save "$image")
[ -f "$image" ] && radio_args+=(--image "$image")
"$radio" "${radio_args[@]}" >"$out" &
radio_pid=$!
app_pid=""

cleanup() {
  if [ -n "$app_pid" ]; then
    kill "$app_pid" 2>/dev/null || true
    wait "$app_pid" 2>/dev/null || true
  fi
  kill "$radio_pid" 2>/dev/null || true
  wait "$radio_pid" 2>/dev/null || true
  rm -f "$alias_link" "$out"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

pty=""
for _ in $(seq 50); do
  pty="$(head -n 1 "$out" 2>/dev/null || true)"
  [ -n "$pty" ] && break
  sleep 0.1
done
if [ -z "$pty" ]; then
  echo "The virtual radio did not start." >&2
  exit 1
fi
ln -sfn "$pty" "$alias_link"
echo "Virtual radio on $pty, listed as COM$com."

# A first run remembers the virtual radio's port, so that it is the one selected.
if ! grep -qs '^comPort' "$progdir/mysetup.ini"; then
  printf '[language]\ncomPort=%s\n' "$com" >"$progdir/mysetup.ini"
fi

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display: reading the virtual radio with the command line instead."
  echo "\$ tangelo-cli read --port $com"
  status=0
  "$progdir/tangelo-cli" read --port "$com" || status=$?
  cat <<EOF

To see the window, run bash scripts/run.sh in a desktop session (or over ssh -X);
scripts/screenshot.sh takes pictures of it without a display.
What the command line does: $progdir/tangelo-cli --help
EOF
  exit "$status"
fi
# In the background and waited for, so that a signal to this script is acted on at once (bash runs
# traps only between commands) and takes the program down with the virtual radio.
"$progdir/TANGELO_Tune" &
app_pid=$!
status=0
wait "$app_pid" || status=$?
app_pid=""
exit "$status"
