#!/usr/bin/env bash
# Windows build check: cross-builds a static maskburn.exe with MinGW-w64, then runs it under Wine next to
# the native Linux maskburn on the same inputs and compares, case by case, the exit status, FONTINDEX.BIN
# and FONTDATA.BIN byte for byte, every other file left in the working folder, and the report (the Windows
# one must be the Linux one with each LF written as CR LF, as text-mode standard output does).
# Usage: bash scripts/windows-check.sh    (as root on Debian; installs what it needs; no display needed)
set -euo pipefail
cd "$(dirname "$0")/.."
started=$SECONDS

root=build/windows-check
logs=$root/logs
rm -rf "$root/runs" "$logs"
mkdir -p "$logs"

phase_start=$SECONDS
phase() {  # Prints how long the step just finished took.
  printf '%-44s %3d s\n' "$1" $((SECONDS - phase_start))
  phase_start=$SECONDS
}

# Runs a command quietly; on failure shows its log and stops.
quietly() {
  local log=$logs/$1.log
  shift
  "$@" > "$log" 2>&1 || { cat "$log"; echo "FAIL  $* (log: $log)"; exit 1; }
}

# --- packages and the Japanese locale --------------------------------------------------------------
bash scripts/setup-debian.sh g++-mingw-w64-x86-64-posix wine wine64 locales
# Wine takes its ANSI code page from the Unix locale: ja_JP.UTF-8 gives code page 932, as Japanese Windows.
if ! locale -a | grep -qix 'ja_JP.utf-\?8'; then
  localedef -i ja_JP -f UTF-8 ja_JP.UTF-8
fi
phase "packages and locale"

# --- builds --------------------------------------------------------------------------------------------
# Only the converter: the tests, fuzzers and the viewer (libpng) are not built for Windows.
common=(-DCMAKE_BUILD_TYPE=Release -DMASKBURN_TESTS=OFF -DMASKBURN_FUZZ=OFF -DMASKBURN_SANITIZE=OFF -DMASKBURN_VIEW=OFF)
quietly native-configure cmake -S . -B build/windows-native "${common[@]}"
quietly native-build cmake --build build/windows-native -j2 --target maskburn
quietly windows-configure cmake -S . -B build/windows "${common[@]}" \
  -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-w64-x86_64.cmake"
quietly windows-build cmake --build build/windows -j2 --target maskburn
linux_exe=$PWD/build/windows-native/maskburn
windows_exe=$PWD/build/windows/maskburn.exe
phase "native and MinGW builds"

# --- fonts ---------------------------------------------------------------------------------------------
bash scripts/shinonome-bdf.sh build/fonts shnm8x16r shnmk16
fonts=$root/runs/fonts
mkdir -p "$fonts"
cp build/fonts/shnm8x16r.bdf build/fonts/shnmk16.bdf tests/fixtures/tiny8x16.bdf tests/fixtures/tiny16x16.bdf \
  "$fonts/"

# --- Wine ----------------------------------------------------------------------------------------------
export WINEPREFIX=$PWD/$root/wineprefix WINEARCH=win64 WINEDEBUG=-all
export WINEDLLOVERRIDES='mscoree,mshtml='  # no Mono / Gecko installer prompts
unset DISPLAY WAYLAND_DISPLAY
[[ -f $WINEPREFIX/system.reg ]] || quietly wineboot wineboot --init
# A first start absorbs any one-time notice (such as the prefix being updated after a Wine upgrade).
quietly wine-start wine cmd /c ver
# Wine's server for this prefix ends by itself a few seconds after the last run; wait for it at the end.
trap 'wineserver -w 2>/dev/null || true' EXIT
phase "Wine prefix"

passed=0
failed=0
pass() { passed=$((passed + 1)); echo "PASS  $*"; }
fail() { failed=$((failed + 1)); echo "FAIL  $*"; }

# --- the executable stands alone -------------------------------------------------------------------------
imports=$(x86_64-w64-mingw32-objdump -p "$windows_exe" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr '\n' ' ')
imports=${imports% }
format=$(x86_64-w64-mingw32-objdump -f "$windows_exe" | sed -n 's/.*file format //p')
foreign=$(tr ' ' '\n' <<< "$imports" | grep -viE '^(kernel32|msvcrt|ucrtbase|api-ms-win-crt-[a-z0-9-]+|advapi32|user32)\.dll$' |
  grep -v '^$' | tr '\n' ' ' || true)
foreign=${foreign% }
if [[ $format == pei-x86-64 && -n $imports && -z $foreign ]]; then
  pass "maskburn.exe is $format and imports only Windows DLLs: $imports"
else
  fail "maskburn.exe format '$format', imports: $imports (not from Windows: ${foreign:-none})"
fi

# --- running one case on both systems ------------------------------------------------------------------
# Both run in their own folder holding the executable, with argv[0] "maskburn.exe" on both: cmd passes on
# what was typed, as on Windows (Wine started directly would pass its full DOS path), and bash's exec -a
# gives the Linux run the same name, so the usage line needs no rewriting.

# new_folders CASE: fresh Linux and Windows working folders for a case; prints nothing.
new_folders() {
  linux_dir=$root/runs/$1/linux
  windows_dir=$root/runs/$1/windows
  mkdir -p "$linux_dir" "$windows_dir"
  cp "$linux_exe" "$linux_dir/maskburn"
  cp "$windows_exe" "$windows_dir/maskburn.exe"
}

# seed_stale_rom_files: old ROM files in both folders, to be replaced whole (or, when nothing is done, kept).
seed_stale_rom_files() {
  local dir
  for dir in "$linux_dir" "$windows_dir"; do
    head -c 3000 /dev/zero | tr '\0' 'I' > "$dir/FONTINDEX.BIN"
    printf 'stale ROM data from an earlier run\n' > "$dir/FONTDATA.BIN"
  done
}

# run_linux ARG...: runs the Linux build in linux_dir; sets linux_status.
run_linux() {
  linux_status=0
  (cd "$linux_dir" && exec -a maskburn.exe ./maskburn "$@") > "$linux_dir.stdout" 2> "$linux_dir.stderr" \
    < /dev/null || linux_status=$?
}

# run_windows LOCALE ARG...: runs maskburn.exe through cmd under Wine in windows_dir; sets windows_status.
run_windows() {
  local locale=$1
  shift
  windows_status=0
  (cd "$windows_dir" && LANG=$locale LC_ALL=$locale wine cmd /c maskburn.exe "$@") \
    > "$windows_dir.stdout" 2> "$windows_dir.stderr" < /dev/null || windows_status=$?
}

# first_difference A B: cmp's first line for two files that differ (or why they cannot be compared).
first_difference() { cmp "$1" "$2" 2>&1 | head -1 || true; }

# compare CASE EXPECTED_STATUS: compares the last pair of runs; prints one PASS or FAIL line.
compare() {
  local name=$1 expected=$2 problems=() file
  [[ $linux_status == "$expected" ]] || problems+=("Linux exit $linux_status, expected $expected")
  [[ $windows_status == "$expected" ]] || problems+=("Windows exit $windows_status, expected $expected")

  local linux_files windows_files
  linux_files=$(cd "$linux_dir" && find . -mindepth 1 ! -name maskburn | sort)
  windows_files=$(cd "$windows_dir" && find . -mindepth 1 ! -name maskburn.exe | sort)
  [[ $linux_files == "$windows_files" ]] ||
    problems+=("files left differ: Linux [$(echo $linux_files)] Windows [$(echo $windows_files)]")
  for file in FONTINDEX.BIN FONTDATA.BIN; do
    if [[ -f $linux_dir/$file ]] && ! cmp -s "$linux_dir/$file" "$windows_dir/$file"; then
      problems+=("$file differs ($(first_difference "$linux_dir/$file" "$windows_dir/$file"))")
    fi
  done

  # The Linux report with every LF as CR LF must be the Windows report, byte for byte.
  perl -pe 's/\n/\r\n/' "$linux_dir.stdout" > "$linux_dir.stdout.crlf"
  if ! cmp -s "$linux_dir.stdout.crlf" "$windows_dir.stdout"; then
    problems+=("report differs: $(first_difference "$linux_dir.stdout.crlf" "$windows_dir.stdout")")
    diff <(iconv -f CP932 -t UTF-8 "$linux_dir.stdout") <(sed 's/\r$//' "$windows_dir.stdout" | iconv -f CP932 -t UTF-8) |
      head -8 | sed -E 's/^(.{0,150}).*/      \1/' > "$windows_dir.diff" || true
    [[ -s $windows_dir.diff ]] || problems+=("the text is the same: only the line ends are not CR LF")
  fi
  [[ ! -s $linux_dir.stderr && ! -s $windows_dir.stderr ]] ||
    problems+=("standard error not empty (see $linux_dir.stderr, $windows_dir.stderr)")

  if ((${#problems[@]} == 0)); then
    local sizes=""
    [[ -f $linux_dir/FONTINDEX.BIN ]] &&
      sizes="FONTINDEX.BIN $(stat -c %s "$linux_dir/FONTINDEX.BIN") B, FONTDATA.BIN $(stat -c %s "$linux_dir/FONTDATA.BIN") B, "
    pass "$name: exit $expected on both; ${sizes}report $(stat -c %s "$linux_dir.stdout") B (LF) identical"
  else
    fail "$name:"
    printf '      %s\n' "${problems[@]}"
    [[ -s $windows_dir.diff ]] && cat "$windows_dir.diff"
  fi
  return 0
}

# case_both CASE EXPECTED_STATUS LOCALE ARG...: same arguments on both systems.
case_both() {
  local name=$1 expected=$2 locale=$3
  shift 3
  run_linux "$@"
  run_windows "$locale" "$@"
  compare "$name" "$expected"
}

ja=ja_JP.UTF-8

new_folders real-pair
case_both "real Shinonome pair shnm8x16r + shnmk16" 0 $ja -8x16 ../../fonts/shnm8x16r.bdf -16x16 ../../fonts/shnmk16.bdf

new_folders tiny-pair
seed_stale_rom_files
case_both "tiny pair over stale ROM files (replaced)" 0 $ja \
  -8x16 ../../fonts/tiny8x16.bdf -16x16 ../../fonts/tiny16x16.bdf

new_folders tiny-pair-english
case_both "tiny pair, Wine in an English locale (code page 1252)" 0 C.UTF-8 \
  -8x16 ../../fonts/tiny8x16.bdf -16x16 ../../fonts/tiny16x16.bdf

new_folders no-arguments
case_both "no arguments" 0 $ja

new_folders missing-font
seed_stale_rom_files
case_both "missing font (stale ROM files kept)" 1 $ja -8x16 ../../fonts/tiny8x16.bdf -16x16 ../../fonts/nosuch.bdf

new_folders option-without-name
seed_stale_rom_files
case_both "option without a name (-8x16 last)" 2 $ja -16x16 ../../fonts/tiny16x16.bdf -8x16

new_folders wrong-size
case_both "wrong-size font (half-width font as -16x16)" 1 $ja -16x16 ../../fonts/tiny8x16.bdf

# Japanese file names: Windows gets them from Wine as Unicode and the tool sees them in code page 932; the
# Linux run is handed the code page 932 bytes directly (file names there are plain bytes), so both reports
# must echo the same bytes. 表 is 0x95 0x5C in code page 932: its second byte is a backslash.
half_name=東雲半角.bdf
full_name=表示用東雲全角.bdf
new_folders japanese-names
cp "$fonts/tiny8x16.bdf" "$windows_dir/$half_name"
cp "$fonts/tiny16x16.bdf" "$windows_dir/$full_name"
half_932=$(printf '%s' "$half_name" | iconv -f UTF-8 -t CP932)
full_932=$(printf '%s' "$full_name" | iconv -f UTF-8 -t CP932)
cp "$fonts/tiny8x16.bdf" "$linux_dir/$half_932"
cp "$fonts/tiny16x16.bdf" "$linux_dir/$full_932"
run_linux -8x16 "$half_932" -16x16 "$full_932"
run_windows $ja -8x16 "$half_name" -16x16 "$full_name"
# The font files are named differently on disk (UTF-8 under Wine); the comparison covers the rest.
rm "$linux_dir/$half_932" "$linux_dir/$full_932" "$windows_dir/$half_name" "$windows_dir/$full_name"
compare "Japanese font file names ($half_name, $full_name)" 0
# The conversion lines, built from the message texts and the names' bytes as iconv gives them.
for line in "半角東雲フォント '|$half_name|$half_932" "東雲フォント '|$full_name|$full_932"; do
  IFS='|' read -r prefix name bytes <<< "$line"
  expected=$(printf '%s' "$prefix" | iconv -f UTF-8 -t CP932)$bytes$(printf "' 変換" | iconv -f UTF-8 -t CP932)
  if LC_ALL=C grep -qxF "$expected" <(sed 's/\r$//' "$windows_dir.stdout"); then
    pass "conversion line for $name echoed in code page 932 ($(printf '%s' "$bytes" | od -An -v -tx1 | tr -s ' \n' ' ' | sed 's/^ //; s/ $//'))"
  else
    fail "conversion line for $name not found as code page 932 bytes in $windows_dir.stdout"
  fi
done

phase "cases"
echo "$passed passed, $failed failed  (took $((SECONDS - started)) s)"
((failed == 0))
