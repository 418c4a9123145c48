#!/usr/bin/env bash
# Benchmark of a full conversion of the real Shinonome pair (shnm8x16r + shnmk16), report included.
# Prints median wall times over repeated runs (hyperfine), peak memory (/usr/bin/time), and two references
# measured in the same run: the floor (cat of the two fonts and of a file as large as the report, to
# /dev/null) and Debian's bdftopcf compiling the same 16x16 BDF. Usage: bash bench/run.sh [RUNS]
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-200}

bash scripts/setup-debian.sh hyperfine xfonts-utils time
cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DMASKBURN_TESTS=OFF >/dev/null
cmake --build build/release -j2 >/dev/null
bash scripts/shinonome-bdf.sh build/fonts shnm8x16r shnmk16

# Work on tmpfs when there is one, so the disk's journal is not what gets measured.
base=/dev/shm
[[ -d $base && -w $base ]] || base=${TMPDIR:-/tmp}
work=$(mktemp -d "$base/maskburn-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT
cp build/fonts/shnm8x16r.bdf build/fonts/shnmk16.bdf build/release/maskburn "$work/"
cd "$work"
tool="./maskburn -8x16 shnm8x16r.bdf -16x16 shnmk16.bdf"
$tool > report.txt
head -c "$(stat -c %s report.txt)" /dev/zero > report-sized.bin

measure() {  # NAME OUTPUT COMMAND
  hyperfine -N -w 10 -r "$runs" --style none --output="$2" --export-json "$1.json" "$3" >/dev/null 2>&1 ||
    { echo "hyperfine failed on: $3" >&2; exit 1; }
}
measure tool-null null "$tool"
measure tool-file "$work/report-out.txt" "$tool"
measure floor null "cat shnm8x16r.bdf shnmk16.bdf report-sized.bin"
measure floor-file "$work/cat-out.bin" "cat shnm8x16r.bdf shnmk16.bdf report-sized.bin"
measure bdftopcf null "bdftopcf -o out.pcf shnmk16.bdf"

peak=$(/usr/bin/time -f %M $tool 2>&1 >/dev/null | tail -n 1)

python3 - "$peak" "$(stat -c %s report.txt)" <<'PY'
import json, sys
peak_kib, report_bytes = int(sys.argv[1]), int(sys.argv[2])
names = {"tool-null": "maskburn > /dev/null", "tool-file": "maskburn > file",
         "floor": "floor (cat to /dev/null)", "floor-file": "floor (cat to a file)",
         "bdftopcf": "bdftopcf on shnmk16"}
ms = {}
for key, label in names.items():
    r = json.load(open(key + ".json"))["results"][0]
    ms[key] = r["median"] * 1000
    print(f"{label:26s} median {ms[key]:6.2f} ms  (mean {r['mean']*1000:6.2f} ± {r['stddev']*1000:4.2f} ms, {len(r['times'])} runs)")
tool, floor, pcf = ms["tool-null"], ms["floor"], ms["bdftopcf"]
print(f"report size                {report_bytes / 1e6:.2f} MB")
print(f"peak resident memory       {peak_kib / 1024:.2f} MiB  (target <= 10 MiB)")
print(f"tool / bdftopcf            {tool / pcf:.2f}  (target <= 0.50)")
print(f"tool / floor               {tool / floor:.2f}  (target <= 3.00)")
print(f"tool / floor, to a file    {ms['tool-file'] / ms['floor-file']:.2f}")
PY
