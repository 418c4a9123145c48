#!/usr/bin/env bash
# The test command of a mutation run (tools/mutation/mutants.py run ... --test 'bash tools/mutation/run-tests.sh
# TREE'): the GoogleTest suites and the compile checks, the table of runs stopping at its first failing case, and
# romfont on the emulated Cortex-M3; status 0 only when all pass. TREE's build is TREE/build/normal; the real
# fonts are in MASKBURN_FONT_DIR (default TREE/build/fonts) and the full ROM for the Cortex-M3 in TREE/build/device-rom.
tree=$(realpath "$1") build=$(realpath "$1")/build/normal
export MASKBURN_FONT_DIR=${MASKBURN_FONT_DIR:-$tree/build/fonts} MASKBURN_REQUIRE_REAL_FONTS=1 MASKBURN_STOP_ON_FAILURE=1
cd "$build" || exit 1
ctest -j2 -E runs_of_the_executables --stop-on-failure > /dev/null 2>&1 || exit 1
bash "$tree/tests/driver/runs.sh" maskburn tools/view/maskburn-view tools/subset/maskburn-subset tools/image/maskburn-image > /dev/null 2>&1 || exit 1
bash "$tree/tests/device/cortex-m-check.sh" "$build" "$tree/build/device-rom" > /dev/null 2>&1 || exit 1
