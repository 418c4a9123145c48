// JIS X 0208 to UTF-16 key: the classic JIS -> Shift_JIS arithmetic followed by code page 932 decoding.
// Codes outside JIS X 0208 go through the same arithmetic, so every 16-bit value has a defined key.
#include "font/jis_mapping.h"

#include "text/code_page_932.h"

ShiftJisPair jisToShiftJis(std::int32_t n) {
  const unsigned bits = static_cast<std::uint32_t>(n);
  const unsigned j1 = (bits >> 8) & 0xFF;
  const unsigned j2 = bits & 0xFF;
  unsigned trail;
  if (j1 & 1) {
    trail = j2 + 0x1F + (j2 >= 0x60 ? 1 : 0);
  } else {
    trail = j2 + 0x7E;
  }
  const unsigned lead = (j1 < 0x5F ? j1 + 0xE1 : j1 + 0x161) >> 1;
  return ShiftJisPair{static_cast<std::uint8_t>(lead & 0xFF), static_cast<std::uint8_t>(trail & 0xFF)};
}

std::uint16_t jisToUnicodeKey(std::int32_t n) {
  const ShiftJisPair pair = jisToShiftJis(n);
  return decodeCodePage932(pair.lead, pair.trail);
}
