// The real Shinonome pair read into the glyph store: every character under its code or key, with the
// bitmap its BDF gives.
#include <gtest/gtest.h>

#include <set>

#include "font/bdf_reader.h"
#include "font/glyph_store.h"
#include "font/jis_mapping.h"
#include "text/console.h"
#include "support/real_fonts.h"

namespace {

TEST(RealFonts, ShinonomePairFillsTheStoreWithEveryBitmap) {
  const std::string halfPath = realFontPath("shnm8x16r");
  const std::string fullPath = realFontPath("shnmk16");
  if (halfPath.empty() || fullPath.empty()) return;

  std::string messages;
  consoleCaptureTo(&messages);
  clearGlyphStore();
  EXPECT_EQ(readHalfFont(halfPath), FontReadResult::Read);
  EXPECT_EQ(readFullFont(fullPath), FontReadResult::Read);
  consoleCaptureTo(nullptr);
  EXPECT_EQ(messages, "");

  int halfCount = 0;
  for (const GlyphRecord* record : halfGlyphTable) halfCount += record != nullptr;
  int fullCount = 0;
  for (const GlyphRecord* record : fullGlyphTable) fullCount += record != nullptr;
  EXPECT_EQ(halfCount, 221);
  EXPECT_EQ(fullCount, 6879);

  for (const ParsedGlyph& glyph : parseBdfGlyphs(halfPath)) {
    const GlyphRecord* record = halfGlyphTable.at(static_cast<std::size_t>(glyph.encoding));
    ASSERT_NE(record, nullptr) << glyph.encoding;
    ASSERT_EQ(glyph.rows.size(), 16u);
    for (std::size_t row = 0; row < 16; ++row) EXPECT_EQ(record->halfBitmap[row], glyph.rows[row]) << glyph.encoding;
  }
  std::set<std::uint16_t> keys;
  for (const ParsedGlyph& glyph : parseBdfGlyphs(fullPath)) {
    const std::uint16_t key = jisToUnicodeKey(static_cast<std::int32_t>(glyph.encoding));
    keys.insert(key);
    const GlyphRecord* record = fullGlyphTable[key];
    ASSERT_NE(record, nullptr) << glyph.encoding;
    ASSERT_EQ(glyph.rows.size(), 16u);
    for (std::size_t row = 0; row < 16; ++row) {
      EXPECT_EQ(record->fullBitmap[2 * row] << 8 | record->fullBitmap[2 * row + 1], glyph.rows[row]) << glyph.encoding;
    }
  }
  EXPECT_EQ(keys.size(), 6879u);  // no two characters share a key
  releaseGlyphStore();
}

}  // namespace
