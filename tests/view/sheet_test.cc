// The glyph sheet, written as PNG and decoded back: every glyph of the ROM in code order, each cell's
// pixels exactly its BDF bitmap, no ink anywhere else, and each row labelled with its first code, in the
// ROM's own digits when it has them. A crop of rows is the same part of the whole sheet.
#include <gtest/gtest.h>

#include <cstdio>
#include <map>

#include "device/rom_fixtures.h"
#include "png_output.h"
#include "sheet.h"
#include "support/real_fonts.h"
#include "support/run_tool.h"
#include "view/png_check.h"

namespace {

const char* const kTinyHalf = MASKBURN_SOURCE_DIR "/tests/fixtures/tiny8x16.bdf";
const char* const kTinyFull = MASKBURN_SOURCE_DIR "/tests/fixtures/tiny16x16.bdf";

DecodedPng writtenAndDecoded(const Canvas& canvas, int scale = 1) {
  TempDir dir;
  const std::string path = dir.file("sheet.png");
  EXPECT_EQ(writePng(path, canvas, scale), "");
  return decodePng(path);
}

int bitsOf(const std::uint8_t* bytes, std::size_t count) {
  int bits = 0;
  for (std::size_t i = 0; i < count; ++i) bits += __builtin_popcount(bytes[i]);
  return bits;
}

// Pixels of a glyph at (x, y): `ink` where its bit is set, `paper` elsewhere (or anything but ink when
// paper is the background of labels).
::testing::AssertionResult showsGlyph(const DecodedPng& png, int x, int y, int width, const std::uint8_t* bytes,
                                      Color ink, Color paper) {
  if (x < 0 || y < 0 || x + width > png.width || y + 16 > png.height) {
    return ::testing::AssertionFailure() << "cell at " << x << "," << y << " outside the picture";
  }
  for (int row = 0; row < 16; ++row) {
    for (int column = 0; column < width; ++column) {
      const Color expected = glyphBit(bytes, width, column, row) ? ink : paper;
      if (png.at(x + column, y + row) != expected) {
        return ::testing::AssertionFailure() << "pixel " << column << "," << row << " of the cell at " << x << "," << y;
      }
    }
  }
  return ::testing::AssertionSuccess();
}

std::string hexCode(unsigned value, int digits) {
  char text[8];
  std::snprintf(text, sizeof text, "%0*X", digits, value);
  return text;
}

void expectSheetShows(const Sheet& sheet, const SyntheticGlyphs& expected) {
  const DecodedPng png = writtenAndDecoded(sheet.canvas);
  ASSERT_EQ(png.error, "");
  ASSERT_EQ(png.width, sheet.canvas.width());
  ASSERT_EQ(png.height, sheet.canvas.height());

  // Every glyph, half-width codes then full-width keys, each in ascending order.
  std::vector<std::pair<bool, unsigned>> order;
  for (const auto& [code, bitmap] : expected.half) order.emplace_back(false, code);
  for (const auto& [key, bitmap] : expected.full) order.emplace_back(true, key);
  ASSERT_EQ(sheet.cells.size(), order.size());
  int inkBits = 0;
  std::map<int, std::vector<const SheetCell*>> rows;
  for (std::size_t i = 0; i < order.size(); ++i) {
    const SheetCell& cell = sheet.cells[i];
    ASSERT_EQ(std::make_pair(cell.fullWidth, unsigned{cell.code}), order[i]) << "cell " << i;
    const std::uint8_t* bytes =
        cell.fullWidth ? expected.full.at(cell.code).data() : expected.half.at(static_cast<std::uint8_t>(cell.code)).data();
    ASSERT_TRUE(showsGlyph(png, cell.x, cell.y, cell.fullWidth ? 16 : 8, bytes, Color::Ink, Color::Paper)) << cell.code;
    inkBits += bitsOf(bytes, cell.fullWidth ? 32 : 16);
    rows[cell.y].push_back(&cell);
  }
  int inkPixels = 0;
  int labelPixels = 0;
  for (const Color pixel : png.pixels) {
    inkPixels += pixel == Color::Ink;
    labelPixels += pixel == Color::Label;
  }
  EXPECT_EQ(inkPixels, inkBits) << "ink outside the glyphs";

  // Rows of at most 32 cells, left to right, not overlapping; labelled with their first code.
  ASSERT_EQ(rows.size(), sheet.rows.size());
  std::size_t rowNumber = 0;
  int labelBits = 0;
  for (const auto& [y, cells] : rows) {
    EXPECT_LE(cells.size(), 32u);
    for (std::size_t i = 1; i < cells.size(); ++i) {
      EXPECT_GT(cells[i]->x, cells[i - 1]->x + (cells[i - 1]->fullWidth ? 16 : 8)) << "row at " << y;
    }
    const SheetRow& label = sheet.rows[rowNumber++];
    EXPECT_EQ(label.label, hexCode(cells.front()->code, cells.front()->fullWidth ? 4 : 2));
    EXPECT_LT(label.labelX + static_cast<int>(label.label.size()) * (sheet.romDigits ? 8 : 4), cells.front()->x);
    if (!sheet.romDigits) continue;
    for (std::size_t digit = 0; digit < label.label.size(); ++digit) {
      const HalfBitmap& glyph = expected.half.at(static_cast<std::uint8_t>(label.label[digit]));
      EXPECT_TRUE(showsGlyph(png, label.labelX + 8 * static_cast<int>(digit), label.labelY, 8, glyph.data(),
                             Color::Label, Color::Background))
          << label.label;
      labelBits += bitsOf(glyph.data(), 16);
    }
  }
  if (sheet.romDigits) {
    EXPECT_EQ(labelPixels, labelBits) << "label colour outside the labels";
  } else {
    EXPECT_GT(labelPixels, 0);
  }
}

TEST(Sheet, RealShinonomePair) {
  const std::string halfPath = realFontPath("shnm8x16r");
  const std::string fullPath = realFontPath("shnmk16");
  if (halfPath.empty() || fullPath.empty()) return;
  const MemoryRom rom(convertFonts(halfPath, fullPath));
  const Sheet sheet = drawSheet(*rom.font());
  EXPECT_TRUE(sheet.romDigits);
  EXPECT_TRUE(sheet.problems.empty());
  expectSheetShows(sheet, bdfGlyphs(halfPath, fullPath));
}

TEST(Sheet, TinyPairLabelledWithBuiltInDigits) {
  const MemoryRom rom(convertFonts(kTinyHalf, kTinyFull));
  const Sheet sheet = drawSheet(*rom.font());
  EXPECT_FALSE(sheet.romDigits) << "the tiny font has only 0 and A of the sixteen digits";
  expectSheetShows(sheet, bdfGlyphs(kTinyHalf, kTinyFull));
}

TEST(Sheet, CropOfRowsIsThatPartOfTheWholeSheet) {
  SyntheticGlyphs glyphs;
  for (unsigned code = 0x20; code < 0x20 + 70; ++code) glyphs.half[static_cast<std::uint8_t>(code)] = halfPattern(static_cast<std::uint8_t>(code));
  for (unsigned key = 0x4E00; key < 0x4E00 + 100; ++key) glyphs.full[static_cast<std::uint16_t>(key)] = fullPattern(static_cast<std::uint16_t>(key));
  const MemoryRom rom(buildRom(glyphs));
  const Sheet whole = drawSheet(*rom.font());
  ASSERT_EQ(whole.rows.size(), 3u + 4u);  // 70 half-width glyphs in 3 rows, 100 full-width in 4
  const DecodedPng wholePng = writtenAndDecoded(whole.canvas);

  for (const RowRange range : {RowRange{1, 1}, RowRange{3, 4}, RowRange{5, 7}, RowRange{2, 99}}) {
    const Sheet crop = drawSheet(*rom.font(), range);
    const DecodedPng cropPng = writtenAndDecoded(crop.canvas);
    const std::size_t last = std::min<std::size_t>(static_cast<std::size_t>(range.last), whole.rows.size());
    ASSERT_EQ(crop.rows.size(), last - static_cast<std::size_t>(range.first) + 1);
    // The crop's first row sits where the whole sheet's first row does; everything below moves alike.
    const int shift = whole.rows[static_cast<std::size_t>(range.first) - 1].labelY - whole.rows[0].labelY;
    ASSERT_EQ(cropPng.width, wholePng.width);
    for (int y = kSheetMargin; y < cropPng.height - kSheetMargin; ++y) {
      for (int x = 0; x < cropPng.width; ++x) {
        ASSERT_EQ(cropPng.at(x, y), wholePng.at(x, y + shift))
            << "rows " << range.first << "-" << range.last << " at " << x << "," << y;
      }
    }
  }
  EXPECT_EQ(drawSheet(*rom.font(), {8, 9}).canvas.width(), 0) << "no rows there";
}

TEST(Sheet, ScaledPictureRepeatsEachPixel) {
  const MemoryRom rom(convertFonts(kTinyHalf, kTinyFull));
  const Sheet sheet = drawSheet(*rom.font());
  const DecodedPng plain = writtenAndDecoded(sheet.canvas);
  const DecodedPng scaled = writtenAndDecoded(sheet.canvas, 3);
  ASSERT_EQ(scaled.width, plain.width * 3);
  ASSERT_EQ(scaled.height, plain.height * 3);
  for (int y = 0; y < scaled.height; ++y) {
    for (int x = 0; x < scaled.width; ++x) ASSERT_EQ(scaled.at(x, y), plain.at(x / 3, y / 3)) << x << "," << y;
  }
}

}  // namespace
