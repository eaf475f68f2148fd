#!/usr/bin/env bash
# The installer under Wine, in a Wine prefix of its own (BUILD/wine-installer, made afresh):
#   bash tests/windows/installer.sh build-windows
# An older version is installed first (a stand-in made here from the same script, with files the
# new one lacks); the new installer must replace it, not mix with it. Then the installed files, the
# shortcut, the uninstall entry and --version; where the installed and the portable program keep
# mysetup.ini; a second install over the first; and an uninstall that leaves nothing in Program
# Files, the Start menu or the machine's registry, but the user's settings in %APPDATA%.
# Prints "installer: N passed, N failed"; the status is 0 only when nothing failed.
set -uo pipefail
here="$(cd "$(dirname "$0")/../.." && pwd)"
if [ $# -ne 1 ] || [ ! -d "$1" ]; then
  echo "usage: $0 BUILD_WINDOWS_DIR" >&2
  exit 2
fi
build="$(cd "$1" && pwd)"

. "$here/tests/windows/checks.sh"
package_info "$build"
version="${info[TT_VERSION]}"
setup="$build/TANGELO_Tune-$version-setup.exe"
name="TANGELO_Tune-$version-win64"
portable="$build/$name"
zip="$build/$name.zip"
for file in "$setup" "$zip" "$portable/TANGELO_Tune.exe"; do
  [ -e "$file" ] || {
    echo "installer test: $file is missing; run scripts/build-windows.sh first" >&2
    exit 2
  }
done

export WINEPREFIX="$build/wine-installer" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree=;mshtml="
# Headless: a wineserver started without a display must not meet a later run with one.
unset DISPLAY WAYLAND_DISPLAY
wine=/usr/lib/wine/wine64
work="$(mktemp -d)"
cleanup() {
  wineserver -k 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT


# Wine's output always goes to files: a wineserver started here would hold a pipe open.
win() { "$wine" "$@" >"$work/out.txt" 2>"$work/err.txt" </dev/null; }
# A Windows path as this prefix stores it on disk.
unix_path() {
  local path="${1//\\//}"
  echo "$WINEPREFIX/drive_c/${path#[Cc]:/}"
}

echo "installer test: $(basename "$setup") in $WINEPREFIX"
wineserver -k 2>/dev/null
rm -rf "$WINEPREFIX"
wineboot --init >"$work/wineboot.log" 2>&1
# A COM port on any machine, for the window to choose and save: Wine lists it from its next start.
"$wine" reg add 'HKLM\Software\Wine\Ports' /v COM7 /t REG_SZ /d /dev/null /f >"$work/ports.log" 2>&1
wineserver -w

key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\TANGELO_Tune'
instdir_win='C:\Program Files\TANGELO_Tune'
instdir="$(unix_path "$instdir_win")"
shortcut="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/TANGELO_Tune.lnk"
win cmd.exe /c echo %APPDATA%
appdata="$(unix_path "$(tr -d '\r\n' <"$work/out.txt")")/TANGELO_Tune"
win cmd.exe /c echo %LOCALAPPDATA%
localappdata="$(unix_path "$(tr -d '\r\n' <"$work/out.txt")")/TANGELO_Tune"

# --- the stand-in older version: the same files and two the new version no longer has
old="$work/old"
mkdir -p "$old/oldplugins"
echo "old" >"$old/old-only.txt"
echo "old" >"$old/oldplugins/qold.dll"
cat "$build/dist/windows/installed-files.nsh" - >"$old/installed-files.nsh" <<EOF
SetOutPath "\$INSTDIR"
File "$old/old-only.txt"
SetOutPath "\$INSTDIR\\oldplugins"
File "$old/oldplugins/qold.dll"
EOF
cat "$build/dist/windows/uninstall-files.nsh" - >"$old/uninstall-files.nsh" <<'EOF'
Delete "$INSTDIR\old-only.txt"
Delete "$INSTDIR\oldplugins\qold.dll"
RMDir "$INSTDIR\oldplugins"
EOF
makensis -V1 -INPUTCHARSET UTF8 -DTT_COMPRESSOR=zlib -DTT_VERSION=0.9 -DTT_VERSION_DOTS=0.9.0.0 \
  -DTT_VENDOR="${info[TT_VENDOR]}" -DTT_ICO="${info[TT_ICO]}" -DTT_FILES="$old/installed-files.nsh" \
  -DTT_UNFILES="$old/uninstall-files.nsh" -DTT_OUTFILE="$old/old-setup.exe" \
  "$here/dist/windows/TANGELO_Tune.nsi" >"$work/makensis.log" 2>&1 || {
  cat "$work/makensis.log"
  echo "installer test: the older stand-in could not be made"
  exit 1
}

cp "$setup" "$work/setup.exe"
installs() { win "$1" /S; }
check "the older version installs silently" installs "$old/old-setup.exe"
check "the older version's own files are there" test -f "$instdir/oldplugins/qold.dll"

# --- the new version over it
check "setup.exe /S installs over the older version" installs "$work/setup.exe"

# The install folder holds the portable folder's files, byte for byte, and uninstall.exe: nothing
# of the older version, nothing else.
same_files() {
  diff <(cd "$portable" && find . -type f | sort) <(cd "$instdir" && find . -type f ! -path ./uninstall.exe | sort) &&
    (cd "$portable" && find . -type f -print0 | xargs -0 -I{} cmp {} "$instdir/{}")
}
# The registry values as `reg query` prints them, one "name<TAB>value" line each.
registry() {
  win reg query "$key" || return 1
  tr -d '\r' <"$work/out.txt" | awk -F '    ' 'NF >= 4 { print $2 "\t" $4 }' >"$work/registry.txt"
}
registry_is() { grep -qxF "$1"$'\t'"$2" "$work/registry.txt" || { cat "$work/registry.txt"; false; }; }
estimated_size_fits() {
  local listed actual
  listed=$(($(awk -F '\t' '$1 == "EstimatedSize" { print $2 }' "$work/registry.txt")))
  actual=$(du -sk "$instdir" | cut -f1)
  echo "EstimatedSize $listed KiB, the folder $actual KiB"
  [ "$listed" -gt $((actual * 9 / 10)) ] && [ "$listed" -lt $((actual * 11 / 10)) ]
}
shortcut_points_at_program() {
  strings -a "$shortcut" >"$work/shortcut.txt" && grep -xF "$instdir_win\\TANGELO_Tune.exe" "$work/shortcut.txt"
}
installed_checks() {
  local label="$1"
  check "$label: the installed files are the portable folder's and uninstall.exe" same_files
  check "$label: the Start-menu shortcut starts the installed TANGELO_Tune.exe" shortcut_points_at_program
  check "$label: the uninstall entry is in HKLM" registry
  local rows=(
    "DisplayName|TANGELO_Tune"
    "DisplayVersion|$version"
    "Publisher|${info[TT_VENDOR]}"
    "DisplayIcon|\"$instdir_win\\TANGELO_Tune.exe\",0"
    "InstallLocation|$instdir_win"
    "UninstallString|\"$instdir_win\\uninstall.exe\""
    "QuietUninstallString|\"$instdir_win\\uninstall.exe\" /S"
    "NoModify|0x1"
    "NoRepair|0x1"
  )
  local row
  for row in "${rows[@]}"; do
    check "$label: ${row%%|*} is ${row#*|}" registry_is "${row%%|*}" "${row#*|}"
  done
  check "$label: EstimatedSize is the folder's size" estimated_size_fits
}
installed_checks "installed"

# Every DLL that a program or plugin imports is beside the programs or one of Windows' own (as Wine
# has them in system32). A plugin that misses one would not load, without a word.
imports_resolve() {
  local file dll missing=0
  while IFS= read -r -d '' file; do
    x86_64-w64-mingw32-objdump -p "$file" >"$work/imports.txt" || return 1
    while read -r dll; do
      case "$dll" in api-ms-win-* | ext-ms-*) continue ;; esac # API sets: the loader maps them, no files
      if [ -z "$(find "$instdir" "$WINEPREFIX/drive_c/windows/system32" -maxdepth 1 -iname "$dll")" ]; then
        echo "${file#"$instdir"/} imports $dll, which is nowhere"
        missing=1
      fi
    done < <(awk '/DLL Name:/ { print $3 }' "$work/imports.txt")
  done < <(find "$instdir" -type f \( -iname '*.exe' -o -iname '*.dll' \) -print0)
  [ "$missing" -eq 0 ]
}
check "installed: every DLL imported is beside the programs or Windows' own" imports_resolve
check "the older version's files are gone" test ! -e "$instdir/old-only.txt" -a ! -e "$instdir/oldplugins"

# --- the installed programs answer --version (the window's program too, before any window)
prints_version() {
  win "$instdir_win\\$1.exe" --version || return 1
  local answer
  answer="$(tr -d '\r' <"$work/out.txt")"
  echo "said '$answer'"
  [ "$answer" = "$1 $version" ]
}
check "installed TANGELO_Tune.exe --version" prints_version TANGELO_Tune
check "installed tangelo-cli.exe --version" prints_version tangelo-cli

# A signed build (tests/windows/signing.sh, whose CA is TT_SIGNING_CA): what the installer wrote is
# signed too, the uninstaller that it made as it ran among them.
if [ -n "${TT_SIGNING_CA:-}" ]; then
  for file in uninstall.exe TANGELO_Tune.exe tangelo-cli.exe; do
    check "installed: $file is signed" osslsigncode verify -CAfile "$TT_SIGNING_CA" -in "$instdir/$file"
  done
fi

# What Windows reads from the programs themselves: the version resource, the manifest (never elevated
# or virtualised, and no UTF-8 code page, which would replace the system's own), the subsystem (the
# window without a console, the command line in one).
carries_resources() {
  local program="$instdir/$1.exe" subsystem="$2"
  # Into files first: grep -q ending a pipe early would fail it under pipefail.
  strings -el -n 3 "$program" >"$work/strings16.txt"
  strings -a "$program" >"$work/strings8.txt"
  x86_64-w64-mingw32-objdump -p "$program" >"$work/headers.txt"
  grep -A1 -xF ProductVersion "$work/strings16.txt" | grep -xF "$version" ||
    { echo "no ProductVersion $version"; return 1; }
  grep -A1 -xF OriginalFilename "$work/strings16.txt" | grep -xF "$1.exe" ||
    { echo "no OriginalFilename $1.exe"; return 1; }
  grep -F 'requestedExecutionLevel level="asInvoker"' "$work/strings8.txt" || { echo "no asInvoker"; return 1; }
  ! grep -F '<activeCodePage' "$work/strings8.txt" || return 1
  grep -E '^Subsystem' "$work/headers.txt" | grep -F "($subsystem)"
}
check "TANGELO_Tune.exe: version resource, manifest, GUI subsystem" carries_resources TANGELO_Tune "Windows GUI"
check "tangelo-cli.exe: version resource, manifest, console subsystem" carries_resources tangelo-cli "Windows CUI"

# --- where mysetup.ini goes. The window saves the port it chooses on its first run; it runs until
# the file appears (at most 10 s) and is then ended.
run_window_until() {
  local program="$1" file="$2" pid waited=0
  "$wine" "$program" >"$work/window.txt" 2>&1 </dev/null &
  pid=$!
  while [ ! -f "$file" ] && [ "$waited" -lt 100 ] && kill -0 "$pid" 2>/dev/null; do
    sleep 0.1
    waited=$((waited + 1))
  done
  sleep 0.5 # the write itself
  kill "$pid" 2>/dev/null
  wait "$pid" 2>/dev/null
  wineserver -w
  [ -f "$file" ] || { cat "$work/window.txt"; false; }
}
check "installed: the window keeps mysetup.ini in %APPDATA%\\TANGELO_Tune" \
  run_window_until "$instdir_win\\TANGELO_Tune.exe" "$appdata/mysetup.ini"
check "installed: no mysetup.ini in the program's folder or in %LOCALAPPDATA%" \
  test ! -e "$instdir/mysetup.ini" -a ! -e "$localappdata/mysetup.ini"

portable_win='C:\portable'
portable_dir="$(unix_path "$portable_win")"
mkdir -p "$portable_dir"
unzip -q "$zip" -d "$portable_dir"
zip_is_portable_folder() {
  diff -r "$portable" "$portable_dir/$name" && test ! -e "$portable_dir/$name/uninstall.exe"
}
check "the zip holds the portable folder, without uninstall.exe" zip_is_portable_folder
# The user's file is put aside: a program that finds one there reads it and has nothing to save.
mv "$appdata/mysetup.ini" "$work/user-mysetup.ini"
check "portable: the window keeps mysetup.ini beside itself" \
  run_window_until "$portable_win\\$name\\TANGELO_Tune.exe" "$portable_dir/$name/mysetup.ini"
check "portable: no mysetup.ini in %APPDATA% or %LOCALAPPDATA%" \
  test ! -e "$appdata/mysetup.ini" -a ! -e "$localappdata/mysetup.ini"
mv "$work/user-mysetup.ini" "$appdata/mysetup.ini"

# --- the same version once more over itself
check "setup.exe /S installs again over the same version" installs "$work/setup.exe"
installed_checks "installed again"

# --- uninstall: the uninstaller copies itself to %TEMP% and returns at once; the server ends with it.
uninstalls() {
  win "$instdir_win\\uninstall.exe" /S || return 1
  wineserver -w
}
check "uninstall.exe /S uninstalls" uninstalls
check "nothing is left in Program Files" test ! -e "$instdir"
start_menu_clean() {
  ! find "$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu" "$WINEPREFIX/drive_c/users" \
    -ipath '*Start Menu*' -iname '*TANGELO*' | grep .
}
check "nothing is left in the Start menu" start_menu_clean
uninstall_key_gone() { ! win reg query "$key"; }
check "the uninstall entry is gone" uninstall_key_gone
# Written out when the server ends (the uninstall waited for that).
check "the machine's registry names TANGELO_Tune nowhere" bash -c "! grep -i -n tangelo '$WINEPREFIX/system.reg'"
check "the user's settings in %APPDATA% stay" test -f "$appdata/mysetup.ini"

checks_done installer
