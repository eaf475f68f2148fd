#!/usr/bin/env bash
# TANGELO_Tune.exe end to end under Wine and Xvfb, driven by keys as a person would: the portable copy
# reads the Linux virtual radio (mapped as COM5) in English and under a Chinese (China) system locale,
# and leaves a screenshot of each in the build folder (scripts/screenshot-windows.sh copies them to docs/).
#   tests/windows/window-e2e.sh BUILD_WINDOWS_DIR LINUX_BUILD_DIR
set -uo pipefail
windows_build="$(cd "$1" && pwd)"
linux_build="$(cd "$2" && pwd)"
here="$(cd "$(dirname "$0")" && pwd)"
radio="$linux_build/virtualradio/virtual_radio"
version="$(sed -n 's/^TT_VERSION=//p' "$windows_build/dist/windows/package.env")"
portable="$windows_build/TANGELO_Tune-$version-win64"
work="$windows_build/window-e2e"
rm -rf "$work"
mkdir -p "$work"
cp -r "$portable" "$work/program" # a copy of its own: its mysetup.ini stays here

export WINEPREFIX="$windows_build/wine-e2e" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree=;mshtml="
export LOCPATH="$windows_build/locales"
sh "$here/wine-prefix.sh" "$WINEPREFIX" "$LOCPATH"
# Windows' own fonts are not in Wine: the window's Arial is matched by Liberation Sans, its Chinese
# text by WenQuanYi Micro Hei, as on Linux.
fonts="$WINEPREFIX/drive_c/windows/Fonts"
mkdir -p "$fonts"
cp /usr/share/fonts/truetype/liberation/LiberationSans-*.ttf "$fonts/" 2>/dev/null
cp /usr/share/fonts/truetype/wqy/wqy-microhei.ttc "$fonts/" 2>/dev/null

. "$here/checks.sh"

display=":$((90 + RANDOM % 100))"
Xvfb "$display" -screen 0 1024x768x24 >"$work/xvfb.log" 2>&1 &
xvfb=$!
pids=()
cleanup() {
  wineserver -k 2>/dev/null
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
  kill "$xvfb" 2>/dev/null
  wait 2>/dev/null
}
trap cleanup EXIT
export DISPLAY="$display"

"$radio" --verbose >"$work/radio.out" 2>&1 &
pids+=($!)
for _ in $(seq 50); do
  device="$(head -n 1 "$work/radio.out" 2>/dev/null)"
  [ -n "$device" ] && break
  sleep 0.1
done
# A run without a display leaves a wineserver that cannot show windows: a new one, with the port.
wineserver -k 2>/dev/null
wine reg add 'HKLM\Software\Wine\Ports' /v COM5 /t REG_SZ /d "$device" /f >"$work/reg.log" 2>&1
wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v SimSun /t REG_SZ /d "WenQuanYi Micro Hei" /f >>"$work/reg.log" 2>&1
wineserver -k

# read_in LOCALE NAME: starts the program, presses Alt+R, waits for the message box, takes a
# screenshot, answers the box with Enter and ends the program with Alt+X.
read_in() {
  local locale="$1" name="$2" window=""
  rm -f "$work/program/mysetup.ini"
  printf '[language]\r\ncomPort=5\r\n' >"$work/program/mysetup.ini"
  LANG="$locale" /usr/lib/wine/wine64 "$work/program/TANGELO_Tune.exe" >"$work/$name.log" 2>&1 &
  local program=$!
  for _ in $(seq 100); do
    window="$(xdotool search --name '^TANGELO_Tune' 2>/dev/null | head -n 1)"
    [ -n "$window" ] && break
    sleep 0.2
  done
  check "$name: the window appears" [ -n "$window" ]
  sleep 1
  local before
  before="$(grep -c 'read block' "$work/radio.out")"
  xdotool windowactivate --sync "$window" 2>/dev/null
  xdotool key --clearmodifiers alt+r
  for _ in $(seq 50); do
    [ "$(grep -c 'end command' "$work/radio.out")" -gt "${ends:-0}" ] && break
    sleep 0.2
  done
  ends="$(grep -c 'end command' "$work/radio.out")"
  sleep 1
  import -window root "$work/$name-box.png" 2>/dev/null
  xdotool key Return
  sleep 1
  import -window root "$work/$name.png" 2>/dev/null
  local after
  after="$(grep -c 'read block' "$work/radio.out")"
  check "$name: Alt+R read the radio's eight blocks" [ "$((after - before))" -eq 8 ]
  xdotool key --clearmodifiers alt+x
  for _ in $(seq 50); do
    kill -0 "$program" 2>/dev/null || break
    sleep 0.2
  done
  check "$name: Alt+X ends the program" test ! -d "/proc/$program"
  kill "$program" 2>/dev/null
}

ends=0
read_in en_US.UTF-8 en
wineserver -k
read_in zh_CN.UTF-8 zh_CN

checks_done window-e2e
