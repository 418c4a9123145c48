// Glyph drawing from a table of the 256 possible 8-pixel rows, built from the catalogue's two marks.
#include "report/glyph_drawing.h"

#include <array>
#include <string>

#include "report/console.h"

namespace {

const std::array<std::string, 256>& rowTable() {
  static const std::array<std::string, 256> table = [] {
    std::array<std::string, 256> rows;
    const std::string& ink = consoleText(Text::InkMark);
    const std::string& paper = consoleText(Text::PaperMark);
    for (int byte = 0; byte < 256; ++byte) {
      for (int bit = 7; bit >= 0; --bit) rows[byte] += (byte >> bit & 1) ? ink : paper;
    }
    return rows;
  }();
  return table;
}

}  // namespace

std::string_view halfRowMarks(std::uint8_t byte) { return rowTable()[byte]; }

void drawHalfRow(std::uint8_t byte) {
  consoleWrite(halfRowMarks(byte));
  consoleWrite(consoleText(Text::LineEnd));
}

void drawFullRow(std::uint8_t left, std::uint8_t right) {
  consoleWrite(halfRowMarks(left));
  drawHalfRow(right);
}

void drawHalfGlyph(const std::uint8_t* rows) {
  for (int row = 0; row < 16; ++row) drawHalfRow(rows[row]);
}

void drawFullGlyph(const std::uint8_t* rows) {
  for (int row = 0; row < 16; ++row) drawFullRow(rows[2 * row], rows[2 * row + 1]);
}
