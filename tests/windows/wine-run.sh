#!/bin/sh
# Runs a Windows test program under Wine in the tests' prefix: wine-run.sh BUILD_DIR QT_BIN PROGRAM [ARGS...]
# Wine passes no QT_ variables to a Windows program (they go as WINEQT_...), and test output reaches a
# file or pipe only with WINEQT_FORCE_STDERR_LOGGING.
set -eu
build="$1"
qt_bin="$2"
shift 2
winpath() { printf 'Z:%s' "$1" | tr '/' '\\'; }
export WINEPREFIX="$build/wine" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree=;mshtml="
export WINEPATH="$(winpath "$qt_bin");$(winpath /usr/lib/gcc/x86_64-w64-mingw32/12-posix);$(winpath /usr/x86_64-w64-mingw32/lib)"
export LOCPATH="$build/locales" WINEQT_QPA_PLATFORM=offscreen WINEQT_FORCE_STDERR_LOGGING=1
export WINEQT_QPA_FONTDIR="$(winpath /usr/share/fonts/truetype/dejavu)"
exec /usr/lib/wine/wine64 "$@"
