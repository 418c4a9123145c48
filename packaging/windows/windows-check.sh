#!/usr/bin/env bash
# Windows build check: cross-builds a static maskburn.exe with MinGW-w64, checks that it needs only Windows'
# own DLLs, then runs the converter cases marked for Windows (tests/driver/runs.txt) under Wine next to the
# native Linux build: same exit status, same ROM files byte for byte, same files left, and the same report
# with each LF written as CR LF, as text-mode standard output does.
# Usage: bash packaging/windows/windows-check.sh [ZIP]   (as root on Debian; installs what it needs; no display needed)
# With ZIP (the Windows zip of packaging/package.sh), the maskburn.exe unpacked from it is checked, after the zip
# is checked to hold the library folder, the licence and both READMEs, instead of a fresh cross build.
set -euo pipefail
cd "$(dirname "$0")/../.."
logs=build/windows-check
mkdir -p "$logs"

bash scripts/setup-debian.sh g++-mingw-w64-x86-64-posix wine wine64 locales unzip
# Wine takes its ANSI code page from the Unix locale: ja_JP.UTF-8 gives code page 932, as Japanese Windows.
locale -a | grep -qix 'ja_JP.utf-\?8' || localedef -i ja_JP -f UTF-8 ja_JP.UTF-8
bash scripts/shinonome-bdf.sh build/fonts shnm8x16r shnmk16

# Only the converter: the tests, fuzzers and the viewer (libpng) are not built for Windows.
common=(-DCMAKE_BUILD_TYPE=Release -DMASKBURN_TESTS=OFF -DMASKBURN_FUZZ=OFF -DMASKBURN_SANITIZE=OFF -DMASKBURN_VIEW=OFF)
zip=${1:+$(realpath "$1")}
builds=(windows-native)
[[ -n $zip ]] || builds+=(windows)
for build in "${builds[@]}"; do
  toolchain=()
  [[ $build == windows-native ]] || toolchain=(-DCMAKE_TOOLCHAIN_FILE="$PWD/packaging/windows/mingw-w64-x86_64.cmake")
  { cmake -S . -B "build/$build" "${common[@]}" "${toolchain[@]}" && cmake --build "build/$build" -j2 --target maskburn; } \
    > "$logs/$build.log" 2>&1 || { cat "$logs/$build.log"; exit 1; }
done
exe=$PWD/build/windows/maskburn.exe
if [[ -n $zip ]]; then
  rm -rf "$logs/zip" && mkdir -p "$logs/zip" && unzip -q "$zip" -d "$logs/zip"
  unpacked=$logs/zip/$(basename "$zip" .zip)
  for file in maskburn.exe LICENSE.txt README.md README.ja.md romfont/library.properties romfont/src/romfont.h \
    romfont/src/romfont.c romfont/examples/DrawText/DrawText.ino; do
    [[ -f $unpacked/$file ]] || { echo "FAIL  $(basename "$zip") lacks $file"; exit 1; }
  done
  echo "PASS  $(basename "$zip") holds maskburn.exe, the romfont library folder, LICENSE.txt and both READMEs"
  exe=$PWD/$unpacked/maskburn.exe
fi

imports=$(x86_64-w64-mingw32-objdump -p "$exe" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr '\n' ' ')
foreign=$(tr ' ' '\n' <<< "$imports" | grep -viE '^(kernel32|msvcrt|ucrtbase|api-ms-win-crt-[a-z0-9-]+|advapi32|user32)\.dll$' |
  grep -v '^$' || true)
if [[ -n $foreign || -z $imports ]]; then
  echo "FAIL  maskburn.exe imports DLLs Windows does not have: ${foreign:-none at all}"
  exit 1
fi
echo "PASS  maskburn.exe imports only Windows DLLs: $imports"

export WINEPREFIX=$PWD/build/windows-check/wineprefix WINEARCH=win64 WINEDEBUG=-all
export WINEDLLOVERRIDES='mscoree,mshtml='  # no Mono / Gecko installer prompts
unset DISPLAY WAYLAND_DISPLAY
[[ -f $WINEPREFIX/system.reg ]] || wineboot --init > "$logs/wineboot.log" 2>&1
wine cmd /c ver > /dev/null 2>&1  # a first start absorbs any one-time notice
trap 'wineserver -w 2>/dev/null || true' EXIT

MASKBURN_FONT_DIR=$PWD/build/fonts MASKBURN_REQUIRE_REAL_FONTS=1 \
  bash tests/driver/runs.sh "$PWD/build/windows-native/maskburn" --windows "$exe"
