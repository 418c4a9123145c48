// Glyph store storage and its commit, clear and release operations.
// Records are created on first commit of a code and reused by later commits of the same kind and code.
// They are carved out of blocks that grow to a thousand records, so a real font costs a few allocations,
// not thousands, and a tiny one stays tiny.
#include "font/glyph_store.h"

#include <algorithm>
#include <memory>

std::array<GlyphRecord*, kHalfTableSize> halfGlyphTable{};
std::array<GlyphRecord*, kFullTableSize> fullGlyphTable{};
GlyphRecord* glyphChain = nullptr;
std::bitset<256> fullGlyphRowsInUse;

namespace {

struct RecordBlock {
  std::unique_ptr<GlyphRecord[]> records;
  int capacity = 0;
  int used = 0;
  RecordBlock* previous = nullptr;
};

constexpr int kFirstBlockRecords = 32;
constexpr int kLargestBlockRecords = 1024;

RecordBlock* newestBlock = nullptr;

GlyphRecord* newRecord() {
  if (newestBlock == nullptr || newestBlock->used == newestBlock->capacity) {
    // Out of memory ends the process: nothing can be built without the store.
    const int capacity = newestBlock ? std::min(2 * newestBlock->capacity, kLargestBlockRecords) : kFirstBlockRecords;
    newestBlock = new RecordBlock{std::make_unique<GlyphRecord[]>(static_cast<std::size_t>(capacity)), capacity, 0,
                                  newestBlock};
  }
  return &newestBlock->records[static_cast<std::size_t>(newestBlock->used++)];
}

GlyphRecord* recordFor(GlyphRecord*& entry, std::uint16_t code) {
  if (entry == nullptr) {
    entry = newRecord();
    entry->next = glyphChain;
    glyphChain = entry;
  }
  entry->code = code;
  return entry;
}

}  // namespace

// Every table entry refers to a record on the chain, so emptying the entries of the chain's records
// empties the tables without touching the (mostly empty, half a megabyte) full-width table as a whole.
void clearGlyphStore() {
  releaseGlyphStore();
  fullGlyphRowsInUse.reset();
}

void commitHalfGlyph(std::uint8_t code, const std::uint8_t (&bitmap)[16]) {
  GlyphRecord* record = recordFor(halfGlyphTable[code], code);
  std::copy(std::begin(bitmap), std::end(bitmap), record->halfBitmap.begin());
  record->hasHalf = 1;
}

void commitFullGlyph(std::uint16_t code, const std::uint8_t (&bitmap)[32]) {
  GlyphRecord* record = recordFor(fullGlyphTable[code], code);
  fullGlyphRowsInUse.set(code >> 8);
  std::copy(std::begin(bitmap), std::end(bitmap), record->fullBitmap.begin());
  record->hasFull = 1;
}

void releaseGlyphStore() {
  while (glyphChain != nullptr) {
    GlyphRecord* record = glyphChain;
    if (record->hasHalf && halfGlyphTable[record->code & 0xFF] == record) halfGlyphTable[record->code & 0xFF] = nullptr;
    if (record->hasFull && fullGlyphTable[record->code] == record) fullGlyphTable[record->code] = nullptr;
    glyphChain = record->next;
  }
  while (newestBlock != nullptr) {
    RecordBlock* previous = newestBlock->previous;
    delete newestBlock;
    newestBlock = previous;
  }
}
