#!/usr/bin/env python3
"""Prints, for every 16-bit full-width ENCODING value 0..65535, the UTF-16 key the tool must give it:
JIS -> Shift_JIS arithmetic, then decoding through Python's cp932 codec (equal to Windows code page 932).
One hexadecimal key per line."""


def shift_jis(value):
    j1, j2 = value >> 8, value & 0xFF
    if j1 & 1:
        trail = j2 + 0x1F + (1 if j2 >= 0x60 else 0)
    else:
        trail = j2 + 0x7E
    lead = (j1 + 0xE1 if j1 < 0x5F else j1 + 0x161) >> 1
    return lead & 0xFF, trail & 0xFF


def key(lead, trail):
    if lead == 0:
        return 0  # the string is empty
    if not (0x81 <= lead <= 0x9F or 0xE0 <= lead <= 0xFC):
        return ord(bytes([lead]).decode("cp932"))
    try:
        text = bytes([lead, trail]).decode("cp932")
    except UnicodeDecodeError:
        return 0x30FB
    return ord(text) if trail != 0 and len(text) == 1 else 0x30FB


print("\n".join("%04X" % key(*shift_jis(value)) for value in range(65536)))
