// Tests of the glyph store: records per kind and code, the owning chain, replacement of a glyph.
// The store is global, so every test starts from a cleared store.
#include "font/glyph_store.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

namespace {

std::vector<const GlyphRecord*> chainRecords() {
  std::vector<const GlyphRecord*> records;
  for (const GlyphRecord* record = glyphChain; record != nullptr; record = record->next) records.push_back(record);
  return records;
}

class GlyphStoreTest : public ::testing::Test {
 protected:
  void SetUp() override { clearGlyphStore(); }
  void TearDown() override { clearGlyphStore(); }
};

TEST_F(GlyphStoreTest, HalfAndFullGlyphsOfTheSameCodeAreSeparateRecords) {
  std::uint8_t half[16] = {};
  std::uint8_t full[32] = {};
  for (int i = 0; i < 16; ++i) half[i] = static_cast<std::uint8_t>(0x10 + i);
  for (int i = 0; i < 32; ++i) full[i] = static_cast<std::uint8_t>(0x80 + i);
  commitHalfGlyph(0x41, half);
  commitFullGlyph(0x0041, full);

  const GlyphRecord* halfRecord = halfGlyphTable[0x41];
  const GlyphRecord* fullRecord = fullGlyphTable[0x41];
  ASSERT_NE(halfRecord, nullptr);
  ASSERT_NE(fullRecord, nullptr);
  EXPECT_NE(halfRecord, fullRecord);

  EXPECT_EQ(halfRecord->code, 0x41);
  EXPECT_EQ(halfRecord->hasHalf, 1);
  EXPECT_EQ(halfRecord->hasFull, 0);
  EXPECT_TRUE(std::equal(halfRecord->halfBitmap.begin(), halfRecord->halfBitmap.end(), half));
  EXPECT_EQ(halfRecord->fullBitmap, (std::array<std::uint8_t, 32>{}));

  EXPECT_EQ(fullRecord->code, 0x41);
  EXPECT_EQ(fullRecord->hasHalf, 0);
  EXPECT_EQ(fullRecord->hasFull, 1);
  EXPECT_TRUE(std::equal(fullRecord->fullBitmap.begin(), fullRecord->fullBitmap.end(), full));
  EXPECT_EQ(fullRecord->halfBitmap, (std::array<std::uint8_t, 16>{}));

  // Newest first, and nothing else in either table.
  EXPECT_EQ(chainRecords(), (std::vector<const GlyphRecord*>{fullRecord, halfRecord}));
  EXPECT_EQ(std::count_if(halfGlyphTable.begin(), halfGlyphTable.end(), [](auto* r) { return r != nullptr; }), 1);
  EXPECT_EQ(std::count_if(fullGlyphTable.begin(), fullGlyphTable.end(), [](auto* r) { return r != nullptr; }), 1);
}

TEST_F(GlyphStoreTest, SecondCommitOfACodeReplacesTheBitmapAndKeepsTheRecordsPlace) {
  std::uint8_t first[16] = {0xF0, 0xF0};
  std::uint8_t other[16] = {0x55};
  std::uint8_t second[16] = {0x0F};
  commitHalfGlyph(0x41, first);
  commitHalfGlyph(0x42, other);
  commitHalfGlyph(0x41, second);

  const GlyphRecord* a = halfGlyphTable[0x41];
  ASSERT_NE(a, nullptr);
  // The whole bitmap is replaced, not merged with the earlier one.
  EXPECT_EQ(a->halfBitmap, (std::array<std::uint8_t, 16>{0x0F}));
  EXPECT_EQ(chainRecords(), (std::vector<const GlyphRecord*>{halfGlyphTable[0x42], a}));

  std::uint8_t fullFirst[32] = {1, 2, 3};
  std::uint8_t fullSecond[32] = {0, 0, 0, 4};
  commitFullGlyph(0xFFFF, fullFirst);  // the last key of the table
  commitFullGlyph(0xFFFF, fullSecond);
  ASSERT_NE(fullGlyphTable[0xFFFF], nullptr);
  EXPECT_EQ(fullGlyphTable[0xFFFF]->code, 0xFFFF);
  EXPECT_EQ(fullGlyphTable[0xFFFF]->fullBitmap, (std::array<std::uint8_t, 32>{0, 0, 0, 4}));
  EXPECT_EQ(chainRecords().size(), 3u);
}

TEST_F(GlyphStoreTest, ReleaseEmptiesTheChainAndClearStartsAFreshStore) {
  std::uint8_t half[16] = {0xFF};
  std::uint8_t full[32] = {0xFF, 0xFF};
  commitHalfGlyph(0x20, half);
  commitFullGlyph(0x3042, full);
  releaseGlyphStore();  // the leak checker of a sanitizer build sees any record left behind
  EXPECT_EQ(glyphChain, nullptr);

  // The tables still refer to the released records until the store is cleared.
  clearGlyphStore();
  EXPECT_EQ(glyphChain, nullptr);
  EXPECT_EQ(halfGlyphTable[0x20], nullptr);
  EXPECT_EQ(fullGlyphTable[0x3042], nullptr);

  // A commit after the clear makes a new record with nothing left over from the old ones.
  std::uint8_t blank[32] = {};
  commitFullGlyph(0x3042, blank);
  ASSERT_NE(fullGlyphTable[0x3042], nullptr);
  EXPECT_EQ(fullGlyphTable[0x3042]->fullBitmap, (std::array<std::uint8_t, 32>{}));
  EXPECT_EQ(fullGlyphTable[0x3042]->hasHalf, 0);
  EXPECT_EQ(chainRecords().size(), 1u);
}

}  // namespace
