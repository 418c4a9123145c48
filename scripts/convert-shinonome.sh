#!/usr/bin/env bash
# The main job on the real fonts: builds maskburn, converts the Shinonome 8x16 + 16x16 pair into
# work/FONTINDEX.BIN and work/FONTDATA.BIN, keeps the report (code page 932, and a UTF-8 copy) and
# prints a short summary.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup-debian.sh
log=build/release-build.log
mkdir -p build
{ cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DMASKBURN_TESTS=OFF &&
  cmake --build build/release -j2; } > "$log" 2>&1 || { cat "$log"; exit 1; }
bash scripts/shinonome-bdf.sh work/fonts shnm8x16r shnmk16

cd work
status=0
../build/release/maskburn -8x16 fonts/shnm8x16r.bdf -16x16 fonts/shnmk16.bdf > report.txt || status=$?
iconv -f CP932 -t UTF-8 report.txt > report.utf8.txt

echo "maskburn exit status: $status"
echo "FONTINDEX.BIN: $(stat -c %s FONTINDEX.BIN) bytes    FONTDATA.BIN: $(stat -c %s FONTDATA.BIN) bytes"
echo "glyphs listed from memory: $(grep -c 'romImage.indexH\[' report.utf8.txt) half-width," \
     "$(grep -c 'romImage.indexF\[' report.utf8.txt) full-width"
echo "glyphs listed from the files: $(grep -c '^+\[..\] ' report.utf8.txt) half-width," \
     "$(grep -c '^+\[....\] ' report.utf8.txt) full-width"
grep -E '^romImage.fontCountF=' report.utf8.txt
echo "report: $PWD/report.txt (code page 932), $PWD/report.utf8.txt (UTF-8, $(wc -l < report.utf8.txt) lines)"
exit "$status"
