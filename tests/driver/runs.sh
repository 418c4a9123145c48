#!/usr/bin/env bash
# Runs the real converter (or, for the cases marked "view" or "subset", maskburn-view or maskburn-subset) on every
# case of runs.txt, each in
# a fresh folder, and checks its exit status, what it printed and the files it left; with MASKBURN_MEMCHECK
# set, the cases marked "memcheck" run under valgrind. With --windows MASKBURN.EXE, runs the cases marked
# "windows:" under Wine and the Linux build alike and requires the same status, the same files byte for byte
# and the same report with CR LF line ends.
# Usage: runs.sh MASKBURN [MASKBURN-VIEW|none MASKBURN-SUBSET | --windows MASKBURN.EXE]   (UPDATE_GOLDEN=1
# rewrites golden files)
set -uo pipefail -f  # no file name expansion of case words
export LC_ALL=C  # byte order for listings of file names
tests=$(cd "$(dirname "$0")/.." && pwd)
windows_exe=$([[ ${2:-} != --windows ]] || realpath "$3")
work=$(mktemp -d)
trap 'chmod -R u+w "$work"; rm -rf "$work"' EXIT
mkdir "$work/bin" && ln -s "$(realpath "$1")" "$work/bin/maskburn" && chmod 755 "$work"
[[ ${2:-none} == --windows || ${2:-none} == none ]] || ln -s "$(realpath "$2")" "$work/bin/maskburn-view"
[[ -z ${3:-} || ${2:-} == --windows ]] || ln -s "$(realpath "$3")" "$work/bin/maskburn-subset"
export PATH=$work/bin:$PATH
passed=0 failed=0 cases=0
declare -A opt  # the case's run: its arguments, expected status, limits and marks

to932() { printf '%s' "$1" | iconv -f UTF-8 -t CP932; }
fail() { problems+=("$*"); }
# split LINE [WINE]: key, value, its first word as a name (in UTF-8 for Wine), and the rest.
split() {
  key=${1%%:*} value=${1#*: } name=$(printf '%b' "${value%% *}") rest=""
  [[ $value != *' '* ]] || rest=${value#* }
  [[ $key == write ]] || rest=$(printf '%b.' "$rest") rest=${rest%.}
  [[ -z ${2:-} ]] || name=$(printf '%s' "$name" | iconv -f CP932 -t UTF-8)
}

# set_up DIR [WINE]: the case's files in DIR.
set_up() {
  local line
  mkdir -p "$1"
  for line in "${setup[@]}"; do
    split "$line" "${2:-}"
    case $key in
      copy) rest=${rest:-${name##*/}} && cp "$tests/$name" "$1/$([[ -z ${2:-} ]] && echo "$rest" || printf %s "$rest" | iconv -f CP932 -t UTF-8)" ;;
      real) cp "${MASKBURN_FONT_DIR:-/none}/$name" "$1/" || return 77 ;;
      write) printf '%b' "$rest" > "$1/$name" ;;
      bytes|patch) (cd "$1" && python3 -c 'import sys; name, key, first, *sets = sys.argv[1:]
b = bytearray(open(first, "rb").read()) if key == "patch" else bytearray([int(sets.pop(0), 0)]) * int(first)
for s in sets: at, v = s.split("="); b[int(at, 0)] = int(v, 0)
open(name, "wb").write(b)' "$name" "$key" $rest) ;;
      rom) [[ $name != */* ]] || cp "$tests/$name" "$tests/$rest" "$1/"  # the ROM the converter makes of a pair
        (cd "$1" && maskburn -8x16 "${name##*/}" -16x16 "${rest##*/}" > /dev/null) ;;
      chars) read -r width count first codes <<< "$rest"  # COUNT characters of WIDTH, codes FIRST + i % CODES, appended
        awk -v w="$width" -v n="$count" -v first=$((first)) -v m="$codes" 'BEGIN { printf "FONTBOUNDINGBOX %d 16 0 -2\n", w
          for (i = 0; i < n; i++) printf "STARTCHAR c\nENCODING %d\nBITMAP\n%0" w / 4 "X\nENDCHAR\n", first + i % m, i % 2 ^ w }' \
          >> "$1/$name" ;;
      cut) read -r half full codes <<< "$rest" && mkdir "$1/$name" && for font in "$half" "$full"; do
          awk -v codes="$codes" 'BEGIN { n = split(codes, c, " "); for (i = 1; i <= n; i++) keep[c[i]] = 1 }
            /^STARTCHAR/ { inside = 1; block = "" } inside { block = block $0 "\n" } !inside { print }
            inside && /^ENCODING/ { wanted = ($2 in keep) } inside && /^ENDCHAR/ { inside = 0; if (wanted) printf "%s", block }' \
            "$1/$font" > "$1/$name/$font"; done && (cd "$1/$name" && maskburn -8x16 "$half" -16x16 "$full" > /dev/null) ;;
      fifo) mkfifo "$1/$name" ;;
      feed) mkfifo "$1/$name" && (timeout 30 bash -c 'sleep 1; exec cat "$1" > "$2"' - "$tests/$rest" "$1/$name" 2>/dev/null &) ;;
      dir) mkdir "$1/$name" ;;
      symlink) ln -s "$rest" "$1/$name" ;;
      readonly) chmod 0444 "$1/$name" ;;
      chown) chown "$rest" "$1/$name" ;;
      *) false ;;
    esac || { fail "set-up failed: $line"; return 1; }
  done
  cp -a "$1" "$1.before" && chmod "${opt[sticky]:+1}777" "$1"  # writable for a run as nobody
}

# run_in DIR [WINE]: runs the case in DIR; what it printed in DIR.out and DIR.err, its exit status in status.
run_in() {
  local args=() word
  for word in ${opt[args]:-}; do args+=("$([[ $word == "''" ]] || printf '%b' "$word")"); done
  cat "${opt[stdin]:+$tests/}${opt[stdin]:-/dev/null}" | (
    cd "$1" && trap '' XFSZ && umask 022 && ulimit -f "${opt[limit]:-unlimited}" || exit 99
    for word in ${opt[env]:-}; do export "${word?}"; done
    if [[ -n ${2:-} ]]; then  # cmd passes on "maskburn.exe" as typed, so the Linux run is given that name too
      for word in "${!args[@]}"; do args[word]=$(printf %s "${args[word]}" | iconv -f CP932 -t UTF-8); done
      # maskburn.exe runs where it is (an unpacked zip, say), found through the PATH Wine is given
      WINEPATH=$(winepath -w "$(dirname "$windows_exe")") LANG=${opt[windows]} LC_ALL=${opt[windows]} \
        exec wine cmd /c maskburn.exe "${args[@]}"
    fi
    argv0=maskburn${windows_exe:+.exe} tool=${opt[view]:+maskburn-view}${opt[subset]:+maskburn-subset}
    [[ -z ${opt[memcheck]:-} || -z ${MASKBURN_MEMCHECK:-} ]] || exec valgrind --quiet --error-exitcode=99 --leak-check=full \
      --errors-for-leak-kinds=definite,indirect,possible "${tool:-maskburn}" "${args[@]}"
    [[ -z ${opt[as-nobody]:-} ]] || exec setpriv --reuid=65534 --regid=65534 --clear-groups bash -c 'exec -a "$0" "$@"' \
      "$argv0" "${tool:-maskburn}" "${args[@]}"
    [[ -z $tool ]] || exec "$tool" "${args[@]}"
    exec -a "$argv0" maskburn "${args[@]}"
  ) 2> "$1.err" | head -c "${opt[close-after]:-999999999}" > "$1.out"
  status=${PIPESTATUS[1]}
}

# check DIR: the case's expectations of the run in DIR.
check() {
  local dir=$1 out needle line other
  local tool=${opt[view]:+maskburn-view}${opt[subset]:+maskburn-subset}
  [[ $status == "${opt[status]:-0}" ]] || fail "exit status $status, expected ${opt[status]:-0}"
  # maskburn prints nothing on standard error; the other tools their "stderr:" lines, and their usage after a
  # usage error (status 2) and only then.
  [[ $(grep "^$tool: " "$dir.err") == "$( ((${#said[@]} == 0)) || printf "$tool: %s\n" "${said[@]}")" ]] ||
    fail "messages on standard error: $(head -c 600 "$dir.err")"
  other=$(grep -v "^$tool: " "$dir.err")
  [[ -z $other || ( -n $tool && $status == 2 && $other == usage:* ) ]] ||
    fail "standard error: ${other:0:300}"
  out=$(cat "$dir.out"; echo .)
  for line in "${expect[@]}"; do
    split "$line"
    case $key in
      stdout)
        [[ -z ${UPDATE_GOLDEN:-} ]] || iconv -f CP932 -t UTF-8 "$dir.out" > "$tests/$value"
        to932 "$(cat "$tests/$value"; echo .)" | head -c -1 | cmp -s - "$dir.out" ||
          fail "report differs from $value: $(diff <(iconv -f CP932 -t UTF-8 "$dir.out") "$tests/$value" | head -5)" ;;
      contains) needle=$(to932 "$(printf '%b.' "$value")") && [[ $out == *"${needle%.}"* ]] || fail "report lacks: $value" ;;
      contains-bytes) needle=$(printf '%b.' "$value") && [[ $out == *"${needle%.}"* ]] || fail "report lacks: $value" ;;
      files) [[ $(cd "$dir" && ls -A | tr '\n' ' ') == "$value " ]] || fail "files left: $(cd "$dir" && ls -A)" ;;
      file)
        case $rest in
          kept) cmp -s "$dir.before/$name" "$dir/$name" || fail "$name changed" ;;
          dir) [[ -d $dir/$name ]] || fail "$name is no longer a folder" ;;
          fifo) [[ -p $dir/$name ]] || fail "$name is no longer a FIFO" ;;
          absent) [[ ! -e $dir/$name ]] || fail "$name exists" ;;
          same*) cmp -s "$dir/$name" "$dir/${rest#same }" || fail "$name differs from ${rest#same }" ;;
          size*) [[ $(stat -c %s "$dir/$name") == "${rest#size }" ]] || fail "$name: $(stat -c %s "$dir/$name") bytes" ;;
          mode*) [[ $(stat -c %a "$dir/$name") == "${rest#mode }" ]] || fail "$name: mode $(stat -c %a "$dir/$name")" ;;
          zeros*) cmp -s <(head -c "${rest#zeros }" /dev/zero) "$dir/$name" || fail "$name is not ${rest#zeros } zeros" ;;
          *) [[ -z ${UPDATE_GOLDEN:-} ]] || cp "$dir/$name" "$tests/$rest"
            cmp -s "$tests/$rest" "$dir/$name" || fail "$name differs from $rest" ;;
        esac ;;
      *) fail "unknown key in: $line" ;;
    esac
  done
}

# compare_windows DIR: the Windows run in DIR/windows against the Linux run in DIR/linux; the fonts are named
# differently on the two systems, so only the ROM files are compared by name.
compare_windows() {
  local linux_status=$status file
  set_up "$1/windows" wine && run_in "$1/windows" wine
  find "$1/linux" "$1/windows" -type f ! -name '*.BIN' -delete
  [[ $status == "$linux_status" ]] || fail "Windows exit status $status, Linux $linux_status"
  [[ $(ls -A "$1/linux") == "$(ls -A "$1/windows")" ]] || fail "Windows left other files: $(ls -A "$1/windows")"
  for file in FONTINDEX.BIN FONTDATA.BIN; do
    [[ ! -f $1/linux/$file ]] || cmp -s "$1/linux/$file" "$1/windows/$file" || fail "Windows $file differs"
  done
  sed 's/$/\r/' "$1/linux.out" | cmp -s - "$1/windows.out" || fail "Windows report differs from Linux's with CR LF"
}

finish_case() {
  [[ -n ${title:-} && ( -z $windows_exe || -n ${opt[windows]:-} ) && ( -z ${opt[view]:-} || -e $work/bin/maskburn-view ) &&
     ( -z ${opt[subset]:-} || -e $work/bin/maskburn-subset ) ]] ||
    return 0
  local dir=$work/$((++cases)) skip=0
  problems=()
  set_up "$dir/linux" || skip=$?
  if ((skip == 77)); then
    [[ -z ${MASKBURN_REQUIRE_REAL_FONTS:-} ]] || fail "real fonts missing (MASKBURN_FONT_DIR)"
  elif ((skip == 0)); then
    run_in "$dir/linux"
    if [[ -z $windows_exe ]]; then check "$dir/linux"; else compare_windows "$dir"; fi
  fi
  ((${#problems[@]})) && failed=$((failed + 1)) || passed=$((passed + 1))
  echo "$( ((${#problems[@]})) && echo FAIL || echo PASS)  $title"
  ((${#problems[@]} == 0)) || printf '      %s\n' "${problems[@]}"
}

while IFS= read -r line || [[ -n $line ]]; do
  case ${line%%:*} in
    ''|'#'*) ;;
    case) finish_case
      title=${line#case: } setup=() expect=() said=() opt=() ;;
    args|status|limit|close-after|env|as-nobody|memcheck|view|subset|windows|sticky|stdin) value=${line#*:} opt[${line%%:*}]=${value# } ;;
    stderr) said+=("${line#stderr: }") ;;
    copy|real|write|bytes|patch|rom|chars|cut|fifo|feed|dir|symlink|readonly|chown) setup+=("$line") ;;
    *) expect+=("$line") ;;
  esac
done < "$tests/driver/runs.txt"
finish_case
echo "$passed passed, $failed failed"
((failed == 0))
