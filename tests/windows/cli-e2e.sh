#!/usr/bin/env bash
# tangelo-cli.exe end to end under Wine: the portable copy against the Linux virtual radio on a
# pseudo-terminal that Wine maps to a COM port (listed in SERIALCOMM), compared with what the Linux
# tangelo-cli does with the same radio.
#   tests/windows/cli-e2e.sh BUILD_WINDOWS_DIR LINUX_BUILD_DIR
set -uo pipefail
windows_build="$(cd "$1" && pwd)"
linux_build="$(cd "$2" && pwd)"
here="$(cd "$(dirname "$0")" && pwd)"
radio="$linux_build/virtualradio/virtual_radio"
linux_cli="$linux_build/window/tangelo-cli"
version="$(sed -n 's/^TT_VERSION=//p' "$windows_build/dist/windows/package.env")"
cli="$windows_build/TANGELO_Tune-$version-win64/tangelo-cli.exe"
work="$windows_build/cli-e2e"
rm -rf "$work"
mkdir -p "$work"

export WINEPREFIX="$windows_build/wine-e2e" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree=;mshtml="
export LOCPATH="$windows_build/locales"
sh "$here/wine-prefix.sh" "$WINEPREFIX" "$LOCPATH"

. "$here/checks.sh"

pids=()
cleanup() {
  wineserver -k 2>/dev/null
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
  wait 2>/dev/null
}
trap cleanup EXIT

# start_radio NAME ARGS...: a virtual radio saving its image to $work/NAME.img; its device in $device.
start_radio() {
  local name="$1"
  shift
  "$radio" --save "$work/$name.img" --verbose "$@" >"$work/$name.out" 2>"$work/$name.log" &
  pids+=($!)
  for _ in $(seq 50); do
    device="$(head -n 1 "$work/$name.out" 2>/dev/null)"
    [ -n "$device" ] && return 0
    sleep 0.1
  done
  echo "the virtual radio $name did not start" >&2
  exit 1
}

# The radio's image as it starts: a radio saves it when it ends.
start_radio default
kill "${pids[-1]}"
wait "${pids[-1]}" 2>/dev/null
# Wine maps the ports at its next start; the maps stay for the whole run.
start_radio main
main_device="$device"
start_radio silent --silent-from 0
silent_device="$device"
wineserver -k 2>/dev/null
wine reg add 'HKLM\Software\Wine\Ports' /v COM5 /t REG_SZ /d "$main_device" /f >"$work/reg.log" 2>&1
wine reg add 'HKLM\Software\Wine\Ports' /v COM6 /t REG_SZ /d "$silent_device" /f >>"$work/reg.log" 2>&1
wineserver -k
wineserver -p 30 # kept running: every start then costs milliseconds

run() { # run NAME ARGS...: tangelo-cli.exe with its output in $work/NAME.out and .err, status in $status
  local name="$1"
  shift
  /usr/lib/wine/wine64 "$cli" "$@" >"$work/$name.out" 2>"$work/$name.err" </dev/null
  status=$?
  # A crash under Wine ends with Wine's debugger, and its status says nothing; it may write to either.
  cat "$work/$name.out" "$work/$name.err" | grep -q 'Unhandled exception' && status=99
  sleep 0.3 # the radio saves its image on a thread of its own after each block write
}
image_bytes() { od -An -v -tx1 "$1" | tr -s ' \n' ' '; }
# The offsets (from 0) where two images differ.
differing() { cmp -l "$1" "$2" | awk '{ print $1 - 1 }' | tr '\n' ' '; }

# ports: the mapped COM ports, as Windows lists them.
run ports ports
check "ports lists COM5 and COM6" grep -q '^COM5' "$work/ports.out"
check "ports lists COM6" grep -q '^COM6' "$work/ports.out"

# read: the same record as the Linux program reads from the same radio.
run read read --port 5
check "read exits 0" [ "$status" -eq 0 ]
"$linux_cli" read --port "$main_device" >"$work/read-linux.out" 2>/dev/null
# Windows text: lines end in CR LF.
check "read shows what the Linux program shows" cmp -s <(tr -d '\r' <"$work/read.out") "$work/read-linux.out"
check "read shows the serial number" grep -q 'TG24031500871' "$work/read.out"

# write two fields: exactly their bytes change, as the Linux program changes them.
cp "$work/default.img" "$work/before-write.img"
run write write --port COM5 --dealer-code D-0042 --seller "Wang Fang" --no-backup
check "write exits 0" [ "$status" -eq 0 ]
offsets="$(differing "$work/before-write.img" "$work/main.img")"
inside=1
for offset in $offsets; do
  { [ "$offset" -ge 80 ] && [ "$offset" -lt 96 ]; } || { [ "$offset" -ge 128 ] && [ "$offset" -lt 144 ]; } || inside=0
done
check "write changes bytes of the two fields only" [ "$inside" -eq 1 -a -n "$offsets" ]
expected_dealer="$(printf 'D-0042' | od -An -tx1 | tr -d ' \n')00000000000000000000"
check "the dealer code is D-0042, zero-filled" [ "$(dd if="$work/main.img" bs=1 skip=80 count=16 2>/dev/null | od -An -tx1 | tr -d ' \n')" = "$expected_dealer" ]
expected_seller="$(printf 'Wang Fang' | od -An -tx1 | tr -d ' \n')00000000000000"
check "the seller is Wang Fang, zero-filled" [ "$(dd if="$work/main.img" bs=1 skip=128 count=16 2>/dev/null | od -An -tx1 | tr -d ' \n')" = "$expected_seller" ]

# backup, another write, restore: the radio as it was, byte for byte.
cp "$work/main.img" "$work/backed-up.img"
run backup backup --port 5 'Z:'"$(echo "$work/radio.json" | tr '/' '\\')"
check "backup exits 0" [ "$status" -eq 0 ]
run write2 write --port '\\.\COM5' --stock-date 2026-12-09 --seller Zhou --no-backup
differs() { ! cmp -s "$1" "$2"; }
check "second write changes the radio" differs "$work/backed-up.img" "$work/main.img"
run restore restore --port 5 --yes --no-backup 'Z:'"$(echo "$work/radio.json" | tr '/' '\\')"
check "restore exits 0" [ "$status" -eq 0 ]
check "restore puts the radio back byte for byte" cmp -s "$work/backed-up.img" "$work/main.img"

# The automatic backup of a write lands in the user's application data.
run write3 write --port 5 --seller "Li Wei"
check "a write with its backup exits 0" [ "$status" -eq 0 ]
check "the automatic backup is in %APPDATA%\\TANGELO_Tune\\backups" \
  test -n "$(find "$WINEPREFIX/drive_c/users" -path '*/AppData/Roaming/TANGELO_Tune/backups/TG24031500871_*.json' | head -n 1)"

# Chinese text under a Chinese (China) system: code page 936 in the radio, UTF-8 on the way out.
LANG=zh_CN.UTF-8 run write-zh write --port 5 --seller "张三" --no-backup
check "a Chinese seller is written" [ "$status" -eq 0 ]
check "in code page 936 (d5c5 c8fd)" [ "$(dd if="$work/main.img" bs=1 skip=128 count=4 2>/dev/null | od -An -tx1 | tr -d ' \n')" = "d5c5c8fd" ]
LANG=zh_CN.UTF-8 run read-zh read --port 5
check "and read back as its characters, in UTF-8" grep -Eq $'^(Seller: *|经手人： *)张三\r$' "$work/read-zh.out"
check "write prints the change with its arrow in UTF-8" grep -q '→' "$work/write-zh.out"

# Every text a person reads is in the system's language: Chinese under a Chinese (China) system,
# English under any other; the radio's own texts may be in either.
radio_texts=("Replaced antenna connector" "Li Wei" "Wang Fang" "Zhou" "张三")
speaks() { # speaks en|zh NAME...: no words of the other language in what those runs printed
  local language="$1" name
  shift
  for name in "$@"; do
    tr -d '\r' <"$work/$name.out" >"$work/$name.both"
    tr -d '\r' <"$work/$name.err" >>"$work/$name.both"
    "$linux_build/tests/tt_other_language" "$work/$name.both" "$language" "${radio_texts[@]}" >>"$work/language.log" ||
      return 1
  done
}
for language in zh en; do
  locale=en_US.UTF-8
  [ "$language" = zh ] && locale=zh_CN.UTF-8
  LANG=$locale run "help-$language" --help
  LANG=$locale run "write-help-$language" write --help
  LANG=$locale run "ports-$language" ports
  LANG=$locale run "read-$language" read --port 5
  LANG=$locale run "write-$language" write --port 5 --stock-date 2026-12-10 --no-backup
  cp "$work/main.img" "$work/before-refused.img"
  LANG=$locale run "refused-$language" write --port 5 --band 3 --no-backup
  check "a band change without --yes is refused, exit 5 ($locale)" [ "$status" -eq 5 ]
  check "the refused write writes nothing ($locale)" cmp -s "$work/before-refused.img" "$work/main.img"
  check "and the end command is the last frame the radio got ($locale)" \
    sh -c "grep ' in ' '$work/main.out' | tail -n 1 | grep -q 'end command'"
  LANG=$locale run "model-$language" write --port 5 --type TANGELOSU --seller Zhou --no-backup
  LANG=$locale run "usage-$language" write --port 5
  LANG=$locale run "noport-$language" read --port 9
  check "tangelo-cli.exe speaks only $locale's language (see cli-e2e/language.log)" speaks "$language" \
    "help-$language" "write-help-$language" "ports-$language" "read-$language" "write-$language" \
    "refused-$language" "model-$language" "usage-$language" "noport-$language"
done

# check walks the chain on a COM port and reads no block: the radio's image is untouched.
cp "$work/main.img" "$work/before-check.img"
run check check --port 5
check "check finds the radio on COM5, exit 0" [ "$status" -eq 0 ]
check "check names the radio's type" grep -q 'TANGELOUV' "$work/check.out"
check "check writes nothing" cmp -s "$work/before-check.img" "$work/main.img"
LANG=zh_CN.UTF-8 run check-zh check --port 5
check "check speaks Chinese under a Chinese (China) system" speaks zh check-zh

# A silent radio: the program command three times, about 1.5 s apart, then exit 1.
start=$(date +%s%N)
run silent read --port 6
elapsed=$((($(date +%s%N) - start) / 1000000))
check "a silent radio exits 1" [ "$status" -eq 1 ]
check "after about 4.5 s (3 to 9 s; took $elapsed ms)" [ "$elapsed" -ge 3000 -a "$elapsed" -le 9000 ]
frames="$(grep -c 'program command' "$work/silent.out")"
check "the program command went out three times ($frames)" [ "$frames" -eq 3 ]

# A port that cannot be opened.
run noport read --port 9
check "a port that cannot be opened exits 3" [ "$status" -eq 3 ]
LANG=zh_CN.UTF-8 run silent-zh read --port 6
check "a silent radio is explained in Chinese" speaks zh silent-zh

checks_done cli-e2e
