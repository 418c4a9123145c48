// Glyph rows as marks: bit 7 (and bit 15 of a full-width row) is drawn leftmost.
#include "report/glyph_drawing.h"

#include <gtest/gtest.h>

#include "report/console.h"
#include "support/text_builder.h"

namespace {

std::string captured(void (*draw)()) {
  std::string out;
  consoleCaptureTo(&out);
  draw();
  consoleCaptureTo(nullptr);
  return out;
}

TEST(GlyphDrawing, RowsPutTheHighBitLeft) {
  EXPECT_EQ(captured([] { drawHalfRow(0x81); }), cp932("■□□□□□□■\n"));
  EXPECT_EQ(captured([] { drawFullRow(0x80, 0x01); }), cp932("■□□□□□□□□□□□□□□■\n"));
  EXPECT_EQ(captured([] { drawFullRow(0x01, 0x80); }), cp932("□□□□□□□■■□□□□□□□\n"));
}

TEST(GlyphDrawing, GlyphsAreSixteenRowsTopFirst) {
  const std::string half = captured([] {
    std::uint8_t rows[16] = {0xFF, 0x00, 0x0F};
    drawHalfGlyph(rows);
  });
  std::string expected = markRow(0xFF, 8) + markRow(0, 8) + markRow(0x0F, 8);
  for (int row = 3; row < 16; ++row) expected += markRow(0, 8);
  EXPECT_EQ(half, cp932(expected));

  const std::string full = captured([] {
    std::uint8_t rows[32] = {0x12, 0x34};
    rows[31] = 0x01;
    drawFullGlyph(rows);
  });
  expected = markRow(0x1234, 16);
  for (int row = 1; row < 15; ++row) expected += markRow(0, 16);
  EXPECT_EQ(full, cp932(expected + markRow(0x0001, 16)));
}

}  // namespace
