#!/usr/bin/env bash
# Converts Debian's Shinonome PCF fonts (package xfonts-shinonome), or any other font of Debian's misc folder
# such as the JIS X 0213 fonts of xfonts-jisx0213 or the Unicode fonts f16 (xfonts-efont-unicode) and unifont
# (xfonts-unifont), to BDF in the given folder.
# Usage: scripts/shinonome-bdf.sh FOLDER [FONT...]   (default fonts: shnm8x16r shnmk16)
set -euo pipefail

folder=$1
shift
fonts=("$@")
((${#fonts[@]})) || fonts=(shnm8x16r shnmk16)
mkdir -p "$folder"
for font in "${fonts[@]}"; do
  source=/usr/share/fonts/X11/misc/$font.pcf.gz
  target=$folder/$font.bdf
  [[ -s $target && $target -nt $source ]] && continue
  zcat "$source" > "$folder/$font.pcf"
  pcf2bdf -o "$target" "$folder/$font.pcf"
  rm -f "$folder/$font.pcf"
done
