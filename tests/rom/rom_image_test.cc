// ROM image layout beyond the worked example: where the first full-width slot lies, and that a reset
// leaves no trace of an earlier build.
#include "rom/rom_image.h"

#include <gtest/gtest.h>

#include "font/glyph_store.h"
#include "text/console.h"

namespace {

void buildFrom(int halfGlyphs, std::uint16_t key) {
  resetRomImage();
  clearGlyphStore();
  std::uint8_t half[16] = {0x11};
  std::uint8_t full[32] = {0x66};
  for (int code = 1; code <= halfGlyphs; ++code) commitHalfGlyph(static_cast<std::uint8_t>(code), half);
  commitFullGlyph(key, full);
  std::string headings;
  consoleCaptureTo(&headings);
  buildRomImage();
  consoleCaptureTo(nullptr);
  releaseGlyphStore();
}

TEST(RomImage, FirstFullWidthSlotFollowsTheHalfWidthGlyphsButIsNeverZero) {
  buildFrom(4, 0x00A7);
  EXPECT_EQ(romImage.blockIndex[0], 1);
  EXPECT_EQ(romImage.indexF[0][0xA7], 2);  // directly after four half-width glyphs
  EXPECT_EQ(romImage.fontData[64], 0x66);

  buildFrom(0, 0x3000);
  EXPECT_EQ(romImage.indexF[0x30][0x00], 1);  // slot 0 would read as "no glyph"
  EXPECT_EQ(romImage.fontData[32], 0x66);
  EXPECT_EQ(romImage.fontCountF, 2);

  EXPECT_EQ(firstFullSlot(0, false), 0);  // an empty store keeps slot 0: a 32-byte data file
  EXPECT_EQ(firstFullSlot(1, true), 1);
  EXPECT_EQ(firstFullSlot(3, true), 2);
}

TEST(RomImage, ResetLeavesNothingOfAnEarlierBuild) {
  buildFrom(3, 0x3042);
  resetRomImage();
  EXPECT_EQ(romImage.fontCountH, 0);
  EXPECT_EQ(romImage.fontCountF, 0);
  EXPECT_EQ(romImage.blockCount, 0);
  EXPECT_EQ(romImage.indexH[1], 0);
  EXPECT_EQ(romImage.blockIndex[0x30], 0);
  EXPECT_EQ(romImage.indexF[0x30][0x42], 0);
  for (std::size_t offset = 0; offset < 256; ++offset) ASSERT_EQ(romImage.fontData[offset], 0) << offset;
}

}  // namespace
