// ROM image reset and builder: half-width glyphs packed from offset 0 in code order, then full-width
// glyphs in key order in 32-byte slots, with a block per high byte of the key (255 blocks at most).
#include "rom/rom_image.h"

#include <algorithm>
#include <new>

#include "font/glyph_store.h"

RomImage romImage;

void resetRomImage() {
  romImage.fontCountH = 0;
  romImage.fontCountF = 0;
  std::fill(std::begin(romImage.indexH), std::end(romImage.indexH), 0);
  romImage.blockCount = 0;
  std::fill(std::begin(romImage.blockIndex), std::end(romImage.blockIndex), 0);
  romImage.fullLeftOut = 0;
  romImage.indexF.reset(static_cast<std::uint16_t(*)[256]>(std::calloc(256 * 256, sizeof(std::uint16_t))));
  romImage.fontData.reset(static_cast<std::uint8_t*>(std::calloc(kFontDataBytes, 1)));
  // Out of memory ends the process: nothing can be built without these.
  if (!romImage.indexF || !romImage.fontData) throw std::bad_alloc();
}

// Slot numbers are 16 bits: 255 blocks of 256 keys after the largest half-width part always fit, so a slot
// number can never wrap once the blocks are limited.
static_assert(256 / 2 + kMaxBlocks * 256 - 1 <= 0xFFFF, "every laid-out glyph has a 16-bit slot number");

std::int32_t firstFullSlot(std::int32_t halfCount, bool hasFullGlyphs) {
  const std::int32_t slot = (halfCount + 1) / 2;
  return slot == 0 && hasFullGlyphs ? 1 : slot;
}

void buildRomImage() {
  romImage.fontCountH = 0;
  for (int code = 0; code < kHalfTableSize; ++code) {
    const GlyphRecord* record = halfGlyphTable[code];
    if (record == nullptr) continue;
    std::copy(record->halfBitmap.begin(), record->halfBitmap.end(),
              romImage.fontData.get() + romImage.fontCountH * kHalfGlyphBytes);
    ++romImage.fontCountH;
    romImage.indexH[code] = static_cast<std::uint8_t>(romImage.fontCountH);
  }

  romImage.blockCount = 0;
  romImage.fullLeftOut = 0;
  romImage.fontCountF = firstFullSlot(romImage.fontCountH, fullGlyphRowsInUse.any());
  for (int key = 0; key < kFullTableSize; ++key) {
    if (!fullGlyphRowsInUse.test(static_cast<std::size_t>(key >> 8))) {
      key |= 0xFF;  // an empty row: on to the next high byte
      continue;
    }
    const GlyphRecord* record = fullGlyphTable[static_cast<std::size_t>(key)];
    if (record == nullptr) continue;
    const int high = record->code >> 8;
    const int low = record->code & 0xFF;
    if (romImage.blockIndex[high] == 0 && romImage.blockCount == kMaxBlocks) {
      ++romImage.fullLeftOut;  // no block number left for this high byte
      continue;
    }
    if (romImage.blockIndex[high] == 0) {
      ++romImage.blockCount;
      romImage.blockIndex[high] = static_cast<std::uint8_t>(romImage.blockCount);
    }
    romImage.indexF[high][low] = static_cast<std::uint16_t>(romImage.fontCountF);
    std::copy(record->fullBitmap.begin(), record->fullBitmap.end(),
              romImage.fontData.get() + static_cast<std::size_t>(romImage.fontCountF) * kFullGlyphBytes);
    ++romImage.fontCountF;
  }
}
