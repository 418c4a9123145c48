// The ROM image: glyph bitmaps packed into one data area, and the index tables that lead to them.
// Half-width glyphs are numbered from 1 in code order; full-width glyphs take 32-byte slots after them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>

#include "rom/rom_format.h"

// indexF and fontData come from calloc: the system hands out zeroed pages, and only the pages that
// glyphs use are ever touched.
struct FreeDeleter {
  void operator()(void* area) const { std::free(area); }
};

struct RomImage {
  std::int32_t fontCountH = 0;  // half-width glyphs laid out
  std::int32_t fontCountF = 0;  // the slot the next full-width glyph takes; after the build, one past the last
  std::uint8_t indexH[256] = {};                // half-width code -> glyph number from 1; 0 = none
  std::int32_t blockCount = 0;                  // blocks given out
  std::uint8_t blockIndex[256] = {};            // key high byte -> block number from 1; 0 = none
  std::int32_t fullLeftOut = 0;                 // full-width glyphs not laid out: no block number was left
  std::unique_ptr<std::uint16_t[][256], FreeDeleter> indexF;  // [high byte][low byte] -> slot number; 0 = none
  std::unique_ptr<std::uint8_t[], FreeDeleter> fontData;  // kFontDataBytes of glyph data
};

extern RomImage romImage;

// Zeroes every field of romImage and attaches new, zero-filled indexF and fontData areas (so bytes that no glyph
// covers are always zero and the same fonts always give the same files). Out of memory ends the process.
void resetRomImage();

// Lays out the glyph store into romImage (after resetRomImage). Glyphs whose high byte would need a block
// beyond the 255th (only when all 256 high bytes are in use: those of high byte 0xFF) are counted in
// fullLeftOut and not laid out.
void buildRomImage();

// The slot the first full-width glyph takes: right after the half-width glyphs, but never slot 0,
// which every index reads as "no glyph".
std::int32_t firstFullSlot(std::int32_t halfCount, bool hasFullGlyphs);
