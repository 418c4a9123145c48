// Glyph rows drawn as text: one mark per pixel, "■" for ink and "□" for paper, bit 7 leftmost.
// Rows come from tables built once, so drawing a glyph is a handful of copies into the console buffer.
#pragma once

#include <cstdint>
#include <string_view>

// The marks of one byte's 8 pixels, without a line feed.
std::string_view halfRowMarks(std::uint8_t byte);

// Each prints its row(s) on the console; every row ends with "\n".
void drawHalfRow(std::uint8_t byte);
void drawFullRow(std::uint8_t left, std::uint8_t right);
void drawHalfGlyph(const std::uint8_t* rows);  // 16 bytes
void drawFullGlyph(const std::uint8_t* rows);  // 32 bytes, left byte of each row first
