#!/usr/bin/env bash
# Figures of RomfontPrint (romfont's Arduino Print class) and the PrintOled sketch on the emulated Uno
# (maskburn-board: ATmega328P at 16 MHz, the flash on 8 MHz SPI, the OLED on 400 kHz I2C):
#  - flash and static RAM of RomfontPrint.cpp compiled alone with -Os against the Arduino core's Print.h, as the
#    Arduino build compiles it (its vtable is .rodata, which avr-gcc's linker script copies into RAM);
#  - the sketch's flash and static RAM (avr-size), with the ROM on SPI flash and with the ROM in program memory;
#  - the cycles the sketch counts itself (Timer1 at the CPU clock) to lay out and draw the whole screen, and to
#    send it as well: from the full Shinonome image on SPI flash, burned by flashrom (tests/device/oled-check.sh
#    builds and runs that), and from a ROM of the text's glyphs in program memory (maskburn-subset --c-source),
#    a second build of the sketch whose OLED must show the same picture.
# The text layer's own flash, RAM and stack are in device/bench/run.sh.
# Usage: bash device/bench/print-oled.sh BUILD ROMDIR   (as for tests/device/oled-check.sh)
set -euo pipefail
cd "$(dirname "$0")/../.."
build=$(realpath "$1")
rom=$(realpath "$2")
out=build/avr/PrintOled
bash tests/device/oled-check.sh "$build" "$rom" >/dev/null

# The class alone, as arduino-mk compiles a library's C++ file for the Uno.
arduino=/usr/share/arduino/hardware/arduino/avr
avr-g++ -mmcu=atmega328p -DF_CPU=16000000L -DARDUINO=10807 -DDECIMAL_DIG=9 -Os -std=gnu++11 -fno-exceptions \
  -ffunction-sections -fdata-sections -Wall -Wextra -I "$arduino/cores/arduino" -I "$arduino/variants/standard" \
  -c device/romfont/src/RomfontPrint.cpp -o "$out/RomfontPrint.o"
read -r text data bss _ < <(avr-size "$out/RomfontPrint.o" | tail -1)
rodata=$(avr-size -A "$out/RomfontPrint.o" | awk '$1 ~ /^\.rodata/ { sum += $2 } END { print sum + 0 }')
# The size of an object, as the compiler lays it out.
printf '#include "RomfontPrint.h"\nchar object_size[sizeof(RomfontPrint)];\n' |
  avr-g++ -mmcu=atmega328p -DARDUINO=10807 -DDECIMAL_DIG=9 -std=gnu++11 -I "$arduino/cores/arduino" \
    -I "$arduino/variants/standard" -I device/romfont/src -x c++ -c - -o "$out/object-size.o"
object=$((16#$(avr-nm -S "$out/object-size.o" | awk '$4 == "object_size" { print $2 }')))

# The text as the sketch printed it, and the geta mark drawn for what the ROM lacks, cut into a ROM in program
# memory (status 3: the ROM lacks some of the text's characters, as the sketch means it to).
tr -d '\r' <"$out/serial.txt" | sed -n '/^text: /,/^end of text$/p' | sed '1d;$d' >"$out/text.txt"
printf '〓' >>"$out/text.txt"
status=0
"$build/tools/subset/maskburn-subset" --index "$rom/FONTINDEX.BIN" --data "$rom/FONTDATA.BIN" \
  --text-file "$out/text.txt" --c-source "$out/print_rom.h" >/dev/null 2>&1 || status=$?
((status == 0 || status == 3)) || { echo "print-oled: maskburn-subset failed ($status)"; exit 1; }
make -C device/romfont/examples/PrintOled OBJDIR="$PWD/$out/progmem-obj" PROGMEM_ROM="$PWD/$out/print_rom.h" \
  >"$out/progmem-make.log" 2>&1 || { tail -20 "$out/progmem-make.log"; exit 1; }
timeout 300 "$build/device/board/maskburn-board" --flash build/avr/FlashOled/chip.bin --scale 4 \
  --expect "$out/expected.png" "$out/progmem-obj/PrintOled_.elf" >"$out/progmem-serial.txt" 2>"$out/progmem-board.txt" ||
  { cat "$out/progmem-board.txt"; echo "print-oled: the program-memory build drew another picture"; exit 1; }

row() { printf '%-62s %s\n' "$1" "$2"; }
row "RomfontPrint.o: flash (text + data)" "$((text + data)) B"
row "RomfontPrint.o: static RAM (data + bss + .rodata copied)" "$((data + bss + rodata)) B (each object: $object B, where it is made)"
for kind in obj progmem-obj; do
  read -r text data bss _ < <(avr-size "$out/$kind/PrintOled_.elf" | tail -1)
  where=$([[ $kind == obj ]] && echo "SPI flash" || echo "program memory")
  read -r draw total < <(tr -d '\r' <"$out/${kind%obj}serial.txt" |
    sed -n 's/^screen: \([0-9]*\) cycles.* \([0-9]*\) with sending it$/\1 \2/p')
  row "PrintOled, ROM in $where: flash / static RAM" "$((text + data)) B / $((data + bss)) B"
  row "  lay out and draw the whole screen (4 strips)" "$draw cycles ($((draw / 16000)) ms at 16 MHz)"
  layout=$(tr -d '\r' <"$out/${kind%obj}serial.txt" | sed -n 's/^layout: \([0-9]*\) cycles.*/\1/p')
  row "  of which the layout, once per strip (nothing drawn)" "$layout cycles, 4 times"
  row "  with sending it to the OLED" "$total cycles ($((total / 16000)) ms)"
done
