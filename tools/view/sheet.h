// The glyph sheet: every glyph of a ROM, half-width then full-width in code order, 32 to a row, each row
// labelled with the code of its first glyph in hex.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "canvas.h"
#include "romfont.h"

inline constexpr int kSheetColumns = 32;
inline constexpr int kSheetGap = 2;         // between cells, and between rows
inline constexpr int kSheetMargin = 4;      // around everything
inline constexpr int kSheetSectionGap = 8;  // extra space between the half-width and full-width rows

struct SheetCell {
  bool fullWidth = false;
  std::uint16_t code = 0;  // half-width code or full-width key
  int x = 0;               // top left of the 8x16 or 16x16 cell in the picture
  int y = 0;
};

struct SheetRow {
  std::string label;  // first code of the row in hex: 2 digits (half-width) or 4 (full-width)
  int labelX = 0;     // top left of the label's first digit
  int labelY = 0;
};

struct Sheet {
  Canvas canvas{0, 0, Color::Background};
  std::vector<SheetCell> cells;  // in drawing order
  std::vector<SheetRow> rows;
  bool romDigits = false;             // labels drawn with the ROM's own 0-9 A-F, else a built-in 3x5 font
  std::vector<std::string> problems;  // entries of a damaged ROM that could not be drawn
};

// Rows to draw, counted from 1; the default is all of them.
struct RowRange {
  int first = 1;
  int last = 0;  // 0: up to the last row
};

// Draws the sheet. Glyphs the ROM cannot give (damaged index, read failure) are left out and listed in
// problems. A range past the last row gives an empty picture (width and height 0).
Sheet drawSheet(const romfont& font, RowRange range = {});

// The built-in 3x5 digit of a hex value 0-15: five rows of three bits, bit 2 leftmost.
const std::uint8_t* tinyDigit(int value);
