// Glyph store storage and its commit, clear and release operations.
// Records are created on first commit of a code and reused by later commits of the same kind and code.
#include "font/glyph_store.h"

#include <algorithm>

std::array<GlyphRecord*, kHalfTableSize> halfGlyphTable{};
std::array<GlyphRecord*, kFullTableSize> fullGlyphTable{};
GlyphRecord* glyphChain = nullptr;

namespace {

GlyphRecord* recordFor(GlyphRecord*& entry, std::uint16_t code) {
  if (entry == nullptr) {
    entry = new GlyphRecord;  // out of memory ends the process: nothing can be built without the store
    entry->next = glyphChain;
    glyphChain = entry;
  }
  entry->code = code;
  return entry;
}

}  // namespace

void clearGlyphStore() {
  releaseGlyphStore();
  halfGlyphTable.fill(nullptr);
  fullGlyphTable.fill(nullptr);
}

void commitHalfGlyph(std::uint8_t code, const std::uint8_t (&bitmap)[16]) {
  GlyphRecord* record = recordFor(halfGlyphTable[code], code);
  std::copy(std::begin(bitmap), std::end(bitmap), record->halfBitmap.begin());
  record->hasHalf = 1;
}

void commitFullGlyph(std::uint16_t code, const std::uint8_t (&bitmap)[32]) {
  GlyphRecord* record = recordFor(fullGlyphTable[code], code);
  std::copy(std::begin(bitmap), std::end(bitmap), record->fullBitmap.begin());
  record->hasFull = 1;
}

void releaseGlyphStore() {
  while (glyphChain != nullptr) {
    GlyphRecord* next = glyphChain->next;
    delete glyphChain;
    glyphChain = next;
  }
}
