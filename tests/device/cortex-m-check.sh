#!/usr/bin/env bash
# Cortex-M3 check: builds device/bare-metal-m3 (romfont with a whole ROM linked into flash) for qemu's
# mps2-an385 board, runs it, and compares its output with the PC's: the text art with maskburn-view --art
# over the same ROM, the count and CRC-32 of every glyph with a reading of the ROM files in Python. It runs twice:
# over the ROM files, and over the same ROM's version-2 image (maskburn-image --compact) read from flash.
# Usage: bash tests/device/cortex-m-check.sh BUILD ROMDIR
#   BUILD: the CMake build folder holding tools/view/maskburn-view; ROMDIR: FONTINDEX.BIN and FONTDATA.BIN.
set -euo pipefail
build=$(realpath "$1") rom=$(realpath "$2")
cd "$(dirname "$0")/../.."
src=device/bare-metal-m3 lib=device/romfont/src out=build/cortex-m3
text=$(sed -n 's/^static const char art_text\[\] = "\(.*\)";$/\1/p' "$src/main.c")
mkdir -p "$out"
"$build/tools/image/maskburn-image" --index "$rom/FONTINDEX.BIN" --data "$rom/FONTDATA.BIN" --compact \
  "$out/FONTIMAGE.BIN" >/dev/null || { echo "FAIL cortex-m3: maskburn-image --compact"; exit 1; }
# Two firmwares: the ROM files as arrays (romfont_init_memory), and the same ROM's version-2 image opened with
# romfont_image_init (-DBARE_METAL_IMAGE); both must print what the PC prints.
for kind in files image; do
  arm-none-eabi-gcc -mcpu=cortex-m3 -mthumb -Os -std=c99 -Wall -Wextra -Werror -ffunction-sections -fdata-sections \
    $([[ $kind == image ]] && echo -DBARE_METAL_IMAGE "-I$out" "$lib/romfont_image.c" "$lib/romfont_image_names.c") \
    -I"$lib" -I"$rom" "$src/startup.c" "$src/main.c" "$src/rom.S" "$lib/romfont.c" "$lib/romfont_names.c" -T "$src/mps2-an385.ld" \
    --specs=nano.specs --specs=rdimon.specs -nostartfiles -Wl,--gc-sections -o "$out/bare-metal-m3-$kind.elf" ||
    { echo "FAIL cortex-m3: the $kind firmware did not build"; exit 1; }
done

# What the device should print: the art as the viewer draws it, then the glyph walk done over the files.
{
  "$build/tools/view/maskburn-view" --art "$text" --index "$rom/FONTINDEX.BIN" --data "$rom/FONTDATA.BIN" &&
  python3 - "$rom" <<'EOF'
import sys, zlib
index = open(sys.argv[1] + '/FONTINDEX.BIN', 'rb').read()
data = open(sys.argv[1] + '/FONTDATA.BIN', 'rb').read()
half = [data[(k - 1) * 16:k * 16] for k in index[:256] if k]
slots = [int.from_bytes(index[512 * b + 2 * low:512 * b + 2 * low + 2], 'little')
         for b in index[256:512] if b for low in range(256)]
full = [data[s * 32:s * 32 + 32] for s in slots if s]
print('glyphs %d %d crc32 %08X' % (len(half), len(full), zlib.crc32(b''.join(half + full))))
EOF
} > "$out/expected.txt" || echo "(the PC side failed with status $?)" >> "$out/expected.txt"

for kind in files image; do
  start=$(date +%s%N) status=0
  timeout 120 qemu-system-arm -M mps2-an385 -nographic -semihosting -kernel "$out/bare-metal-m3-$kind.elf" \
    < /dev/null > "$out/run-$kind.txt" || status=$?
  ms=$(( ($(date +%s%N) - start) / 1000000 ))
  if [[ $status -eq 0 ]] && cmp -s "$out/expected.txt" "$out/run-$kind.txt"; then
    echo "PASS cortex-m3 ($kind): art and $(tail -n 1 "$out/run-$kind.txt") match the PC (qemu run ${ms} ms)"
  else
    echo "FAIL cortex-m3 ($kind): qemu exit status $status; expected (PC) against device output:"
    diff -a "$out/expected.txt" "$out/run-$kind.txt" || true
    exit 1
  fi
done
