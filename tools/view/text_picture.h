// A UTF-8 text drawn as the device draws it, through romfont's text layer (romfont_text.h): its line breaking,
// its choice of glyph (the ROM's, a folded form's, or the fallback mark) and its drawing into display memory.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "canvas.h"
#include "romfont.h"

struct TextPicture {
  Canvas canvas{0, 0, Color::Paper};
  std::vector<std::string> notes;  // characters the ROM lacks and malformed UTF-8, one line each
  std::string romError;            // set when the ROM itself failed (damaged, unreadable): nothing is drawn
};

// Lines are this many pixels apart, the glyphs' height.
inline constexpr int kLineHeight = 16;

// The size of a text laid out by romfont_next_line in lines of at most maxWidth pixels (ROMFONT_NO_WRAP: broken
// at '\n' only, and at 65,535 pixels): its widest line and how many lines. No ROM is read.
struct TextSize {
  std::uint32_t widest = 0;
  std::uint32_t lines = 0;
};
TextSize measureText(std::string_view utf8, std::uint16_t maxWidth);

// Goes through the characters of utf8 as romfont_text_glyph gives them and appends a note for each one the ROM
// cannot give, by itself or by its folded form ("byte N: U+XXXX is not in the ROM", "byte N: malformed UTF-8
// (K bytes)"); control characters are skipped. Returns "" or, when the ROM itself failed, where and how.
std::string noteMissing(const romfont& font, std::string_view utf8, std::vector<std::string>& notes);

// A text to draw from its first line's top-left pixel (x, y), in lines of at most maxWidth pixels.
struct PlacedText {
  int x;
  int y;
  std::string_view utf8;
  std::uint16_t maxWidth;
};

// The largest text picture drawn: lines of 16 pixels in display memory of at most 65,535 rows, and pixels in all.
inline constexpr std::uint32_t kMaxTextLines = 4095;
inline constexpr std::uint64_t kMaxTextPixels = std::uint64_t{1} << 25;

// Draws each text as romfont_draw_text does, into one display memory the size of the canvas (at most 65,535
// pixels each way), lines 16 pixels apart, clipped at its edges; then its lit pixels become ink on the canvas.
// Run noteMissing first: this draws what romfont gives and reports nothing.
void drawLaidOut(Canvas& canvas, const romfont& font, const std::vector<PlacedText>& texts);

// The text alone, black ink on white paper, in lines of at most maxWidth pixels: as wide as its widest line, or
// minWidth when that is wider, and 16 pixels a line.
TextPicture drawText(const romfont& font, std::string_view utf8, std::uint16_t maxWidth, int minWidth);
