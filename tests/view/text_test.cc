// Text pictures, written as PNG and decoded back: each character's glyph at the place the device puts it
// (8 pixels on for half-width, 16 for full-width), what the ROM lacks drawn as its middle dot or a box.
#include <gtest/gtest.h>

#include "device/rom_fixtures.h"
#include "png_output.h"
#include "support/real_fonts.h"
#include "support/run_tool.h"
#include "text_picture.h"
#include "view/png_check.h"

namespace {

struct Shown {
  bool fullWidth;
  std::uint16_t code;  // half-width code or key of the glyph expected there; 0xFFFF with fullWidth false: a box
};

DecodedPng written(const TextPicture& picture) {
  TempDir dir;
  EXPECT_EQ(writePng(dir.file("text.png"), picture.canvas, 1), "");
  return decodePng(dir.file("text.png"));
}

// Pixels from x on: ink where the bitmap's bit is set, paper elsewhere.
::testing::AssertionResult showsAt(const DecodedPng& png, int x, int width, const std::uint8_t* bytes) {
  for (int row = 0; row < 16; ++row) {
    for (int column = 0; column < width; ++column) {
      const Color expected = glyphBit(bytes, width, column, row) ? Color::Ink : Color::Paper;
      if (png.at(x + column, row) != expected) {
        return ::testing::AssertionFailure() << "pixel " << column << "," << row << " of the glyph at " << x;
      }
    }
  }
  return ::testing::AssertionSuccess();
}

void expectShows(const DecodedPng& png, const SyntheticGlyphs& glyphs, const std::vector<Shown>& shown) {
  ASSERT_EQ(png.error, "");
  ASSERT_EQ(png.height, 16);
  int x = 0;
  for (const Shown& item : shown) {
    const int width = item.fullWidth ? 16 : 8;
    ASSERT_LE(x + width, png.width);
    const std::uint8_t* bytes = item.fullWidth ? glyphs.full.at(item.code).data()
                                               : glyphs.half.at(static_cast<std::uint8_t>(item.code)).data();
    EXPECT_TRUE(showsAt(png, x, width, bytes)) << "character at " << x;
    x += width;
  }
  EXPECT_EQ(png.width, x);
}

TEST(TextPicture, RealShinonomeText) {
  const std::string halfPath = realFontPath("shnm8x16r");
  const std::string fullPath = realFontPath("shnmk16");
  if (halfPath.empty() || fullPath.empty()) return;
  const MemoryRom rom(convertFonts(halfPath, fullPath));
  const SyntheticGlyphs glyphs = bdfGlyphs(halfPath, fullPath);
  // Full-width, half-width and half-width katakana; U+1F600 (beyond the BMP) and U+4E02 (not in JIS X 0208)
  // drawn as the ROM's U+30FB; U+FF9F as JIS X 0201 0xDF.
  const TextPicture picture = drawText(*rom.font(), "東雲フォントで表示 A1ｱｲ\U0001F600\u4E02\uFF9F");
  EXPECT_EQ(picture.romError, "");
  ASSERT_EQ(picture.notes.size(), 2u);
  EXPECT_EQ(picture.notes[0], "byte 37: U+1F600 is not in the ROM");
  EXPECT_EQ(picture.notes[1], "byte 41: U+4E02 is not in the ROM");
  expectShows(written(picture), glyphs,
              {{true, 0x6771}, {true, 0x96F2}, {true, 0x30D5}, {true, 0x30A9}, {true, 0x30F3}, {true, 0x30C8},
               {true, 0x3067}, {true, 0x8868}, {true, 0x793A}, {false, 0x20}, {false, 0x41}, {false, 0x31},
               {false, 0xB1}, {false, 0xB2}, {true, 0x30FB}, {true, 0x30FB}, {false, 0xDF}});
}

TEST(TextPicture, MissingCharactersWithoutAMiddleDot) {
  // The tiny fonts have neither U+30FB nor half-width 0xA5: missing characters become empty boxes.
  const MemoryRom rom(convertFonts(MASKBURN_SOURCE_DIR "/tests/fixtures/tiny8x16.bdf",
                                   MASKBURN_SOURCE_DIR "/tests/fixtures/tiny16x16.bdf"));
  SyntheticGlyphs glyphs = bdfGlyphs(MASKBURN_SOURCE_DIR "/tests/fixtures/tiny8x16.bdf",
                                     MASKBURN_SOURCE_DIR "/tests/fixtures/tiny16x16.bdf");
  HalfBitmap halfBox{0, 0x7E, 0x42, 0x42, 0x42, 0x42, 0x42, 0x42, 0x42, 0x42, 0x42, 0x42, 0x42, 0x42, 0x7E, 0};
  FullBitmap fullBox{};
  for (const std::size_t edge : {std::size_t{1}, std::size_t{14}}) {
    fullBox[2 * edge] = 0x7F;
    fullBox[2 * edge + 1] = 0xFE;
  }
  for (std::size_t row = 2; row < 14; ++row) {
    fullBox[2 * row] = 0x40;
    fullBox[2 * row + 1] = 0x02;
  }
  glyphs.half[0x01] = halfBox;  // codes the tiny fonts leave free, to hold the boxes here
  glyphs.full[0x0001] = fullBox;

  const TextPicture picture = drawText(*rom.font(), "0B\u3042\u3044\xE3\x81");
  EXPECT_EQ(picture.notes, (std::vector<std::string>{"byte 2: U+0042 is not in the ROM",
                                                     "byte 6: U+3044 is not in the ROM",
                                                     "byte 9: malformed UTF-8 (2 bytes)"}));
  expectShows(written(picture), glyphs, {{false, 0x30}, {false, 0x01}, {true, 0x3042}, {true, 0x0001}, {true, 0x0001}});
}

TEST(TextPicture, DamagedRomStopsTheDrawing) {
  SyntheticGlyphs glyphs;
  glyphs.half[0x41] = halfPattern(0x41);
  glyphs.full[0x3042] = fullPattern(0x3042);
  RomFiles files = buildRom(glyphs);
  files.data.resize(40);
  const MemoryRom rom(files);
  const TextPicture picture = drawText(*rom.font(), "A\u3042");
  EXPECT_EQ(picture.romError, "byte 2: U+3042: bad image");
  EXPECT_EQ(picture.canvas.width(), 0);
}

}  // namespace
