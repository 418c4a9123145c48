// Glyph rows drawn as text: one mark per pixel, "■" for ink and "□" for paper, bit 7 leftmost.
// Rows come from tables built once, so drawing a glyph is a handful of copies into the console buffer.
#pragma once

#include <cstdint>

// Each prints a glyph's 16 rows on the console; every row ends with "\n".
void drawHalfGlyph(const std::uint8_t* rows);  // 16 bytes
void drawFullGlyph(const std::uint8_t* rows);  // 32 bytes, left byte of each row first
