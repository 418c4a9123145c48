// The ROM's format: the two file names and every size and limit of FONTINDEX.BIN and FONTDATA.BIN.
// The converter, the companion tools and the firmware library all read these numbers from here (romfont's
// header repeats them for C firmware, and the tools check at compile time that the two agree).
//
// FONTINDEX.BIN: 256 bytes indexH, 256 bytes blockIndex, then for each high byte with a block (ascending)
// its 256 slot numbers as 16-bit little-endian values. Block b starts at offset 512 * b.
// FONTDATA.BIN: half-width glyph k (from 1) at (k - 1) * 16, full-width slot s at s * 32.
#pragma once

#include <cstddef>

inline constexpr const char* kIndexFileName = "FONTINDEX.BIN";
inline constexpr const char* kDataFileName = "FONTDATA.BIN";

inline constexpr std::size_t kHalfGlyphBytes = 16;  // 16 rows of one byte
inline constexpr std::size_t kFullGlyphBytes = 32;  // 16 rows of two bytes, left byte first
inline constexpr std::size_t kIndexHeaderBytes = 256 + 256;  // indexH, then blockIndex
inline constexpr std::size_t kIndexBlockBytes = 256 * 2;     // 256 16-bit slot numbers
inline constexpr int kMaxBlocks = 255;  // block numbers are one byte, and 0 means none
inline constexpr std::size_t kIndexMaxBytes = kIndexHeaderBytes + kMaxBlocks * kIndexBlockBytes;
// The largest glyph data: 256 half-width glyphs and 65,536 full-width slots.
inline constexpr std::size_t kFontDataBytes = 256 * kHalfGlyphBytes + 65536 * kFullGlyphBytes;
static_assert(kFontDataBytes == 0x201000, "room for 256 half-width and 65,536 full-width glyphs");
