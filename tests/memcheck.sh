#!/usr/bin/env bash
# Runs the converter on the real Shinonome pair under valgrind's memcheck: no error, no leak.
# Usage: memcheck.sh MASKBURN_EXECUTABLE (fonts from MASKBURN_FONT_DIR; exit 77 = skipped).
set -euo pipefail
tool=$1
fonts=${MASKBURN_FONT_DIR:-}
if [[ -z $fonts || ! -f $fonts/shnmk16.bdf ]]; then
  echo "real fonts not installed (MASKBURN_FONT_DIR)"
  [[ -n ${MASKBURN_REQUIRE_REAL_FONTS:-} ]] && exit 1
  exit 77
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
valgrind --quiet --error-exitcode=99 --leak-check=full --errors-for-leak-kinds=definite,indirect,possible \
  --show-leak-kinds=definite,indirect,possible \
  "$tool" -8x16 "$fonts/shnm8x16r.bdf" -16x16 "$fonts/shnmk16.bdf" > report.txt
echo "memcheck clean: $(wc -c < report.txt) bytes of report, $(stat -c %s FONTDATA.BIN) bytes of glyph data"
