// Tests of the glyph store: one record per kind and code, the owning chain and its blocks of records, release.
// (Replacement of a glyph by a later one of the same code is pinned by the reader tests.)
// The store is global, so every test starts from a cleared store.
#include "font/glyph_store.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <vector>

namespace {

using HalfBitmap = std::array<std::uint8_t, 16>;
using FullBitmap = std::array<std::uint8_t, 32>;

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
  const std::uint8_t half[16] = {0x10, 0x11, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x1F};
  const std::uint8_t full[32] = {0x80, 0x81, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                                 0,    0,    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x9F};
  commitHalfGlyph(0x41, half);
  commitFullGlyph(0x0041, full);
  const GlyphRecord* halfRecord = halfGlyphTable[0x41];
  const GlyphRecord* fullRecord = fullGlyphTable[0x41];
  ASSERT_NE(halfRecord, nullptr);
  ASSERT_NE(fullRecord, nullptr);
  EXPECT_NE(halfRecord, fullRecord);
  // Each record holds its own kind's bitmap and a blank one of the other kind.
  EXPECT_EQ(halfRecord->code, 0x41);
  EXPECT_TRUE(halfRecord->hasHalf == 1 && halfRecord->hasFull == 0);
  EXPECT_EQ(halfRecord->halfBitmap, std::to_array(half));
  EXPECT_EQ(halfRecord->fullBitmap, FullBitmap{});
  EXPECT_EQ(fullRecord->code, 0x41);
  EXPECT_TRUE(fullRecord->hasHalf == 0 && fullRecord->hasFull == 1);
  EXPECT_EQ(fullRecord->fullBitmap, std::to_array(full));
  EXPECT_EQ(fullRecord->halfBitmap, HalfBitmap{});
  EXPECT_EQ(chainRecords(), (std::vector<const GlyphRecord*>{fullRecord, halfRecord}));  // newest first
}

TEST_F(GlyphStoreTest, ThousandsOfRecordsEachKeepTheirOwnGlyph) {
  for (int key = 0; key < 2100; ++key) {
    const std::uint8_t bitmap[32] = {static_cast<std::uint8_t>(key >> 8), static_cast<std::uint8_t>(key)};
    commitFullGlyph(static_cast<std::uint16_t>(0x4E00 + key), bitmap);
  }
  EXPECT_EQ(chainRecords().size(), 2100u);
  for (int key = 0; key < 2100; ++key) {
    const GlyphRecord* record = fullGlyphTable[0x4E00 + key];
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->code, 0x4E00 + key);
    EXPECT_EQ(record->fullBitmap, (FullBitmap{static_cast<std::uint8_t>(key >> 8), static_cast<std::uint8_t>(key)}));
  }
}

TEST_F(GlyphStoreTest, ReleaseEmptiesTheChainAndClearStartsAFreshStore) {
  const std::uint8_t half[16] = {0xFF}, full[32] = {0xFF, 0xFF}, blank[32] = {};
  commitHalfGlyph(0x20, half);
  commitFullGlyph(0x3042, full);
  releaseGlyphStore();  // the leak checker of a sanitizer build sees any record left behind
  EXPECT_EQ(glyphChain, nullptr);
  clearGlyphStore();
  EXPECT_EQ(halfGlyphTable[0x20], nullptr);
  EXPECT_EQ(fullGlyphTable[0x3042], nullptr);
  // A commit after the clear makes a new record with nothing left over from the old ones.
  commitFullGlyph(0x3042, blank);
  ASSERT_NE(fullGlyphTable[0x3042], nullptr);
  EXPECT_EQ(fullGlyphTable[0x3042]->fullBitmap, FullBitmap{});
  EXPECT_EQ(chainRecords().size(), 1u);
}

}  // namespace
