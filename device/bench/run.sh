#!/usr/bin/env bash
# Device figures of romfont (device/romfont/src/romfont.c), printed as a table next to their targets:
#  - flash (text + data) and static RAM (data + bss) of the object compiled with -Os for the ATmega328P (AVR),
#    Cortex-M0 and Cortex-M3, from avr-size / arm-none-eabi-size; the same for the burned-image calls
#    (romfont_image.c: init, check and the CRC-32; romfont_image_names.c apart); on AVR also the .rodata that avr-gcc's
#    linker script copies into RAM; and, for information, what a walker-only program linked with
#    --gc-sections keeps of romfont.o (and of the C library on its behalf), read from the link map;
#  - the deepest stack: frames from -fstack-usage (.su), summed along the deepest call chain of romfont.c. The
#    call graph comes from the compiler's own output: each function is compiled into its own section, and the
#    call and tail-jump relocations in `objdump -dr` say which function calls which, with inlining and tail
#    calls as the compiler made them (a tail call's frame replaces its caller's, so it does not add to it);
#  - the same for the text layer (romfont_text.c: decoder, widths, folding, line breaking; romfont_draw.c: glyphs with
#    their fallback and drawing), its deepest stack taken through romfont.o's lookups, which it calls;
#  - cycles of romfont_crc32 per byte on AVR (over 32 bytes of RAM), as romfont_image_check spends them;
#  - cycles of one half-width and one full-width lookup from AVR program memory (romfont_init_callback and a
#    memcpy_P read function), measured in simavr by the firmware device/bench/avr-cycles/cycles.c (Timer1 at the CPU
#    clock), with a tiny ROM that maskburn makes from the test fonts in tests/fixtures.
# Build output goes to build/bench-device/. Usage: bash device/bench/run.sh
set -euo pipefail
cd "$(dirname "$0")/../.."

bash scripts/setup-debian.sh gcc-avr binutils-avr avr-libc simavr gcc-arm-none-eabi binutils-arm-none-eabi \
  libnewlib-arm-none-eabi
cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DMASKBURN_TESTS=OFF >/dev/null
cmake --build build/release -j2 --target maskburn >/dev/null

out=build/bench-device
rm -rf "$out"
mkdir -p "$out"/{avr,cortex-m0,cortex-m3,rom}
src=device/romfont/src
warn=(-std=c99 -Wall -Wextra)

# One target: the plain object (sizes), the object with a section per function (stack frames, call graph,
# link) and the walker-only program with its link map.
build_target() {  # NAME COMPILER LINK-OPTIONS... -- COMPILE-OPTIONS...
  local name=$1 cc=$2 link=() dir="$out/$1"
  shift 2
  while [[ $1 != -- ]]; do link+=("$1"); shift; done
  shift
  local part
  for part in romfont romfont_image romfont_image_names romfont_text romfont_draw; do
    "$cc" "$@" -Os "${warn[@]}" -c "$src/$part.c" -o "$dir/$part-plain.o"
    "$cc" "$@" -Os "${warn[@]}" -ffunction-sections -fdata-sections -fstack-usage -c "$src/$part.c" -o "$dir/$part.o"
  done
  "$cc" "$@" -Os "${warn[@]}" -ffunction-sections -fdata-sections -I "$src" -c device/bench/avr-cycles/walker_only.c \
    -o "$dir/walker_only.o"
  "$cc" "$@" -Os -Wl,--gc-sections -Wl,-Map="$dir/walker_only.map" "${link[@]}" "$dir/walker_only.o" \
    "$dir/romfont.o" -o "$dir/walker_only.elf"
}
build_target avr avr-gcc -- -mmcu=atmega328p
build_target cortex-m0 arm-none-eabi-gcc -nostartfiles --specs=nosys.specs -Wl,-e,main -- -mcpu=cortex-m0 -mthumb
build_target cortex-m3 arm-none-eabi-gcc -nostartfiles --specs=nosys.specs -Wl,-e,main -- -mcpu=cortex-m3 -mthumb

# The tiny ROM, from the real converter, as C arrays in program memory; and the codes that have a glyph.
(cd "$out/rom" && ../../release/maskburn -8x16 ../../../tests/fixtures/tiny8x16.bdf \
  -16x16 ../../../tests/fixtures/tiny16x16.bdf >/dev/null)
python3 - "$out/rom" <<'PY'
import sys
rom = sys.argv[1]
index = open(rom + "/FONTINDEX.BIN", "rb").read()
data = open(rom + "/FONTDATA.BIN", "rb").read()
def array(name, content):
    return (f"static const uint8_t {name}[{name.upper()}_SIZE] MASKBURN_ROM_STORAGE = {{"
            + ", ".join(f"0x{b:02x}" for b in content) + "};\n")
with open(rom + "/tiny_rom.h", "w") as h:
    h.write("#include <stdint.h>\n#ifndef MASKBURN_ROM_STORAGE\n#define MASKBURN_ROM_STORAGE\n#endif\n")
    h.write(f"#define FONTINDEX_BIN_SIZE {len(index)}u\n#define FONTDATA_BIN_SIZE {len(data)}u\n")
    h.write(array("fontindex_bin", index) + array("fontdata_bin", data))
half = [c for c in range(256) if index[c]]
full = [(high << 8) | low for high in range(256) if index[256 + high] for low in range(256)
        if index[index[256 + high] * 512 + 2 * low:][:2] != b"\0\0"]
with open(rom + "/tiny_keys.h", "w") as h:
    h.write("static const uint8_t half_codes[] = {" + ", ".join(map(str, half)) + "};\n")
    h.write("static const uint16_t full_keys[] = {" + ", ".join(f"0x{k:04x}u" for k in full) + "};\n")
PY

# The measuring firmware, run in simavr; its UART lines come out on standard error in colour codes.
avr-gcc -mmcu=atmega328p -Os "${warn[@]}" -I "$src" -I "$out/rom" device/bench/avr-cycles/cycles.c "$src/romfont.c" \
  "$src/romfont_image.c" -o "$out/avr/cycles.elf"
timeout 60 simavr -m atmega328p -f 16000000 "$out/avr/cycles.elf" >/dev/null 2>"$out/avr/simavr.log" || true

python3 - "$out" <<'PY'
import os, re, subprocess, sys
out = sys.argv[1]
targets = [("avr", "AVR ATmega328P", "avr-"), ("cortex-m0", "Cortex-M0", "arm-none-eabi-"),
           ("cortex-m3", "Cortex-M3", "arm-none-eabi-")]
flash_target = {"avr": 2560, "cortex-m0": 1229}
rows = []
def row(figure, value, target="", met=None):
    rows.append((figure, value, target, "" if met is None else ("yes" if met else "NO")))
def run(*command):
    return subprocess.run(command, check=True, capture_output=True, text=True).stdout

def call_graph(objdump, obj):
    """Callees of each function (name, is_tail_call), the functions that call through a pointer, and the
    functions that refer to each read-only data section."""
    calls, indirect, readers, function, mnemonic = {}, set(), {}, None, ""
    for line in run(objdump, "-dr", obj).splitlines():
        section = re.match(r"Disassembly of section \.text\.(\S+):", line)
        if section:
            function = section.group(1)
            calls[function] = []
            continue
        if function is None:
            continue
        reloc = re.search(r"\bR_\w+\s+(\S+)", line)
        if reloc:
            target = reloc.group(1).split("+")[0]
            callee = re.sub(r"^\.text\.", "", target)
            if target.startswith(".rodata"):
                readers.setdefault(function, set()).add(target)
            elif callee != function and not callee.startswith("."):
                calls[function].append((callee, mnemonic not in ("call", "rcall", "bl", "blx")))
            continue
        fields = line.split("\t")
        if len(fields) >= 3 and re.match(r"\s*[0-9a-f]+:$", fields[0]):
            mnemonic = fields[2].strip()
            operands = fields[3] if len(fields) > 3 else ""
            if mnemonic in ("icall", "eicall") or (mnemonic == "blx" and re.match(r"\s*(r\d+|ip|lr)", operands)):
                indirect.add(function)
    return calls, indirect, readers

def deepest(frames, calls, indirect):
    """Deepest stack of each function through the graph: (bytes, chain text, calls left out)."""
    memo = {}
    def depth(f):
        if f not in memo:
            outside = (["the read function"] if f in indirect else []) + \
                      [g for g, _ in calls.get(f, []) if g not in frames]
            best = (frames[f], f"{f} {frames[f]}", outside)
            for g, tail in calls.get(f, []):
                if g in frames:
                    d, chain, left = depth(g)
                    total = d if tail else frames[f] + d
                    if total > best[0]:
                        best = (total, f"{f} {frames[f]} {'->' if tail else '>'} {chain}", left)
            memo[f] = best
        return memo[f]
    return max((depth(f) for f in frames), key=lambda x: x[0])

def linked(mapfile, rodata_in_ram):
    """Flash and RAM bytes that the link kept of romfont.o, and of library members pulled in for it."""
    text = open(mapfile).read()
    head, body = text.split("Linker script and memory map", 1)
    owners = {"romfont.o"}
    members = re.findall(r"^(\S+\(\S+\))\n\s+(\S+) \(", head.split("Discarded input sections")[0], re.M)
    changed = True
    while changed:
        changed = False
        for member, by in members:
            if os.path.basename(by) in owners and member not in owners:
                owners.add(member)
                changed = True
    flash = ram = 0
    pulled = sorted(re.sub(r".*\((.*)\.o\)", r"\1", m) for m in owners if m != "romfont.o")
    for name, size, owner in re.findall(r"^ (\.\S+|COMMON)\s+0x[0-9a-f]+\s+0x([0-9a-f]+)\s+(\S+)$", body, re.M):
        if os.path.basename(owner) not in owners and owner not in owners:
            continue
        size = int(size, 16)
        if name.startswith((".bss", "COMMON")):
            ram += size
        elif name.startswith(".data") or (name.startswith(".rodata") and rodata_in_ram):
            flash, ram = flash + size, ram + size
        elif name.startswith((".text", ".rodata")):
            flash += size
    return flash, ram, pulled

def avr_rodata(obj):
    """Bytes of .rodata in an AVR object: avr-gcc's linker script copies them into RAM."""
    return sum(int(size, 16) for size in re.findall(r"^\s*\d+\s+\.rodata\S*\s+([0-9a-f]+)",
                                                     run("avr-objdump", "-h", obj), re.M))

def stack_frames(su):
    """Stack frame of each function, from -fstack-usage's file."""
    frames = {}
    for line in open(su):
        where, size, kind = line.rstrip("\n").split("\t")
        frames[where.split(":")[-1]] = int(size)
        if kind != "static":
            print(f"warning: {where} has a {kind} frame", file=sys.stderr)
    return frames

for key, label, prefix in targets:
    d = f"{out}/{key}"
    text, data, bss = map(int, run(prefix + "size", f"{d}/romfont-plain.o").splitlines()[1].split()[:3])
    flash = text + data
    target = flash_target.get(key)
    row(f"{label}: flash (text+data), romfont.o", f"{flash} B",
        f"<= {target} B" if target else "", flash <= target if target else None)
    row(f"{label}: static RAM (data+bss), romfont.o", f"{data + bss} B", "0 B", data + bss == 0)
    calls, indirect, readers = call_graph(prefix + "objdump", f"{d}/romfont.o")
    if key == "avr":
        rodata = avr_rodata(f"{d}/romfont-plain.o")
        row(f"{label}: + .rodata copied to RAM when linked", f"{rodata} B", "0 B", rodata == 0)
        row("  read-only data used by", ", ".join(sorted(readers)) or "none")
    lflash, lram, pulled = linked(f"{d}/walker_only.map", key == "avr")
    row(f"{label}: walker-only link keeps", f"{lflash} B flash, {lram} B RAM" +
        (f" (with {', '.join(pulled)})" if pulled else ""))
    frames = stack_frames(f"{d}/romfont.su")
    total, chain, left = deepest(frames, calls, indirect)
    row(f"{label}: deepest stack (.su)", f"{total} B" + (f" + {' + '.join(left)}" if left else ""))
    row("  chain (> call, -> tail call)", chain)
    outside = [f"{f} calls the read function" for f in sorted(indirect)] + \
              [f"{f} calls {g}" for f in sorted(calls) for g, _ in calls[f] if g not in frames]
    row("  calls out of romfont.o", "; ".join(outside))
    # The burned-image calls: firmware that opens an image carries romfont_image.o on top of romfont.o.
    for part, what in (("romfont_image", "init, check, CRC-32"), ("romfont_image_names", "result names")):
        text, data, bss = map(int, run(prefix + "size", f"{d}/{part}-plain.o").splitlines()[1].split()[:3])
        rodata = avr_rodata(f"{d}/{part}-plain.o") if key == "avr" else 0
        row(f"{label}: flash (text+data), {part}.o ({what})", f"{text + data} B")
        row(f"{label}: static RAM (data+bss), {part}.o", f"{data + bss} B" +
            (f" + {rodata} B .rodata copied to RAM" if rodata else ""), "" if part.endswith("names") else "0 B",
            None if part.endswith("names") else data + bss + rodata == 0)
    calls, indirect, _ = call_graph(prefix + "objdump", f"{d}/romfont_image.o")
    frames = stack_frames(f"{d}/romfont_image.su")
    total, chain, left = deepest(frames, calls, indirect)
    row(f"{label}: deepest stack of romfont_image.o (.su)", f"{total} B" + (f" + {' + '.join(left)}" if left else ""))
    row("  chain (> call, -> tail call)", chain)
    # The text layer: two objects on top of romfont.o, whose lookups its drawing calls.
    for part, what in (("romfont_text", "decoder, widths, line breaking"), ("romfont_draw", "glyphs, drawing")):
        text, data, bss = map(int, run(prefix + "size", f"{d}/{part}-plain.o").splitlines()[1].split()[:3])
        rodata = avr_rodata(f"{d}/{part}-plain.o") if key == "avr" else 0
        row(f"{label}: flash (text+data), {part}.o ({what})", f"{text + data} B")
        row(f"{label}: static RAM (data+bss), {part}.o", f"{data + bss} B" +
            (f" + {rodata} B .rodata copied to RAM" if rodata else ""), "0 B", data + bss + rodata == 0)
    frames, calls, indirect = {}, {}, set()
    for part in ("romfont", "romfont_text", "romfont_draw"):
        part_calls, part_indirect, _ = call_graph(prefix + "objdump", f"{d}/{part}.o")
        frames.update(stack_frames(f"{d}/{part}.su"))
        calls.update(part_calls)
        indirect |= part_indirect
    total, chain, left = deepest(frames, calls, indirect)
    row(f"{label}: deepest stack of the text layer (.su)", f"{total} B" + (f" + {' + '.join(left)}" if left else ""))
    row("  chain (> call, -> tail call)", chain)

uart = {}
log = re.sub(r"\x1b\[[0-9;]*m", "", open(f"{out}/avr/simavr.log", errors="replace").read())
for name, value in re.findall(r"(\w+) (\d+)\.?\s*$", log, re.M):
    uart[name] = int(value)
needed = ("empty", "half_cycles", "full_cycles", "memcpy_P_32", "half_stack", "full_stack", "lookups", "failed", "init",
          "crc32_32")
if any(n not in uart for n in needed) or uart["failed"]:
    sys.exit(f"the measuring firmware did not report (see {out}/avr/simavr.log):\n{log}")
results = ["ok", "no glyph", "bad image", "read error", "bad UTF-8", "end of string", "bad argument"]
row("AVR romfont_init_callback, 2048-byte index", results[uart["init"]] if uart["init"] < 7 else str(uart["init"]),
    "ok", uart["init"] == 0)
row("AVR cycles: half-width glyph, program memory", f"{uart['half_cycles']} cycles")
row("AVR cycles: full-width glyph, program memory", f"{uart['full_cycles']} cycles", "<= 1000",
    uart["full_cycles"] <= 1000)
row("AVR cycles: romfont_crc32, per byte (32 bytes)", f"{uart['crc32_32'] / 32:.0f} cycles")
row("AVR cycles: memcpy_P of 32 bytes (reference)", f"{uart['memcpy_P_32']} cycles")
row("AVR cycles: empty measurement (taken off)", f"{uart['empty']} cycles")
row("AVR stack in simavr, half / full lookup", f"{uart['half_stack']} / {uart['full_stack']} B (read function included)")
print(f"romfont, -Os; cycles: worst of {uart['lookups']} lookups in simavr (ATmega328P, 16 MHz), tiny test ROM\n")
width = max(len(r[0]) for r in rows)
vwidth = max(len(r[1]) for r in rows if not r[0].startswith("  "))
print(f"{'figure':{width}}  {'value':{vwidth}}  {'target':9}  met")
for figure, value, target, met in rows:
    print(f"{figure:{width}}  {value:{vwidth}}  {target:9}  {met}".rstrip())
PY
