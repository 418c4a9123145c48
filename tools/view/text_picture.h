// A UTF-8 text drawn as the device draws it: glyph after glyph from the left, half-width 8 pixels wide,
// full-width 16, 16 pixels high; and the one rule for what the ROM lacks, shared by every text picture.
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

// The characters of a text as firmware walks it: each with its width and, when the ROM has it, its glyph.
struct PlacedChar {
  int width;
  bool drawn;
  romfont_char ch;
};

// Walks utf8 through romfont, appending its characters to placed and a note for each one the ROM lacks (and
// for malformed UTF-8) to notes. Returns "" or, when the ROM itself failed, where and how.
std::string placeText(const romfont& font, std::string_view utf8, std::vector<PlacedChar>& placed,
                      std::vector<std::string>& notes);

// The mark the device draws for what the ROM lacks: the ROM's geta mark 〓 (U+3013), when it has one.
struct MissingMark {
  bool hasGeta = false;
  std::uint8_t geta[32] = {};
};
MissingMark findMissingMark(const romfont& font);

// A character the ROM lacks, in the cell at (x, y) of its width, as the FlashOled sketch draws it: full-width
// (and malformed UTF-8, 16 wide) as the geta mark; half-width, or full-width without a geta mark, as an empty
// box, the outline of columns 1 to width - 2 and rows 1 to 14 of the cell.
void drawMissing(Canvas& canvas, int x, int y, int width, const MissingMark& mark, Color ink);

// Draws placed characters side by side from (x, y) in ink; what the ROM lacks through drawMissing.
void drawPlaced(Canvas& canvas, int x, int y, const std::vector<PlacedChar>& placed, const MissingMark& mark,
                Color ink);

// The text alone, black ink on white paper, as wide as its characters.
TextPicture drawText(const romfont& font, std::string_view utf8);
