#!/usr/bin/env bash
# Runs every fuzz target for the given number of seconds each (default 30) and prints, per target, the
# executions done and the findings (crash, leak or timeout inputs saved under build/fuzz/findings/).
# Exits non-zero when any target found something. Usage: bash fuzz/run.sh [SECONDS] [TARGET...]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-30}
shift || true
targets=("$@")
((${#targets[@]})) || targets=(bdf_reader_fuzz readback_fuzz run_fuzz romfont_fuzz)

bash scripts/setup-debian.sh  # clang and its fuzzer runtime among the rest

CC=clang CXX=clang++ cmake -S . -B build/fuzz -DMASKBURN_FUZZ=ON -DMASKBURN_TESTS=OFF -DMASKBURN_VIEW=OFF \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build/fuzz -j2 >/dev/null
cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DMASKBURN_TESTS=OFF >/dev/null
cmake --build build/release -j2 >/dev/null

# The corpora grow across runs; fresh seeds are added each time.
MASKBURN=$PWD/build/release/maskburn python3 fuzz/make_seeds.py build/fuzz/corpus build/fonts
mkdir -p build/fuzz/findings
failed=0
for target in "${targets[@]}"; do
  log=build/fuzz/$target.log
  set +e
  # -rss_limit_mb keeps a memory blow-up a finding; -timeout makes a hang one too.
  # Absolute paths: the targets work in a private folder of their own.
  "$PWD/build/fuzz/fuzz/$target" "$PWD/build/fuzz/corpus/$target" -max_total_time="$seconds" -timeout=10 \
    -rss_limit_mb=512 -max_len=65536 -print_final_stats=1 -artifact_prefix="$PWD/build/fuzz/findings/$target-" \
    > "$log" 2>&1
  status=$?
  set -e
  executions=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' || echo 0)
  findings=$(grep -c -E '^(==[0-9]+==ERROR|.*runtime error:|SUMMARY: libFuzzer)' "$log" || true)
  echo "$target: $executions executions in ${seconds}s, findings: $findings (exit $status, log $log)"
  if ((status != 0 || findings != 0)); then
    failed=1
    grep -E 'ERROR|runtime error|SUMMARY|Test unit written' "$log" | head -n 10
  fi
done
exit "$failed"
