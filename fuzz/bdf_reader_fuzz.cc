// Fuzz target: the BDF readers on an arbitrary font pair (half-width font, then full-width font), read
// into one glyph store as a run does; the store must stay consistent whatever the input.
#include <algorithm>

#include "font/bdf_reader.h"
#include "font/glyph_store.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto [half, full, separated] = splitInput(data, size);
  clearGlyphStore();
  readHalfFontText(half);
  readFullFontText(full);
  // Each record on the chain holds one kind of glyph and sits under its own code (never 0) in that kind's
  // table, its full-width row marked in use; the tables hold nothing else.
  long chained = 0;
  for (const GlyphRecord* record = glyphChain; record != nullptr; record = record->next, ++chained) {
    const std::size_t code = record->code;
    const bool inHalf = code < halfGlyphTable.size() && halfGlyphTable[code] == record;
    const bool inFull = fullGlyphTable[code] == record && fullGlyphRowsInUse.test(code >> 8);
    if (code == 0 || record->hasHalf == record->hasFull || (record->hasHalf ? !inHalf : !inFull)) std::abort();
  }
  if (kHalfTableSize + kFullTableSize - std::count(halfGlyphTable.begin(), halfGlyphTable.end(), nullptr) -
          std::count(fullGlyphTable.begin(), fullGlyphTable.end(), nullptr) != chained) std::abort();
  return 0;
}
