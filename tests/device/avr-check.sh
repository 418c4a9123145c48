#!/usr/bin/env bash
# Proves the romfont DrawText example on an emulated Arduino Uno (ATmega328P in simavr): its committed
# header is what maskburn-subset makes of the full Shinonome ROM for the sketch's text, and the text art the
# firmware prints on its UART is exactly what maskburn-view --art draws from the full ROM on the PC.
# Usage: tests/device/avr-check.sh BUILD ROMDIR   (BUILD: CMake build folder with the tools; ROMDIR: full ROM)
set -euo pipefail
build=$(realpath "$1")
rom=$(realpath "$2")
root=$(cd "$(dirname "$0")/../.." && pwd)
sketch=$root/device/romfont/examples/DrawText
out=$root/build/avr/DrawText
fail() { echo "avr-check: FAIL: $*"; exit 1; }
mkdir -p "$out"

text=$(sed -n 's/^static const char kText\[\] = "\(.*\)";$/\1/p' "$sketch/DrawText.ino")
[[ -n $text ]] || fail "no 'static const char kText[] = \"...\";' line in DrawText.ino"

# (a) The header in the example folder must be the one maskburn-subset makes for that text.
"$build/tools/subset/maskburn-subset" --index "$rom/FONTINDEX.BIN" --data "$rom/FONTDATA.BIN" --text "$text" \
  --c-source "$out/shinonome_subset.h" || fail "maskburn-subset"
# The committed header opens with a comment naming that command; the rest is the tool's output.
sed -n '/^\/\* A maskburn ROM as C source/,$p' "$sketch/shinonome_subset.h" | cmp "$out/shinonome_subset.h" - ||
  fail "shinonome_subset.h is out of date"

# (b) Build for the Uno with arduino-mk, output under build/avr.
make -C "$sketch" OBJDIR="$out/obj" >"$out/make.log" 2>&1 || { tail -20 "$out/make.log"; fail "build (see $out/make.log)"; }

# (c) Run it; it ends by sleeping with interrupts off. simavr shows UART lines on stderr in green, each
# line end as a '.': keep those lines, without colour codes and that last '.'.
timeout 60 simavr -m atmega328p -f 16000000 "$out/obj/DrawText_.elf" >/dev/null 2>"$out/simavr.err" ||
  fail "simavr did not end cleanly (status $?)"
sed -n '/\x1b\[32m/{s/\x1b\[[0-9;]*m//g;s/\.$//;p}' "$out/simavr.err" >"$out/uart.txt"
[[ -s $out/uart.txt ]] || fail "the firmware printed nothing"

# (d) Compare with the art drawn on the PC from the full ROM.
"$build/tools/view/maskburn-view" --art "$text" --index "$rom/FONTINDEX.BIN" --data "$rom/FONTDATA.BIN" >"$out/expected.txt" ||
  fail "maskburn-view --art"
diff "$out/expected.txt" "$out/uart.txt" || fail "the firmware's text art differs from maskburn-view's (< PC, > AVR)"
echo "avr-check: PASS: DrawText on simavr printed the art of $(grep -c '^U+' "$out/uart.txt") characters, as maskburn-view does"
