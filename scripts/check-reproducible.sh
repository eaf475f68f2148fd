#!/usr/bin/env bash
# Checks that the packages reproduce: builds the sources a second time, from a copy in another folder,
# later, under another time zone, language and umask, and compares what that build makes with the
# first build's, byte for byte:
#   linux    build/tangelo-tune_<version>_<arch>.deb
#   windows  build-windows/TANGELO_Tune-<version>-win64.zip and TANGELO_Tune-<version>-setup.exe,
#            unsigned (needs TT_QT_WINDOWS, as scripts/build-windows.sh)
#
#   bash scripts/check-reproducible.sh [linux] [windows]        (both when none is named)
#
# The first build is the one in build/ (BUILD_DIR) and build-windows/ (WINDOWS_BUILD_DIR); its package
# is made when it is missing, and the Windows packages are made again unsigned. Both builds take
# SOURCE_DATE_EPOCH from the commit (scripts/source-date.sh). The copy holds the checkout's tracked
# files as they are now, changes included. When an artefact differs, the script names the first file
# in it that differs and how, keeps the second build for a closer look (diffoscope, when installed,
# shows every difference) and ends with status 1.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
. "$here/scripts/source-date.sh"
linux_build="$(mkdir -p "${BUILD_DIR:-$here/build}" && cd "${BUILD_DIR:-$here/build}" && pwd)"
windows_build="${WINDOWS_BUILD_DIR:-$here/build-windows}"

parts=("$@")
[ ${#parts[@]} -gt 0 ] || parts=(linux windows)
for part in "${parts[@]}"; do
  case "$part" in
  linux | windows) ;;
  *)
    echo "usage: check-reproducible.sh [linux] [windows]" >&2
    exit 2
    ;;
  esac
done

work="$(mktemp -d "${TMPDIR:-/tmp}/tangelo-reproduce.XXXXXX")"
keep=""
trap '[ -n "$keep" ] || rm -rf "$work"' EXIT
copy="$work/TANGELO_Tune"
mkdir -p "$copy"
(cd "$here" && git ls-files -z | tar --null -T - --ignore-failed-read -cf - 2>/dev/null) | tar -C "$copy" -xf -

# The second build's surroundings differ from the first's in every way that must not matter.
second() {
  (
    umask 0002
    export TZ=Asia/Shanghai LC_ALL=C.UTF-8 LANG=C.UTF-8
    cd "$work"
    "$@"
  )
}

sha() { sha256sum "$1" | cut -d' ' -f1; }

# The first build's choices that shape the code, for the second: precompiled headers change the
# debugging information, and with it the build ID that the stripped programs keep.
same_choices() { # same_choices BUILD_FOLDER: -D options
  local name value
  for name in CMAKE_BUILD_TYPE TT_PCH TT_HOMEPAGE_URL TT_PACKAGE_MAINTAINER; do
    value="$(sed -n "s/^$name:[A-Z]*=//p" "$1/CMakeCache.txt")"
    [ -z "$value" ] || echo "-D$name=$value"
  done
}

# where BINARY OFFSET: the section of a program or library that holds the byte at OFFSET (counted
# from 0), or its headers before the first section; nothing for other files.
where() {
  local index name size vma lma offset rest first=""
  while read -r index name size vma lma offset rest; do
    [[ "$index" =~ ^[0-9]+$ && "$offset" =~ ^[0-9a-f]+$ ]] || continue
    size=$((16#$size)) offset=$((16#$offset))
    [ "$offset" -gt 0 ] || continue
    if [ -z "$first" ] || [ "$offset" -lt "$first" ]; then first=$offset; fi
    if [ "$2" -ge "$offset" ] && [ "$2" -lt $((offset + size)) ]; then
      echo " in section $name"
      return
    fi
  done < <(objdump -h "$1" 2>/dev/null)
  if [ -n "$first" ] && [ "$2" -lt "$first" ]; then echo " in the headers (a time stamp or a checksum?)"; fi
}

# first_difference A B: where two trees of files part (names, then contents, in name order).
first_difference() {
  local a="$1" b="$2" file
  diff <(cd "$a" && find . -printf '%P %y %m\n' | LC_ALL=C sort) \
    <(cd "$b" && find . -printf '%P %y %m\n' | LC_ALL=C sort) >"$work/names.diff" || {
    echo "  the files or their permissions differ (< first build, > second):"
    head -n 10 "$work/names.diff" | sed 's/^/    /'
    return
  }
  while IFS= read -r file; do
    cmp -s "$a/$file" "$b/$file" || {
      local byte
      byte="$(cmp "$a/$file" "$b/$file" 2>&1 | sed -n 's/.* byte \([0-9]*\),.*/\1/p' | head -n 1)"
      echo "  $file differs from byte $byte$(where "$a/$file" "$((byte - 1))")"
      return
    }
  done < <(cd "$a" && find . -type f -printf '%P\n' | LC_ALL=C sort | grep -v '^DEBIAN/md5sums$')
  echo "  every file is the same: the archive itself differs (times, order or attributes of its entries)"
}

# explain A B: how two artefacts of the same name differ.
explain() {
  local a="$1" b="$2" name
  name="$(basename "$a")"
  echo "$name does not reproduce:"
  echo "  first build  $(sha "$a")  $a"
  echo "  second build $(sha "$b")  $b"
  rm -rf "$work/a" "$work/b"
  mkdir -p "$work/a" "$work/b"
  case "$name" in
  *.deb)
    diff <(dpkg-deb -c "$a") <(dpkg-deb -c "$b") >"$work/list.diff" ||
      {
        echo "  the archive's entries differ (< first build, > second):"
        head -n 10 "$work/list.diff" | sed 's/^/    /'
      }
    dpkg-deb -R "$a" "$work/a/root" && dpkg-deb -R "$b" "$work/b/root"
    first_difference "$work/a/root" "$work/b/root"
    ;;
  *.zip)
    diff <(TZ=UTC zipinfo -l "$a" | tail -n +2) <(TZ=UTC zipinfo -l "$b" | tail -n +2) >"$work/list.diff" ||
      {
        echo "  the zip's entries differ (< first build, > second):"
        head -n 10 "$work/list.diff" | sed 's/^/    /'
      }
    unzip -q "$a" -d "$work/a" && unzip -q "$b" -d "$work/b"
    first_difference "$work/a" "$work/b"
    ;;
  *)
    local byte
    byte="$(cmp "$a" "$b" 2>&1 | sed -n 's/.* byte \([0-9]*\),.*/\1/p' | head -n 1)"
    echo "  it differs from byte $byte$(where "$a" "$((byte - 1))")"
    ;;
  esac
  command -v diffoscope >/dev/null && echo "  all differences: diffoscope $a $b"
  keep=yes
}

failed=0
compare() {
  if cmp -s "$1" "$2"; then
    echo "reproduces: $(basename "$1") ($(sha "$1"))"
  else
    explain "$1" "$2"
    failed=1
  fi
}

for part in "${parts[@]}"; do
  start=$SECONDS
  if [ "$part" = linux ]; then
    debs=("$linux_build"/tangelo-tune_*.deb)
    if [ ! -f "${debs[0]}" ]; then
      BUILD_DIR="$linux_build" bash "$here/scripts/build.sh"
      BUILD_DIR="$linux_build" bash "$here/scripts/package-check.sh"
      debs=("$linux_build"/tangelo-tune_*.deb)
    fi
    echo "Second Linux build, in $copy/build"
    mapfile -t choices < <(same_choices "$linux_build")
    second env BUILD_DIR="$copy/build" bash "$copy/scripts/build.sh" -DBUILD_TESTING=OFF -DTT_BENCH=OFF "${choices[@]}" \
      >"$work/linux.log" 2>&1 &&
      second env BUILD_DIR="$copy/build" bash "$copy/scripts/package-check.sh" >>"$work/linux.log" 2>&1 || {
      cat "$work/linux.log" >&2
      echo "check-reproducible.sh: the second Linux build failed" >&2
      exit 1
    }
    compare "${debs[0]}" "$copy/build/$(basename "${debs[0]}")"
  else
    if [ -z "${TT_QT_WINDOWS:-}" ] || [ ! -e "$TT_QT_WINDOWS" ]; then
      echo "Windows part skipped: TT_QT_WINDOWS names no Qt for Windows"
      continue
    fi
    # Unsigned: a signature carries its own time, and the certificate is the publisher's, not the source's.
    env -u TT_SIGN_PKCS12 WINDOWS_BUILD_DIR="$windows_build" bash "$here/scripts/build-windows.sh" >"$work/windows-first.log" 2>&1 || {
      cat "$work/windows-first.log" >&2
      exit 1
    }
    windows_build="$(cd "$windows_build" && pwd)"
    TT_QT_WINDOWS="$(cd "$(dirname "$TT_QT_WINDOWS")" && pwd)/$(basename "$TT_QT_WINDOWS")"
    echo "Second Windows build, in $copy/build-windows"
    mapfile -t choices < <(same_choices "$windows_build")
    # Qt as the first build took it: the linker orders a program's DLL imports by the paths of the
    # libraries, so a Qt elsewhere changes the bytes. Its tarball is unpacked into each build folder.
    second env -u TT_SIGN_PKCS12 TT_QT_WINDOWS="$TT_QT_WINDOWS" WINDOWS_BUILD_DIR="$copy/build-windows" \
      bash "$copy/scripts/build-windows.sh" -DBUILD_TESTING=OFF "${choices[@]}" >"$work/windows.log" 2>&1 || {
      cat "$work/windows.log" >&2
      echo "check-reproducible.sh: the second Windows build failed" >&2
      exit 1
    }
    for artefact in "$windows_build"/TANGELO_Tune-*-win64.zip "$windows_build"/TANGELO_Tune-*-setup.exe; do
      compare "$artefact" "$copy/build-windows/$(basename "$artefact")"
    done
  fi
  echo "  $part: $((SECONDS - start)) s"
done
if [ "$failed" -ne 0 ]; then
  echo "The second build stays in $work for a closer look."
  exit 1
fi
