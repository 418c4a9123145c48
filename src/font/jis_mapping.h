// The mapping of the full-width font's codes to UTF-16 keys: JIS code -> Shift_JIS byte pair -> UTF-16 key,
// or a Unicode font's code point taken as it is. The ROM is keyed by UTF-16 while most full-width BDF fonts
// number their characters by JIS code.
#pragma once

#include <cstdint>

struct ShiftJisPair {
  std::uint8_t lead;
  std::uint8_t trail;
};

// Arithmetic JIS -> Shift_JIS conversion of the low 16 bits of n (higher bits are ignored; no range check).
ShiftJisPair jisToShiftJis(std::int32_t n);

// The code set a full-width font declares with CHARSET_REGISTRY and CHARSET_ENCODING.
enum class FullWidthCodes {
  JisX0208,        // JIS X 0208, JIS C 6226 or nothing declared: decoded through code page 932
  JisX0213Plane1,  // JISX0213.2000 or JISX0213.2004, encoding 1
  JisX0213Plane2,  // JISX0213.2000 or JISX0213.2004, encoding 2: no mapping here
  Unicode,         // ISO10646, encoding 1: each code is its own key
};

// The key of a full-width ENCODING value, or why it has none.
struct FullWidthKey {
  std::uint16_t key = 0;  // 0: no key
  bool unmapped = false;  // no key because the code set does not map the code (the reader counts these)
};

// JIS X 0208 codes: the Shift_JIS pair decoded through code page 932 (a lead byte of 0 gives no key, a pair
// the code page does not map is unmapped). JIS X 0213 plane 1: a code off the 94 x 94 grid is unmapped (it
// would land on another row's or plane's character); a code in rows 0x21-0x74 that code page 932 maps keeps
// that key, as on Windows; every other code is its Shift_JIS-2004 pair's character when that is one
// character in the BMP, else unmapped. Plane 2: always unmapped. Unicode: U+0001-U+FFFF is its own key, 0 gives
// no key, a negative code or one beyond the BMP is unmapped.
FullWidthKey fullWidthKey(std::int32_t n, FullWidthCodes codes);
