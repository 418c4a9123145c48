#!/usr/bin/env bash
# Builds the libFuzzer targets and runs each for the given number of seconds (default 30), printing per
# target the executions done and the findings (crash, leak or timeout inputs saved under build/fuzz/findings/).
# Exits non-zero when any target found something. Usage: bash fuzz/run.sh [SECONDS] [TARGET...]
# Seeds (pair inputs, see fuzz_support.h), added to the growing corpora on every run: the tiny font pair in
# tests/fixtures, the real fonts in build/fonts cut to their first 32 KB (when present), a few hand-made edge
# cases (each used as both fonts of a pair), the ROM files the converter writes for these pairs, and a ROM
# of zeros.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-30}
targets=("${@:2}")
((${#targets[@]})) || targets=(bdf_reader_fuzz readback_fuzz run_fuzz romfont_fuzz)

bash scripts/setup-debian.sh  # clang and its fuzzer runtime among the rest
CC=clang CXX=clang++ cmake -S . -B build/fuzz -DMASKBURN_FUZZ=ON -DMASKBURN_TESTS=OFF -DMASKBURN_VIEW=OFF \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build/fuzz -j2 >/dev/null  # the targets and the converter itself (sanitized), for the ROM seeds

fuzz=$PWD/build/fuzz fonts=$PWD/build/fuzz/seed-fonts  # pairs NAME.h + NAME.f
rm -rf "$fonts" && mkdir -p "$fonts" "$fuzz/findings" "$fuzz"/corpus/{bdf_reader_fuzz,readback_fuzz,run_fuzz,romfont_fuzz}
cp tests/fixtures/tiny8x16.bdf "$fonts/tiny.h" && cp tests/fixtures/tiny16x16.bdf "$fonts/tiny.f"
[[ ! -f build/fonts/shnmk16.bdf ]] || { head -c 32768 build/fonts/shnm8x16r.bdf >"$fonts/real.h" && head -c 32768 build/fonts/shnmk16.bdf >"$fonts/real.f"; }
printf 'STARTCHAR a\r\nENCODING 65\r\nBITMAP\r\nFF\r\n0x81\r\n-1\r\nENDCHAR\r\n\x1aSTARTCHAR b\n' >"$fonts/edge1.h"
printf 'FONTBOUNDINGBOX 8\nSTARTCHAR a\nENCODING\nBITMAP\n%s\nENDCHAR\n' "$(head -c 300 /dev/zero | tr '\0' F)" >"$fonts/edge2.h"
printf 'STARTCHAR x\nENCODING 9250\nBITMAP\n8001\nFF\n\x00FF\nENDCHAR\nENCODING -1\nENDCHAR\n' >"$fonts/edge3.h"
pair() { cat "$1" && printf '\n--8<--\n' && cat "$2"; }
pair <(head -c 512 /dev/zero) <(head -c 32 /dev/zero) | tee "$fuzz/corpus/readback_fuzz/zero" >"$fuzz/corpus/romfont_fuzz/zero"
for half in "$fonts"/*.h; do
  name=$(basename "$half" .h) full=${half%.h}.f
  [[ -f $full ]] || full=$half
  pair "$half" "$full" | tee "$fuzz/corpus/bdf_reader_fuzz/$name" >"$fuzz/corpus/run_fuzz/$name"
  if (cd "$fonts" && "$fuzz/maskburn" -8x16 "$half" -16x16 "$full" >/dev/null); then
    pair "$fonts/FONTINDEX.BIN" "$fonts/FONTDATA.BIN" | tee "$fuzz/corpus/readback_fuzz/$name" >"$fuzz/corpus/romfont_fuzz/$name"
  fi
done

failed=0
for target in "${targets[@]}"; do
  # -rss_limit_mb keeps a memory blow-up a finding; -timeout makes a hang one too. Absolute paths: the
  # targets work in a private folder of their own.
  log=build/fuzz/$target.log status=0
  "$fuzz/fuzz/$target" "$fuzz/corpus/$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=512 -max_len=65600 \
    -print_final_stats=1 -artifact_prefix="$fuzz/findings/$target-" >"$log" 2>&1 || status=$?
  executions=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' || echo 0)
  findings=$(grep -c -E '^(==[0-9]+==ERROR|.*runtime error:|SUMMARY: libFuzzer)' "$log" || true)
  echo "$target: $executions executions in ${seconds}s, findings: $findings (exit $status, log $log)"
  ((status == 0 && findings == 0)) || { failed=1; grep -E 'ERROR|runtime error|SUMMARY|Test unit written' "$log" | head -n 10; }
done
exit "$failed"
