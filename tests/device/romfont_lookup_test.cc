// romfont lookups in ROMs the converter made: every glyph of the real Shinonome pair and of the committed
// tiny pair is found, from memory and through the read function, with the bitmap its BDF file holds;
// every other code reports "no glyph"; reads per glyph stay within two (half-width) and three
// (full-width); a failed read is reported and leaves nothing in the caller's buffer.
#include <gtest/gtest.h>

#include <cstring>

#include "device/rom_fixtures.h"
#include "romfont.h"
#include "romfont.h"  // twice: the include guard must hold
#include "support/real_fonts.h"

namespace {

// Checks every half-width code and every full-width key against the expected glyphs.
::testing::AssertionResult holdsExactly(const romfont* font, const SyntheticGlyphs& expected, int* calls) {
  for (unsigned code = 0; code < 256; ++code) {
    HalfBitmap glyph;
    glyph.fill(0x5A);
    const int before = calls ? *calls : 0;
    const romfont_result result = romfont_half_glyph(font, static_cast<std::uint8_t>(code), glyph.data());
    const auto found = expected.half.find(static_cast<std::uint8_t>(code));
    const bool present = found != expected.half.end();
    if (result != (present ? ROMFONT_OK : ROMFONT_NO_GLYPH)) {
      return ::testing::AssertionFailure() << "half-width code " << code << ": " << romfont_result_name(result);
    }
    if (glyph != (present ? found->second : HalfBitmap{})) {
      return ::testing::AssertionFailure() << "half-width code " << code << ": wrong bitmap";
    }
    if (calls && *calls - before != (present ? 2 : 1)) {
      return ::testing::AssertionFailure() << "half-width code " << code << ": " << *calls - before << " reads";
    }
  }
  for (unsigned key = 0; key < 65536; ++key) {
    FullBitmap glyph;
    glyph.fill(0x5A);
    const int before = calls ? *calls : 0;
    const romfont_result result = romfont_full_glyph(font, static_cast<std::uint16_t>(key), glyph.data());
    const auto found = expected.full.find(static_cast<std::uint16_t>(key));
    const bool present = found != expected.full.end();
    if (result != (present ? ROMFONT_OK : ROMFONT_NO_GLYPH)) {
      return ::testing::AssertionFailure() << "key " << key << ": " << romfont_result_name(result);
    }
    if (glyph != (present ? found->second : FullBitmap{})) {
      return ::testing::AssertionFailure() << "key " << key << ": wrong bitmap";
    }
    if (calls && (*calls - before > 3 || (present && *calls - before != 3))) {
      return ::testing::AssertionFailure() << "key " << key << ": " << *calls - before << " reads";
    }
  }
  return ::testing::AssertionSuccess();
}

void expectPairFound(const std::string& halfPath, const std::string& fullPath) {
  const RomFiles files = convertFonts(halfPath, fullPath);
  const SyntheticGlyphs expected = bdfGlyphs(halfPath, fullPath);
  ASSERT_FALSE(expected.half.empty());
  ASSERT_FALSE(expected.full.empty());
  const MemoryRom memory(files);
  EXPECT_EQ(memory.initResult(), ROMFONT_OK);
  EXPECT_TRUE(holdsExactly(memory.font(), expected, nullptr)) << "from memory";
  CallbackRom callback(files);
  EXPECT_TRUE(holdsExactly(callback.font(), expected, &callback.calls)) << "through the read function";
}

TEST(RomfontLookup, TinyCommittedPair) {
  expectPairFound(MASKBURN_SOURCE_DIR "/tests/fixtures/tiny8x16.bdf", MASKBURN_SOURCE_DIR "/tests/fixtures/tiny16x16.bdf");
}

TEST(RomfontLookup, RealShinonomePair) {
  const std::string halfPath = realFontPath("shnm8x16r");
  const std::string fullPath = realFontPath("shnmk16");
  if (halfPath.empty() || fullPath.empty()) return;
  expectPairFound(halfPath, fullPath);
}

TEST(RomfontReads, AFailedReadIsReportedAndLeavesTheBufferClear) {
  SyntheticGlyphs glyphs;
  glyphs.half[0x41] = halfPattern(0x41);
  glyphs.full[0x6771] = fullPattern(0x6771);
  CallbackRom rom(buildRom(glyphs));
  for (int failing = 1; failing <= 2; ++failing) {
    rom.calls = 0;
    rom.failAtCall = failing;
    HalfBitmap glyph;
    glyph.fill(0x5A);
    EXPECT_EQ(romfont_half_glyph(rom.font(), 0x41, glyph.data()), ROMFONT_READ_ERROR) << failing;
    EXPECT_EQ(glyph, HalfBitmap{}) << failing;
    EXPECT_EQ(rom.calls, failing) << "no read after the failed one";
  }
  for (int failing = 1; failing <= 3; ++failing) {
    rom.calls = 0;
    rom.failAtCall = failing;
    FullBitmap glyph;
    glyph.fill(0x5A);
    EXPECT_EQ(romfont_full_glyph(rom.font(), 0x6771, glyph.data()), ROMFONT_READ_ERROR) << failing;
    EXPECT_EQ(glyph, FullBitmap{}) << failing;
    EXPECT_EQ(rom.calls, failing);
  }
  rom.failAtCall = 0;
  FullBitmap glyph;
  EXPECT_EQ(romfont_full_glyph(rom.font(), 0x6771, glyph.data()), ROMFONT_OK);
  EXPECT_EQ(glyph, fullPattern(0x6771));
}

TEST(RomfontArguments, MissingPointersAreRefused) {
  const RomFiles files = buildRom({{{0x41, halfPattern(0x41)}}, {{0x3042, fullPattern(0x3042)}}});
  const MemoryRom rom(files);
  HalfBitmap half;
  FullBitmap full;
  romfont_char ch;
  EXPECT_EQ(romfont_half_glyph(nullptr, 0x41, half.data()), ROMFONT_BAD_ARGUMENT);
  EXPECT_EQ(romfont_half_glyph(rom.font(), 0x41, nullptr), ROMFONT_BAD_ARGUMENT);
  EXPECT_EQ(romfont_full_glyph(nullptr, 0x3042, full.data()), ROMFONT_BAD_ARGUMENT);
  EXPECT_EQ(romfont_full_glyph(rom.font(), 0x3042, nullptr), ROMFONT_BAD_ARGUMENT);
  EXPECT_EQ(romfont_next_char(nullptr, &ch), ROMFONT_BAD_ARGUMENT);
  EXPECT_EQ(romfont_init_memory(nullptr, nullptr, 0, nullptr, 0), ROMFONT_BAD_ARGUMENT);
  EXPECT_EQ(romfont_init_callback(nullptr, nullptr, nullptr, 512, 0), ROMFONT_BAD_ARGUMENT);

  // A memory ROM whose data pointer is missing although a size is given: refused at init and at lookup.
  romfont font;
  const ExactCopy index(files.index);
  EXPECT_EQ(romfont_init_memory(&font, index.data(), index.size(), nullptr, 64), ROMFONT_BAD_ARGUMENT);
  EXPECT_EQ(romfont_half_glyph(&font, 0x41, half.data()), ROMFONT_BAD_ARGUMENT);
  EXPECT_EQ(romfont_init_callback(&font, nullptr, nullptr, index.size(), 64), ROMFONT_BAD_ARGUMENT);
}

TEST(RomfontInit, IndexSizesOfARomAreAccepted) {
  const std::string data(64, '\0');
  for (const std::uint32_t size : {512u, 1024u, 512u * 256u}) {
    EXPECT_EQ(MemoryRom(std::string(size, '\0'), data).initResult(), ROMFONT_OK) << size;
  }
  for (const std::uint32_t size : {0u, 256u, 511u, 513u, 1000u, 512u * 257u}) {
    const MemoryRom rom(std::string(size, '\0'), data);
    EXPECT_EQ(rom.initResult(), ROMFONT_BAD_IMAGE) << size;
    // Set up all the same: lookups answer from what there is.
    HalfBitmap glyph;
    EXPECT_EQ(romfont_half_glyph(rom.font(), 0x20, glyph.data()), size > 0x20 ? ROMFONT_NO_GLYPH : ROMFONT_BAD_IMAGE);
  }
}

}  // namespace
