// Fuzz target: the BDF reader on arbitrary font bytes. The first byte picks the half-width or the
// full-width variant; the glyph store must stay consistent whatever the input.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "font/bdf_reader.h"
#include "font/glyph_store.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  captureConsole();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  resetConsoleSink();
  clearGlyphStore();
  const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
  const bool full = data[0] & 1;
  if (full) {
    readFullFontText(text);
  } else {
    readHalfFontText(text);
  }
  // Every record in a table sits under its own code, on the chain, and code 0 is never stored.
  int chained = 0;
  for (const GlyphRecord* record = glyphChain; record != nullptr; record = record->next) ++chained;
  int tabled = 0;
  for (int code = 0; code < kHalfTableSize; ++code) {
    if (const GlyphRecord* record = halfGlyphTable[static_cast<std::size_t>(code)]) {
      if (record->code != code || code == 0 || full) std::abort();
      ++tabled;
    }
  }
  for (int high = 0; high < 256; ++high) {
    if (!fullGlyphRowsInUse.test(static_cast<std::size_t>(high))) continue;  // rows never used stay empty
    for (int key = high << 8; key < (high + 1) << 8; ++key) {
      if (const GlyphRecord* record = fullGlyphTable[static_cast<std::size_t>(key)]) {
        if (record->code != key || key == 0 || !full) std::abort();
        ++tabled;
      }
    }
  }
  if (tabled != chained) std::abort();
  return 0;
}
