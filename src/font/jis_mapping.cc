// JIS to UTF-16 keys: the classic JIS -> Shift_JIS arithmetic followed by code page 932 decoding, and for JIS
// X 0213 plane 1 fonts, Shift_JIS-2004 decoding of what code page 932 does not map (a generated table).
// Unicode fonts need no mapping: a code point of the BMP is the key.
#include "font/jis_mapping.h"

#include "text/code_page_932.h"

namespace {

#include "font/shift_jis_2004_table.inc"

}  // namespace

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

FullWidthKey fullWidthKey(std::int32_t n, FullWidthCodes codes) {
  if (codes == FullWidthCodes::JisX0213Plane2) return {0, true};
  if (codes == FullWidthCodes::Unicode) {
    if (n < 0 || n > 0xFFFF) return {0, true};
    return {static_cast<std::uint16_t>(n), false};  // 0: no key, as no character is stored under key 0
  }
  const ShiftJisPair pair = jisToShiftJis(n);
  if (codes == FullWidthCodes::JisX0208) {
    if (!codePage932Maps(pair.lead, pair.trail)) return {0, true};
    return {decodeCodePage932(pair.lead, pair.trail), false};
  }
  // A plane-1 code off the 94 x 94 grid would land on another row's or plane's character: it has no key.
  const unsigned row = (static_cast<std::uint32_t>(n) >> 8) & 0xFF, cell = static_cast<std::uint32_t>(n) & 0xFF;
  if (row < 0x21 || row > 0x7E || cell < 0x21 || cell > 0x7E) return {0, true};
  if (row <= 0x74 && codePage932Maps(pair.lead, pair.trail)) return {decodeCodePage932(pair.lead, pair.trail), false};
  const int leadRow = pair.lead <= 0x9F ? pair.lead - 0x81 : pair.lead - 0xE0 + 31;
  const std::uint16_t key = kShiftJis2004Table[leadRow * 256 + pair.trail];
  return {key, key == 0};
}
