// The glyph store: every glyph the BDF readers find, keyed by code, until the ROM image is built.
// Two tables give direct access by code; one chain owns all records so they can be released together.
#pragma once

#include <array>
#include <bitset>
#include <cstdint>

struct GlyphRecord {
  std::uint16_t code = 0;    // half-width code, or UTF-16 key of a full-width glyph
  std::uint8_t hasHalf = 0;  // 1 when halfBitmap holds a glyph
  std::uint8_t hasFull = 0;  // 1 when fullBitmap holds a glyph
  std::array<std::uint8_t, 16> halfBitmap{};  // 8x16: one byte per row, bit 7 = leftmost pixel
  std::array<std::uint8_t, 32> fullBitmap{};  // 16x16: two bytes per row, left byte first
  GlyphRecord* next = nullptr;                // next record in glyphChain
};

inline constexpr int kHalfTableSize = 256;
inline constexpr int kFullTableSize = 65536;

extern std::array<GlyphRecord*, kHalfTableSize> halfGlyphTable;
extern std::array<GlyphRecord*, kFullTableSize> fullGlyphTable;
extern GlyphRecord* glyphChain;  // newest first; owns every record
// The high bytes whose 256-entry row of fullGlyphTable holds a record, so walks in key order can skip
// the empty rows (most of the table) without touching them.
extern std::bitset<256> fullGlyphRowsInUse;

// Empties both tables and the chain.
void clearGlyphStore();

// Stores a glyph under its code; a second glyph of the same kind and code replaces the first's bitmap.
void commitHalfGlyph(std::uint8_t code, const std::uint8_t (&bitmap)[16]);
void commitFullGlyph(std::uint16_t code, const std::uint8_t (&bitmap)[32]);

// Releases every record on the chain, emptying the table entries that referred to them.
void releaseGlyphStore();
