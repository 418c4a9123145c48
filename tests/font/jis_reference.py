#!/usr/bin/env python3
"""Prints, for every 16-bit full-width ENCODING value 0..65535, the UTF-16 key the tool must give it, one a
line in hexadecimal, or "-" where the code set does not map the code (the glyph is not stored). The value
goes through the JIS -> Shift_JIS arithmetic; the pair is then decoded by Python's cp932 codec (equal to
Windows code page 932) and, for a JIS X 0213 plane 1 font (codes of the 94 x 94 grid only), by its
shift_jis_2004 codec where code page 932 does not map a code of rows 0x21-0x74 or the code lies outside them.
Usage: jis_reference.py jisx0208|jisx0213-plane1"""
import sys

LEADS = set(range(0x81, 0xA0)) | set(range(0xE0, 0xFD))


def shift_jis(value):
    j1, j2 = value >> 8, value & 0xFF
    trail = j2 + 0x1F + (1 if j2 >= 0x60 else 0) if j1 & 1 else j2 + 0x7E
    lead = (j1 + 0xE1 if j1 < 0x5F else j1 + 0x161) >> 1
    return lead & 0xFF, trail & 0xFF


def decode(data, codec):
    try:
        text = data.decode(codec)
    except UnicodeDecodeError:
        return None
    return ord(text) if len(text) == 1 and ord(text) <= 0xFFFF else None


def cp932(lead, trail):
    if lead == 0:
        return 0  # the string is empty: no key, and nothing unmapped
    if lead not in LEADS:
        return ord(bytes([lead]).decode("cp932"))
    return decode(bytes([lead, trail]), "cp932") if trail != 0 else None


def key(value, plane1):
    lead, trail = shift_jis(value)
    if not plane1:
        return cp932(lead, trail)
    if not (0x21 <= value >> 8 <= 0x7E and 0x21 <= value & 0xFF <= 0x7E):
        return None  # off the 94 x 94 grid: no plane-1 code
    if value >> 8 <= 0x74 and cp932(lead, trail) is not None:
        return cp932(lead, trail)
    return decode(bytes([lead, trail]), "shift_jis_2004")


plane1 = sys.argv[1] == "jisx0213-plane1"
print("\n".join("-" if k is None else "%04X" % k for k in (key(v, plane1) for v in range(65536))))
