#!/usr/bin/env python3
"""Writes the fuzz targets' seed inputs into OUT_DIR/<target>/ from the committed tiny font pair, from
hand-made edge cases, and (when given) from real fonts, cut to their first 32 KB.

Usage: make_seeds.py OUT_DIR [REAL_FONT_DIR]
Input layouts: bdf_reader_fuzz takes one selector byte (even = half-width, odd = full-width) then the font;
readback_fuzz, romfont_fuzz and run_fuzz take a 2-byte little-endian length of the first part, then both parts."""
import os
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
FIXTURES = os.path.join(HERE, "..", "tests", "fixtures")
REAL_CUT = 32 * 1024


def pair(first, second):
    return len(first).to_bytes(2, "little") + first + second


def read(path, limit=None):
    with open(path, "rb") as f:
        return f.read(limit) if limit else f.read()


def write(out_dir, target, name, data):
    os.makedirs(os.path.join(out_dir, target), exist_ok=True)
    with open(os.path.join(out_dir, target, name), "wb") as f:
        f.write(data)


def rom_files(half, full, maskburn):
    """The ROM pair the converter writes for a font pair (needs the built converter)."""
    with tempfile.TemporaryDirectory() as work:
        for name, data in (("h.bdf", half), ("f.bdf", full)):
            with open(os.path.join(work, name), "wb") as f:
                f.write(data)
        subprocess.run([maskburn, "-8x16", "h.bdf", "-16x16", "f.bdf"], cwd=work, stdout=subprocess.DEVNULL, check=False)
        return read(os.path.join(work, "FONTINDEX.BIN")), read(os.path.join(work, "FONTDATA.BIN"))


def main():
    out_dir = sys.argv[1]
    real_dir = sys.argv[2] if len(sys.argv) > 2 else None
    maskburn = os.environ.get("MASKBURN")
    fonts = {"tiny": (read(os.path.join(FIXTURES, "tiny8x16.bdf")), read(os.path.join(FIXTURES, "tiny16x16.bdf")))}
    if real_dir and os.path.exists(os.path.join(real_dir, "shnmk16.bdf")):
        fonts["real"] = (read(os.path.join(real_dir, "shnm8x16r.bdf"), REAL_CUT),
                         read(os.path.join(real_dir, "shnmk16.bdf"), REAL_CUT))
    edge = [
        b"STARTCHAR a\r\nENCODING 65\r\nBITMAP\r\nFF\r\n0x81\r\n-1\r\nENDCHAR\r\n\x1aSTARTCHAR b\n",
        b"FONTBOUNDINGBOX 8\nSTARTCHAR a\nENCODING\nBITMAP\n" + b"F" * 300 + b"\nENDCHAR\n",
        b"STARTCHAR x\nENCODING 9250\nBITMAP\n8001\nFF\n\x00FF\nENDCHAR\nENCODING -1\nENDCHAR\n",
    ]
    for name, (half, full) in fonts.items():
        write(out_dir, "bdf_reader_fuzz", name + "-half", b"\x00" + half)
        write(out_dir, "bdf_reader_fuzz", name + "-full", b"\x01" + full)
        write(out_dir, "run_fuzz", name + "-pair", pair(half, full))
        if maskburn:
            index, data = rom_files(half, full, maskburn)
            write(out_dir, "readback_fuzz", name + "-rom", pair(index, data))
            write(out_dir, "romfont_fuzz", name + "-rom", pair(index, data))
    for number, text in enumerate(edge):
        write(out_dir, "bdf_reader_fuzz", "edge%d-half" % number, b"\x00" + text)
        write(out_dir, "bdf_reader_fuzz", "edge%d-full" % number, b"\x01" + text)
        write(out_dir, "run_fuzz", "edge%d-pair" % number, pair(text, text))
    write(out_dir, "readback_fuzz", "empty-rom", pair(bytes(512), bytes(32)))
    write(out_dir, "romfont_fuzz", "empty-rom", pair(bytes(512), bytes(32)))


if __name__ == "__main__":
    main()
