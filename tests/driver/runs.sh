#!/usr/bin/env bash
# Runs the cases of runs.txt, each in a fresh folder: its runs of the real converter, maskburn-view,
# maskburn-subset or maskburn-image, one after another, and checks their exit statuses, what they printed and the
# files they left; with MASKBURN_MEMCHECK set, the cases marked "memcheck" run under valgrind. With --windows
# MASKBURN.EXE, runs the cases marked "windows:" under Wine and the Linux build alike and requires the same
# statuses, the same files byte for byte and the same report with CR LF line ends. MASKBURN_STOP_ON_FAILURE=1
# stops at the first failure.
# Usage: runs.sh MASKBURN [MASKBURN-VIEW|none MASKBURN-SUBSET [MASKBURN-IMAGE] | --windows MASKBURN.EXE]
# (UPDATE_GOLDEN=1 rewrites the golden files of cases that compare with one file)
set -uo pipefail -f  # no file name expansion of case words
export LC_ALL=C  # byte order for listings of file names
tests=$(cd "$(dirname "$0")/.." && pwd)
windows_exe=$([[ ${2:-} != --windows ]] || realpath "$3")
work=$(mktemp -d)
trap 'chmod -R u+w "$work"; rm -rf "$work"' EXIT
mkdir "$work/bin" && ln -s "$(realpath "$1")" "$work/bin/maskburn" && chmod 755 "$work"
[[ ${2:-none} == --windows || ${2:-none} == none ]] || ln -s "$(realpath "$2")" "$work/bin/maskburn-view"
[[ -z ${3:-} || ${2:-} == --windows ]] || ln -s "$(realpath "$3")" "$work/bin/maskburn-subset"
[[ -z ${4:-} ]] || ln -s "$(realpath "$4")" "$work/bin/maskburn-image"
export PATH=$work/bin:$PATH
passed=0 failed=0
# opt: the case's marks and limits; command: the set-up kinds that are one command on the words given, run in the
# case's folder; format: what "file:" compares, as formats of stat.
declare -A opt command=([dir]="mkdir -p" [fifo]=mkfifo [readonly]="chmod 0444" [symlink]="ln -s" [chown]=chown) \
  format=([size]=%s [mode]=%a [type]=%F)

fail() { problems+=("$*"); }
for_wine() { if [[ -n ${wine:-} ]]; then iconv -f CP932 -t UTF-8; else cat; fi; }  # names typed in code page 932
# split LINE: key, value, its first word unescaped as a name, and the rest unescaped (NUL bytes lost: "write"
# unescapes into its file).
split() {
  key=${1%%:*} value=${1#*: } first=${value%% *} && name=$(printf '%b' "$first" | for_wine)
  rest=$([[ $key == write ]] || printf '%b.' "${value:${#first}+1}") && rest=${rest%.}
}

# set_up DIR: the case's files in DIR; status 77 when the real fonts are missing.
set_up() {
  mkdir -p "$1"
  for line in "${setup[@]}"; do
    split "$line"
    case $key in
      copy) cp "$tests/$name" "$1/$(printf %s "$rest" | for_wine)" ;;  # no NAME: the same name
      real) for name in $value; do cp "${MASKBURN_FONT_DIR:-/none}/$name" "$1/" || return 77; done ;;
      write) printf '%b' "${value:${#first}+1}" > "$1/$name" ;;
      bytes|patch|chars) (cd "$1" && python3 -c 'import sys; name, key, first, *more = sys.argv[1:]; n = [int(x, 0) for x in more if "=" not in x]
if key == "chars": b = ("FONTBOUNDINGBOX %s 16 0 -2\n" % first + "".join("STARTCHAR c\nENCODING %d\nBITMAP\n%0*X\nENDCHAR\n" % (n[1] + i % n[2], int(first) // 4, i % 2 ** int(first)) for i in range(n[0]))).encode()
else: b = bytearray(open(first, "rb").read()) if key == "patch" else bytearray(n[:1]) * int(first)
for at, v in (s.split("=") for s in more[len(n):]): b[int(at, 0)] = int(v, 0)
open(name, "ab" if key == "chars" else "wb").write(b)' "$name" "$key" $rest) ;;
      rom) { [[ $name != */* ]] || cp "$tests/$name" "$tests/$rest" "$1/"; } && (cd "$1" && maskburn -8x16 "${name##*/}" -16x16 "${rest##*/}" > /dev/null) ;;
      feed) mkfifo "$1/$name" && (timeout 30 bash -c 'sleep 1; exec cat "$1" > "$2"' - "$tests/$rest" "$1/$name" 2>/dev/null &) ;;
      *) [[ -n ${command[$key]:-} ]] && (cd "$1" && ${command[$key]} $value) ;;
    esac || { fail "set-up failed: $line"; return 1; }
  done
  cp -a "$1" "$1.before" && chmod "${opt[sticky]:+1}777" "$1"  # writable for a run as nobody
}

# run_in DIR: the case's runs in DIR, in order; what they printed in DIR.out and DIR.err (but a tool's usage after
# a usage error), their exit statuses in status.
run_in() {
  local command word args statuses=()
  for command in "${runs[@]}"; do
    args=() && for word in $command; do args+=("$([[ $word == "''" ]] || printf '%b' "$word" | for_wine)"); done
    cat "${opt[stdin]:+$tests/}${opt[stdin]:-/dev/null}" | (
      cd "$1" && trap '' XFSZ && umask 022 && ulimit -f "${opt[limit]:-unlimited}" || exit 99
      [[ -z ${opt[env]:-} ]] || export ${opt[env]}
      # cmd passes on "maskburn.exe" as typed, so the Linux run is given that name too
      argv0=maskburn${windows_exe:+.exe} run=(exec -a)
      [[ -z ${opt[memcheck]:-} || -z ${MASKBURN_MEMCHECK:-} ]] || argv0= run=(exec valgrind --quiet --error-exitcode=99 --leak-check=full --errors-for-leak-kinds=definite,indirect,possible)
      [[ -z ${opt[as-nobody]:-} ]] || run=(exec setpriv --reuid=65534 --regid=65534 --clear-groups bash -c 'exec -a "$0" "$@"')
      # maskburn.exe runs where it is (an unpacked zip, say), found through the PATH Wine is given
      [[ -z ${wine:-} ]] || argv0= tool=maskburn.exe run=(exec env WINEPATH="$(winepath -w "${windows_exe%/*}")"
        LANG="${opt[windows]}" LC_ALL="${opt[windows]}" wine cmd /c)
      "${run[@]}" $argv0 "${tool:-maskburn}" "${args[@]}"
    ) 2> "$1.run-err" | head -c "${opt[close-after]:-999999999}" >> "$1.out"
    statuses+=("${PIPESTATUS[1]}")
    [[ -z $tool || ${statuses[-1]} != 2 ]] || sed -i '/^usage:/,$d' "$1.run-err"
    cat "$1.run-err" >> "$1.err"
  done
  status=${statuses[*]}
}

# check DIR: the case's expectations of the runs in DIR.
check() {
  local dir=$1 out needle
  [[ $status == "${opt[status]:-${runs[*]/*/0}}" ]] || fail "exit statuses $status, expected ${opt[status]:-${runs[*]/*/0}}"
  # maskburn prints nothing on standard error; the other tools their "stderr:" lines.
  [[ $(cat "$dir.err"; echo .) == "$( ((${#said[@]} == 0)) || printf "$tool: %s\n" "${said[@]}"; echo .)" ]] || fail "standard error: $(head -c 600 "$dir.err")"
  out=$(cat "$dir.out"; echo .)
  for line in "${expect[@]}"; do
    split "$line"
    case $key in
      stdout) [[ -z ${UPDATE_GOLDEN:-} || $value == *' '* ]] || iconv -f CP932 -t UTF-8 "$dir.out" > "$tests/$value"
        (cd "$tests" && cat $value) | iconv -f UTF-8 -t CP932 | cmp -s - "$dir.out" ||
          fail "report differs from $value: $(diff <(iconv -f CP932 -t UTF-8 "$dir.out") <(cd "$tests" && cat $value) | head -5)" ;;
      contains) needle=$(printf '%b.' "$value" | iconv -f UTF-8 -t CP932) && [[ $out == *"${needle%.}"* ]] || fail "report lacks: $value" ;;
      contains-bytes) needle=$(printf '%b.' "$value") && [[ $out == *"${needle%.}"* ]] || fail "report lacks: $value" ;;
      files) [[ $(cd "$dir" && ls -A | tr '\n' ' ') == "$value " ]] || fail "files left: $(cd "$dir" && ls -A)" ;;
      kept) for name in $value; do cmp -s "$dir.before/$name" "$dir/$name" || fail "$name changed"; done ;;
      file) case $rest in
          size*|mode*|type*) [[ $(stat -c "${format[${rest%% *}]}" "$dir/$name") == "${rest#* }" ]] ;;
          *) [[ -z ${UPDATE_GOLDEN:-} ]] || cp "$dir/$name" "$tests/$rest"; cmp -s "$tests/$rest" "$dir/$name" ;;
        esac || fail "$name is not $rest: $(stat -c '%F of %s bytes, mode %a' "$dir/$name" 2>&1)" ;;
      *) fail "unknown key in: $line" ;;
    esac
  done
}

# compare_windows DIR: the Windows runs in DIR/windows against the Linux runs in DIR/linux; the fonts are named
# differently on the two systems, so only the ROM files are compared by name.
compare_windows() {
  local linux_status=$status wine=1 && set_up "$1/windows" && run_in "$1/windows"
  find "$1/linux" "$1/windows" -type f ! -name '*.BIN' -delete
  [[ $status == "$linux_status" ]] || fail "Windows exit statuses $status, Linux $linux_status"
  diff -r "$1/linux" "$1/windows" > /dev/null || fail "Windows files differ: $(diff -rq "$1/linux" "$1/windows")"
  sed 's/$/\r/' "$1/linux.out" | cmp -s - "$1/windows.out" || fail "Windows report differs from Linux's with CR LF"
}

# finish_case: runs the case read last, if this run of runs.sh takes it, and tells how it went.
finish_case() {
  tool=${opt[tool]:-}
  [[ -n ${title:-} && ( -z $windows_exe || -n ${opt[windows]:-} ) && ( -z $tool || -e $work/bin/$tool ) ]] || return 0
  local dir=$work/$((passed + failed + 1)) skip=0 line && problems=()  # line: of set_up and check
  set_up "$dir/linux" || skip=$?
  ((skip != 77)) || [[ -z ${MASKBURN_REQUIRE_REAL_FONTS:-} ]] || fail "real fonts missing (MASKBURN_FONT_DIR)"
  ((skip)) || { run_in "$dir/linux"; if [[ -z $windows_exe ]]; then check "$dir/linux"; else compare_windows "$dir"; fi; }
  ((${#problems[@]})) || { passed=$((passed + 1)) && echo "PASS  $title" && return; }
  # MASKBURN_STOP_ON_FAILURE=1: a mutation run needs one failure only
  failed=$((failed + 1)) && printf '%s\n' "FAIL  $title" "${problems[@]/#/      }" && ((${MASKBURN_STOP_ON_FAILURE:-0} == 0)) || exit 1
}

while IFS= read -r line || [[ -n $line ]]; do
  key=${line%%:*} value=${line#*:} && value=${value# }
  case $key in
    ''|'#'*) ;;
    case) finish_case; title=${line#case: } setup=() runs=() expect=() said=() opt=() ;;
    args|view|subset|image) runs+=("$value") && [[ $key == args ]] || opt[tool]=maskburn-$key ;;
    status|limit|close-after|env|as-nobody|memcheck|windows|sticky|stdin) opt[$key]=$value ;;
    stderr) said+=("$value") ;;
    stderr-each) read -r from to pattern <<< "$value" && for ((n = from; n <= to; n++)); do said+=("$(printf "$pattern" $n)"); done ;;
    copy|real|write|bytes|patch|rom|chars|feed|dir|fifo|readonly|symlink|chown) setup+=("$line") ;;
    *) expect+=("$line") ;;
  esac
done < "$tests/driver/runs.txt"
finish_case
echo "$passed passed, $failed failed"
((failed == 0))
