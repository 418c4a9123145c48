#!/usr/bin/env bash
# Proves the chip-to-screen path: maskburn-image makes the burnable image of the full Shinonome ROM, flashrom
# writes it onto an emulated W25Q128FV, and the FlashOled sketch, run on an emulated Uno (maskburn-board:
# simavr with an SSD1306 and the SPI flash), draws on the OLED exactly what maskburn-view --screen draws for
# the sketch's lines; so do the same ROM's version-2 image (maskburn-image --compact) on the flash and, with the
# sketch built for I2C (FLASHOLED_EEPROM), on the board's 2-Mbit I2C EEPROM. A blank chip, a foreign image and a
# damaged image each give the sketch's error screen.
# On the same chip, the PrintOled sketch lays text out with RomfontPrint: the OLED must equal maskburn-view's
# layout of the text it printed (it prints it on Serial too), at the same place and wrap width.
# Usage: tests/device/oled-check.sh BUILD ROMDIR   (BUILD: CMake build folder with the tools; ROMDIR: full ROM)
set -euo pipefail
build=$(realpath "$1")
rom=$(realpath "$2")
root=$(cd "$(dirname "$0")/../.." && pwd)
sketch=$root/device/romfont/examples/FlashOled
out=$root/build/avr/FlashOled
board=$build/device/board/maskburn-board
view=$build/tools/view/maskburn-view
fail() { echo "oled-check: FAIL: $*"; exit 1; }
rm -rf "$out"
mkdir -p "$out"

# (a) The error screen's ASCII ROM in the sketch folder is what maskburn-subset makes of the full ROM.
python3 -c 'import sys; sys.stdout.write("".join(map(chr, range(32, 127))))' >"$out/ascii.txt"
"$build/tools/subset/maskburn-subset" --index "$rom/FONTINDEX.BIN" --data "$rom/FONTDATA.BIN" \
  --text-file "$out/ascii.txt" --c-source "$out/ascii_rom.h" >/dev/null || fail "maskburn-subset"
sed -n '/^\/\* A maskburn ROM as C source/,$p' "$sketch/ascii_rom.h" | cmp "$out/ascii_rom.h" - ||
  fail "ascii_rom.h is out of date"

# (b) The image, padded to the chip, burned and verified by flashrom on the emulated chip.
"$build/tools/image/maskburn-image" --index "$rom/FONTINDEX.BIN" --data "$rom/FONTDATA.BIN" --pad 16M \
  "$out/rom.img" >/dev/null || fail "maskburn-image"
flashrom -p dummy:emulate=W25Q128FV,image="$out/chip.bin" -w "$out/rom.img" >"$out/flashrom.log" 2>&1 ||
  { tail -5 "$out/flashrom.log"; fail "flashrom could not write the image"; }
grep -q VERIFIED "$out/flashrom.log" || fail "flashrom did not verify the image"

"$build/tools/image/maskburn-image" --index "$rom/FONTINDEX.BIN" --data "$rom/FONTDATA.BIN" --compact \
  "$out/rom-v2.img" >/dev/null || fail "maskburn-image --compact"

# (c) The sketch, built for the Uno: for the SPI flash (obj-flash), and for the I2C EEPROM (obj-eeprom).
for memory in flash eeprom; do
  make -C "$sketch" OBJDIR="$out/obj-$memory" $([[ $memory == eeprom ]] && echo FLASHOLED_EEPROM=1) \
    >"$out/make-$memory.log" 2>&1 || { tail -20 "$out/make-$memory.log"; fail "build (see $out/make-$memory.log)"; }
done

# (d) Runs the sketch built for MEMORY (flash or eeprom) with FILE in it on the board; the screen must equal the
# picture of the lines given after it, or, with none given, the picture of the first case (screen).
run_case() {  # NAME MEMORY FILE SERIAL-LINE [X Y TEXT]...
  local name=$1 memory=$2 chip=$3 line=$4 args=() expected=$out/screen-expected.png
  shift 4
  while (($#)); do args+=(--line "$1" "$2" "$3"); shift 3; done
  if ((${#args[@]})); then
    expected=$out/$name-expected.png
    "$view" --screen "$expected" --scale 4 "${args[@]}" --index "$rom/FONTINDEX.BIN" \
      --data "$rom/FONTDATA.BIN" 2>"$out/$name-view.txt" || fail "$name: maskburn-view --screen"
  fi
  timeout 300 "$board" "--$memory" "$chip" --png "$out/$name.png" --scale 4 --expect "$expected" \
    "$out/obj-$memory/FlashOled_.elf" >"$out/$name-serial.txt" 2>"$out/$name-board.txt" ||
    { cat "$out/$name-board.txt"; fail "$name: the OLED differs from maskburn-view's picture, or the run failed"; }
  tr -d '\r' <"$out/$name-serial.txt" | grep -qxF "$line" ||
    { cat "$out/$name-serial.txt"; fail "$name: the sketch did not print '$line'"; }
  echo "oled-check: PASS: $name: the OLED shows maskburn-view's picture; Serial says '$line'"
}

lines=()
while IFS=$'\t' read -r x y text; do lines+=("$x" "$y" "$text"); done < <(
  sed -n 's/^  {\(-\?[0-9]*\), \([0-9]*\), "\(.*\)"},$/\1\t\2\t\3/p' "$sketch/FlashOled.ino")
((${#lines[@]} == 12)) || fail "expected four '  {X, Y, \"TEXT\"},' lines in FlashOled.ino"
run_case screen flash "$out/chip.bin" "done" "${lines[@]}"
grep -h '^draw:\|^glyph:' "$out/screen-serial.txt" | tr -d '\r'
run_case screen-v2 flash "$out/rom-v2.img" "done"
run_case eeprom eeprom "$out/rom-v2.img" "done"
grep -h '^glyph:' "$out/screen-v2-serial.txt" "$out/eeprom-serial.txt" | tr -d '\r'
# The board times the I2C bus at the firmware's bit rate: no glyph can come from the EEPROM faster than its bits.
read -r glyph floor < <(tr -d '\r' <"$out/eeprom-serial.txt" | sed -n 's/^glyph: \([0-9]*\) .*bus floor \([0-9]*\) .*/\1 \2/p')
((glyph >= floor)) || fail "eeprom: a glyph took $glyph cycles, below the I2C bus floor of $floor"

head -c 16M /dev/zero | tr '\0' '\377' >"$out/blank.bin"
run_case blank flash "$out/blank.bin" "image: blank chip" 0 0 "ROM error:" 0 16 "blank chip"

cp "$out/blank.bin" "$out/foreign.bin"
dd if="$rom/FONTDATA.BIN" of="$out/foreign.bin" conv=notrunc status=none
run_case foreign flash "$out/foreign.bin" "image: foreign image" 0 0 "ROM error:" 0 16 "foreign image"

cp "$out/chip.bin" "$out/damaged.bin"
python3 -c 'import sys; f = open(sys.argv[1], "r+b"); f.seek(54248); b = f.read(1)[0]; f.seek(54248); f.write(bytes([b ^ 0xFF]))' \
  "$out/damaged.bin"  # one byte of the data part flipped
run_case damaged flash "$out/damaged.bin" "image: CRC mismatch" 0 0 "ROM error:" 0 16 "CRC mismatch"

# (e) PrintOled: the text it printed, laid out by RomfontPrint, as maskburn-view --wrap lays it out.
pout=$root/build/avr/PrintOled
rm -rf "$pout"
mkdir -p "$pout"
make -C "$root/device/romfont/examples/PrintOled" OBJDIR="$pout/obj" >"$pout/make.log" 2>&1 ||
  { tail -20 "$pout/make.log"; fail "PrintOled build (see $pout/make.log)"; }
print_run() {  # BOARD-OPTIONS...
  timeout 300 "$board" --flash "$out/chip.bin" --scale 4 "$@" "$pout/obj/PrintOled_.elf" >"$pout/serial.txt" \
    2>"$pout/board.txt" || { cat "$pout/board.txt"; fail "print: the OLED differs from maskburn-view's picture, or the run failed"; }
}
print_run --png "$pout/screen.png"
serial=$(tr -d '\r' <"$pout/serial.txt")
read -r x y width < <(sed -n 's/^text: x \(-\?[0-9]*\) y \(-\?[0-9]*\) width \([0-9]*\)$/\1 \2 \3/p' <<<"$serial") || true
text=$(sed -n '/^text: /,/^end of text$/p' <<<"$serial" | sed '1d;$d')
[[ -n ${width:-} && -n $text ]] && grep -qx done <<<"$serial" || { echo "$serial"; fail "print: no text or no 'done' on Serial"; }
# maskburn-view --wrap breaks each text at the screen's right edge: the sketch must wrap there too.
((x + width == 128)) || fail "print: the sketch wraps at x $x + width $width, not at the screen's edge (128)"
"$view" --screen "$pout/expected.png" --scale 4 --wrap --line "$x" "$y" "$text" --index "$rom/FONTINDEX.BIN" \
  --data "$rom/FONTDATA.BIN" 2>"$pout/view.txt" || { cat "$pout/view.txt"; fail "print: maskburn-view --screen --wrap"; }
print_run --expect "$pout/expected.png"
echo "oled-check: PASS: print: the OLED shows maskburn-view's layout of the printed text at width $width"
grep -h '^screen:' "$pout/serial.txt" | tr -d '\r'
