#!/bin/sh
# Makes the Wine prefix of the Windows tests, once: a new prefix, the locales Wine takes the system
# locale from (made here, the machine's own are not touched), and Windows NT 6.0 for the one test
# program that checks the fixed port list.
set -eu
prefix="$1"
locales="$2"
export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree=;mshtml="
mkdir -p "$locales"
for locale in en_US zh_CN; do
  [ -d "$locales/$locale.UTF-8" ] || localedef -i "$locale" -f UTF-8 "$locales/$locale.UTF-8" 2>/dev/null || [ -d "$locales/$locale.UTF-8" ]
done
if [ ! -f "$prefix/system.reg" ] || [ ! -f "$prefix/.tests-ready" ]; then
  wineboot --init >"$prefix.log" 2>&1
  wine reg add 'HKCU\Software\Wine\AppDefaults\tst_windows_vista.exe' /v Version /t REG_SZ /d vista /f >>"$prefix.log" 2>&1
  wineserver -w
  touch "$prefix/.tests-ready"
fi
