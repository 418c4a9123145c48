#!/usr/bin/env bash
# Figures of the chip-to-screen path, printed next to their targets: the FlashOled sketch on the emulated Uno
# (maskburn-board: ATmega328P at 16 MHz, the flash on 8 MHz SPI, the OLED on 400 kHz I2C) with the full Shinonome
# image burned by flashrom, its version-2 image on the flash, and the version-2 image on the board's 2-Mbit I2C
# EEPROM (the sketch built with FLASHOLED_EEPROM). It runs tests/device/oled-check.sh for the build and the runs, then reads the
# sketch's own cycle counts (Timer1 at the CPU clock) from its serial output, and its sizes from avr-size.
# The flash cost of the image calls themselves is in device/bench/run.sh.
# Usage: bash device/bench/flash-oled.sh BUILD ROMDIR   (as for tests/device/oled-check.sh)
set -euo pipefail
cd "$(dirname "$0")/../.."
out=build/avr/FlashOled
bash tests/device/oled-check.sh "$1" "$2" >/dev/null
serial=$(tr -d '\r' <"$out/screen-serial.txt")
draw=$(sed -n 's/^draw: \([0-9]*\) cycles.*/\1/p' <<<"$serial")
printf '%-62s %s\n' "whole screen (4 lines, 8 strips of I2C)" "$draw cycles ($((draw / 16000)) ms at 16 MHz)"
# Cycles per full-width glyph (the first line's lookups) next to the bus floor the sketch prints: SPI, the bytes
# on the bus (per read a command, 3 address bytes and the bytes read) x 16 cycles at 8 MHz; I2C at 400 kHz, the
# bits on the bus (per read: start, device address, 2 address bytes, repeated start, device address, the bytes
# read, stop; 9 bits a byte with its acknowledgement, one bit time for each start and stop) x 40 cycles.
for run in "screen:SPI flash, version-1 image:<= 2 x" "screen-v2:SPI flash, version-2 image:<= 2 x" \
           "eeprom:I2C EEPROM at 400 kHz, version-2 image:"; do
  IFS=: read -r name what target <<<"$run"
  read -r glyph floor < <(tr -d '\r' <"$out/$name-serial.txt" |
    sed -n 's/^glyph: \([0-9]*\) cycles.*bus floor \([0-9]*\) .*/\1 \2/p')
  printf '%-62s %s\n' "full-width glyph from the $what" \
    "$glyph cycles, $(awk -v g="$glyph" -v f="$floor" 'BEGIN { printf "%.2f", g / f }') x the bus floor of $floor${target:+ (target $target)}"
done
echo "  (maskburn-board times the I2C bus at the bit rate the firmware set in TWBR, as it times SPI: the cycles"
echo "   above the floor are the firmware's between the bus's steps)"
read -r text data bss _ < <(avr-size "$out/obj-flash/FlashOled_.elf" | tail -1)
check=$(sed -n 's/^image: ok.*match (\([0-9]*\) cycles)$/\1/p' <<<"$serial")
printf '%-62s %s\n' "romfont_image_check of the whole image" "$check cycles ($((check / 16000)) ms at 16 MHz)"
printf '%-62s %s\n' "sketch flash (text + data)" "$((text + data)) B of 32,256"
printf '%-62s %s\n' "sketch static RAM (data + bss)" "$((data + bss)) B of 2,048"
