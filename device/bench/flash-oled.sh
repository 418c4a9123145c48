#!/usr/bin/env bash
# Figures of the chip-to-screen path, printed next to their targets: the FlashOled sketch on the emulated Uno
# (maskburn-board: ATmega328P at 16 MHz, the flash on 8 MHz SPI, the OLED on 400 kHz I2C) with the full Shinonome
# image burned by flashrom. It runs tests/device/oled-check.sh for the build and the runs, then reads the
# sketch's own cycle counts (Timer1 at the CPU clock) from its serial output, and its sizes from avr-size.
# The flash cost of the image calls themselves is in device/bench/run.sh.
# Usage: bash device/bench/flash-oled.sh BUILD ROMDIR   (as for tests/device/oled-check.sh)
set -euo pipefail
cd "$(dirname "$0")/../.."
out=build/avr/FlashOled
bash tests/device/oled-check.sh "$1" "$2" >/dev/null
serial=$(tr -d '\r' <"$out/screen-serial.txt")
draw=$(sed -n 's/^draw: \([0-9]*\) cycles.*/\1/p' <<<"$serial")
glyph=$(sed -n 's/^glyph: \([0-9]*\) cycles.*bus floor \([0-9]*\) .*/\1 \2/p' <<<"$serial")
read -r text data bss _ < <(avr-size "$out/obj-flash/FlashOled_.elf" | tail -1)
read -r glyph floor <<<"$glyph"
printf '%-52s %s\n' "whole screen (4 lines, 8 strips of I2C)" "$draw cycles ($((draw / 16000)) ms at 16 MHz)"
printf '%-52s %s\n' "full-width glyph read from the flash (first line)" \
  "$glyph cycles, $(awk -v g="$glyph" -v f="$floor" 'BEGIN { printf "%.2f", g / f }') x the bus floor of $floor (target <= 2 x)"
check=$(sed -n 's/^image: ok.*match (\([0-9]*\) cycles)$/\1/p' <<<"$serial")
printf '%-52s %s\n' "romfont_image_check of the whole image" "$check cycles ($((check / 16000)) ms at 16 MHz)"
printf '%-52s %s\n' "sketch flash (text + data)" "$((text + data)) B of 32,256"
printf '%-52s %s\n' "sketch static RAM (data + bss)" "$((data + bss)) B of 2,048"
