#!/usr/bin/env bash
# Builds the libFuzzer targets and runs each for the given number of seconds (default 30), printing per
# target the executions done and the findings (crash, leak or timeout inputs saved under build/fuzz/findings/).
# Exits non-zero when any target found something. Usage: bash fuzz/run.sh [SECONDS] [TARGET...]
# The seeds in fuzz/seeds (pair inputs, see fuzz_support.h) are added to the growing corpora on every run:
# fonts/ holds the real Shinonome pair cut to its first 32 KB and a few hand-made edge cases (each used as
# both fonts of a pair), and the tiny test pair of tests/fixtures joins them; roms/ holds the ROM files the
# converter writes for them, one of zeros, and image-tiny: the tiny pair burned as one image (romfont_image.h,
# index and data on 4 KiB boundaries as on a flash chip) and image-tiny-compact, the same in version 2 (--compact).
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-30}
targets=("${@:2}")
((${#targets[@]})) || targets=(bdf_reader_fuzz readback_fuzz run_fuzz romfont_fuzz)

bash scripts/setup-debian.sh  # clang and its fuzzer runtime among the rest
CC=clang CXX=clang++ cmake -S . -B build/fuzz -DMASKBURN_FUZZ=ON -DMASKBURN_TESTS=OFF -DMASKBURN_VIEW=OFF \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build/fuzz -j2 >/dev/null

fuzz=$PWD/build/fuzz
for target in bdf_reader_fuzz readback_fuzz run_fuzz romfont_fuzz; do
  mkdir -p "$fuzz/corpus/$target" "$fuzz/findings"
  cp fuzz/seeds/$([[ $target == bdf_reader_fuzz || $target == run_fuzz ]] && echo fonts || echo roms)/* "$fuzz/corpus/$target/"
done
# The tiny test pair is a seed too, taken from the test fixtures rather than kept twice.
for target in bdf_reader_fuzz run_fuzz; do
  { cat tests/fixtures/tiny8x16.bdf; echo '--8<--'; cat tests/fixtures/tiny16x16.bdf; } > "$fuzz/corpus/$target/tiny"
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
