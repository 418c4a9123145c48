// JIS X 0208 code -> Shift_JIS byte pair -> UTF-16 key, the mapping of the full-width font's codes.
// The ROM is keyed by UTF-16 while the Shinonome full-width font numbers its characters by JIS code.
#pragma once

#include <cstdint>

struct ShiftJisPair {
  std::uint8_t lead;
  std::uint8_t trail;
};

// Arithmetic JIS -> Shift_JIS conversion of the low 16 bits of n (higher bits are ignored; no range check).
ShiftJisPair jisToShiftJis(std::int32_t n);

// The UTF-16 key of a full-width "ENCODING" value: its Shift_JIS pair decoded through code page 932.
// 0 means the glyph has no key (lead byte 0).
std::uint16_t jisToUnicodeKey(std::int32_t n);
