// ROM image layout: glyph numbers, blocks and slots for small stores, where the first full-width slot
// lies, and that uncovered data bytes are zero.
#include "rom/rom_image.h"

#include <gtest/gtest.h>

#include "font/code_page_932.h"
#include "font/glyph_store.h"
#include "report/console.h"

namespace {

void commitHalf(std::uint8_t code, std::uint8_t fill) {
  std::uint8_t rows[16];
  std::fill(std::begin(rows), std::end(rows), fill);
  commitHalfGlyph(code, rows);
}

void commitFull(std::uint16_t key, std::uint8_t fill) {
  std::uint8_t rows[32];
  std::fill(std::begin(rows), std::end(rows), fill);
  commitFullGlyph(key, rows);
}

std::string build() {
  std::string out;
  consoleCaptureTo(&out);
  buildRomImage();
  consoleCaptureTo(nullptr);
  return out;
}

class RomImageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    resetRomImage();
    clearGlyphStore();
  }
  void TearDown() override { releaseGlyphStore(); }
};

TEST_F(RomImageTest, WorkedExampleLayout) {
  commitHalf(0x7E, 0x33);  // commit order does not matter: layout follows code order
  commitHalf(0x20, 0x11);
  commitHalf(0x41, 0x22);
  commitFull(0x4E9C, 0x55);
  commitFull(0x3042, 0x44);
  EXPECT_EQ(build(), encodeCodePage932("\n半角東雲フォント INDEX\n\n東雲フォント INDEX\n"));

  EXPECT_EQ(romImage.fontCountH, 3);
  EXPECT_EQ(romImage.indexH[0x20], 1);
  EXPECT_EQ(romImage.indexH[0x41], 2);
  EXPECT_EQ(romImage.indexH[0x7E], 3);
  EXPECT_EQ(romImage.blockCount, 2);
  EXPECT_EQ(romImage.blockIndex[0x30], 1);
  EXPECT_EQ(romImage.blockIndex[0x4E], 2);
  EXPECT_EQ(romImage.indexF[0x30][0x42], 2);
  EXPECT_EQ(romImage.indexF[0x4E][0x9C], 3);
  EXPECT_EQ(romImage.fontCountF, 4);
  const std::uint8_t* data = romImage.fontData.get();
  EXPECT_EQ(data[0], 0x11);
  EXPECT_EQ(data[16 + 15], 0x22);
  EXPECT_EQ(data[32], 0x33);
  EXPECT_EQ(data[48], 0);  // the gap after an odd number of half-width glyphs
  EXPECT_EQ(data[63], 0);
  EXPECT_EQ(data[64], 0x44);
  EXPECT_EQ(data[96 + 31], 0x55);
  EXPECT_EQ(data[128], 0);
}

TEST_F(RomImageTest, FirstFullWidthSlotNeverZero) {
  for (std::uint8_t code = 1; code <= 4; ++code) commitHalf(code, code);
  commitFull(0x00A7, 0x77);
  build();
  EXPECT_EQ(romImage.indexF[0][0xA7], 2);  // directly after four half-width glyphs
  EXPECT_EQ(romImage.blockIndex[0], 1);

  resetRomImage();
  clearGlyphStore();
  commitFull(0x3000, 0x66);
  build();
  EXPECT_EQ(romImage.fontCountH, 0);
  EXPECT_EQ(romImage.indexF[0x30][0x00], 1);  // slot 0 would read as "no glyph"
  EXPECT_EQ(romImage.fontData[32], 0x66);
  EXPECT_EQ(romImage.fontCountF, 2);

  EXPECT_EQ(firstFullSlot(0, false), 0);  // an empty store stays at 0
  EXPECT_EQ(firstFullSlot(1, true), 1);
  EXPECT_EQ(firstFullSlot(3, true), 2);
}

TEST_F(RomImageTest, ResetGivesZeroedTablesAndData) {
  commitHalf(0x41, 0xFF);
  commitFull(0x3042, 0xFF);
  build();
  resetRomImage();
  clearGlyphStore();
  build();
  EXPECT_EQ(romImage.fontCountF, 0);
  EXPECT_EQ(romImage.blockCount, 0);
  EXPECT_EQ(romImage.indexH[0x41], 0);
  EXPECT_EQ(romImage.indexF[0x30][0x42], 0);
  for (std::size_t offset = 0; offset < 256; ++offset) ASSERT_EQ(romImage.fontData[offset], 0) << offset;
}

}  // namespace
