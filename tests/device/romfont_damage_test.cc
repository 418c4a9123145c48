// romfont on damaged and foreign images: cut at every length, filled with random bytes, or holding the
// largest glyph, block and slot numbers. Each lookup must give exactly what a lookup written here from the
// file format gives (ROMFONT_BAD_IMAGE wherever a byte it needs lies outside the files), and never read
// outside them: memory images are exact heap copies (AddressSanitizer in the sanitize build), and the
// read function fails the test when asked for bytes beyond a file.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "device/rom_fixtures.h"
#include "romfont.h"

namespace {

struct Expected {
  romfont_result result;
  FullBitmap glyph{};  // the glyph bytes when result is ROMFONT_OK (half-width: the first 16), else zeros
};

Expected glyphAt(const std::string& data, std::size_t offset, std::size_t size) {
  Expected out{ROMFONT_BAD_IMAGE};
  if (offset + size > data.size()) return out;
  out.result = ROMFONT_OK;
  for (std::size_t i = 0; i < size; ++i) out.glyph[i] = static_cast<std::uint8_t>(data[offset + i]);
  return out;
}

// The file format's lookup: index byte, then (full-width) block entry, then the glyph bytes.
Expected referenceHalf(const std::string& index, const std::string& data, std::uint8_t code) {
  if (code >= index.size()) return {ROMFONT_BAD_IMAGE};
  const std::size_t number = static_cast<std::uint8_t>(index[code]);
  if (number == 0) return {ROMFONT_NO_GLYPH};
  return glyphAt(data, (number - 1) * 16, 16);
}

Expected referenceFull(const std::string& index, const std::string& data, std::uint16_t key) {
  const std::size_t blockAt = 256 + (key >> 8);
  if (blockAt >= index.size()) return {ROMFONT_BAD_IMAGE};
  const std::size_t block = static_cast<std::uint8_t>(index[blockAt]);
  if (block == 0) return {ROMFONT_NO_GLYPH};
  const std::size_t entry = 512 * block + 2 * (key & 0xFF);
  if (entry + 2 > index.size()) return {ROMFONT_BAD_IMAGE};
  const std::size_t slot = static_cast<std::uint8_t>(index[entry]) | static_cast<std::uint8_t>(index[entry + 1]) << 8;
  if (slot == 0) return {ROMFONT_NO_GLYPH};
  return glyphAt(data, slot * 32, 32);
}

// Every half-width code and the given keys, looked up in font, against the reference on the same files.
::testing::AssertionResult matchesReference(const romfont* font, const std::string& index, const std::string& data,
                                            const std::vector<std::uint16_t>& keys) {
  for (unsigned code = 0; code < 256; ++code) {
    FullBitmap glyph{};
    std::fill(glyph.begin(), glyph.begin() + 16, 0x5A);
    const romfont_result result = romfont_half_glyph(font, static_cast<std::uint8_t>(code), glyph.data());
    const Expected expected = referenceHalf(index, data, static_cast<std::uint8_t>(code));
    if (result != expected.result || glyph != expected.glyph) {
      return ::testing::AssertionFailure() << "half-width code " << code << ": " << romfont_result_name(result)
                                           << ", expected " << romfont_result_name(expected.result);
    }
  }
  for (const std::uint16_t key : keys) {
    FullBitmap glyph;
    glyph.fill(0x5A);
    const romfont_result result = romfont_full_glyph(font, key, glyph.data());
    const Expected expected = referenceFull(index, data, key);
    if (result != expected.result || glyph != expected.glyph) {
      return ::testing::AssertionFailure() << "key " << key << ": " << romfont_result_name(result) << ", expected "
                                           << romfont_result_name(expected.result);
    }
  }
  return ::testing::AssertionSuccess();
}

::testing::AssertionResult bothSourcesMatch(const std::string& index, const std::string& data,
                                            const std::vector<std::uint16_t>& keys) {
  const MemoryRom memory(index, data);
  if (auto result = matchesReference(memory.font(), index, data, keys); !result) return result << " (memory)";
  const CallbackRom callback(index, data);
  if (auto result = matchesReference(callback.font(), index, data, keys); !result) return result << " (read function)";
  return ::testing::AssertionSuccess();
}

std::vector<std::uint16_t> allKeys() {
  std::vector<std::uint16_t> keys;
  for (unsigned key = 0; key < 65536; ++key) keys.push_back(static_cast<std::uint16_t>(key));
  return keys;
}

// Every key whose high byte has a block in the ROM, and a few that have none.
std::vector<std::uint16_t> keysOfBlocks(const std::string& index) {
  std::vector<std::uint16_t> keys{0x0000, 0x2000, 0xFFFF};
  for (unsigned high = 0; high < 256; ++high) {
    if (index[256 + high] == 0) continue;
    for (unsigned low = 0; low < 256; ++low) keys.push_back(static_cast<std::uint16_t>(high << 8 | low));
  }
  return keys;
}

RomFiles smallRom() {
  SyntheticGlyphs glyphs;
  for (const std::uint8_t code : std::initializer_list<std::uint8_t>{0x20, 0x41, 0x7E, 0xB1, 0xFF}) glyphs.half[code] = halfPattern(code);
  for (const std::uint16_t key : std::initializer_list<std::uint16_t>{0x00A7, 0x3000, 0x30FF, 0x4E9C, 0xFF5E}) glyphs.full[key] = fullPattern(key);
  return buildRom(glyphs);
}

TEST(RomfontDamage, IndexCutAtEveryLength) {
  for (const RomFiles& rom : {smallRom(), convertFonts(MASKBURN_SOURCE_DIR "/tests/fixtures/tiny8x16.bdf",
                                                       MASKBURN_SOURCE_DIR "/tests/fixtures/tiny16x16.bdf")}) {
    const std::vector<std::uint16_t> keys = keysOfBlocks(rom.index);
    for (std::size_t length = 0; length <= rom.index.size(); ++length) {
      ASSERT_TRUE(bothSourcesMatch(rom.index.substr(0, length), rom.data, keys)) << "index of " << length << " bytes";
    }
  }
}

TEST(RomfontDamage, DataCutAtEveryLength) {
  for (const RomFiles& rom : {smallRom(), convertFonts(MASKBURN_SOURCE_DIR "/tests/fixtures/tiny8x16.bdf",
                                                       MASKBURN_SOURCE_DIR "/tests/fixtures/tiny16x16.bdf")}) {
    const std::vector<std::uint16_t> keys = keysOfBlocks(rom.index);
    for (std::size_t length = 0; length <= rom.data.size(); ++length) {
      ASSERT_TRUE(bothSourcesMatch(rom.index, rom.data.substr(0, length), keys)) << "data of " << length << " bytes";
    }
  }
}

TEST(RomfontDamage, RandomBytes) {
  std::mt19937 random(20240613);
  const std::vector<std::uint16_t> keys = allKeys();
  std::uniform_int_distribution<int> byte(0, 255);
  for (int round = 0; round < 24; ++round) {
    // Index sizes of a ROM and others; block bytes either anything or small numbers that often lead
    // inside the index; data from empty to a few kilobytes.
    const std::size_t indexSize = round % 3 == 0 ? static_cast<std::size_t>(byte(random)) * 13
                                                 : 512 * static_cast<std::size_t>(1 + byte(random) % 8);
    std::string index(indexSize, '\0');
    for (char& value : index) value = static_cast<char>(byte(random) % 4 == 0 ? 0 : byte(random));
    for (std::size_t high = 256; high < 512 && high < index.size() && round % 2 == 0; ++high) {
      index[high] = static_cast<char>(byte(random) % 9);
    }
    std::string data(static_cast<std::size_t>(byte(random)) * 23, '\0');
    for (char& value : data) value = static_cast<char>(byte(random));
    ASSERT_TRUE(bothSourcesMatch(index, data, keys)) << "round " << round;
  }
}

TEST(RomfontDamage, LargestNumbersReachExactlyToTheEndOrAreRefused) {
  // Half-width glyph number 255 for every code: its glyph is the last 16 bytes of 255 x 16.
  const std::string halfIndex = std::string(256, '\xFF') + std::string(256, '\0');
  std::string halfData(255 * 16, '\0');
  halfData.replace(254 * 16, 16, std::string(16, '\x81'));
  HalfBitmap half;
  EXPECT_EQ(romfont_half_glyph(MemoryRom(halfIndex, halfData).font(), 0x41, half.data()), ROMFONT_OK);
  HalfBitmap inked;
  inked.fill(0x81);
  EXPECT_EQ(half, inked);
  EXPECT_EQ(romfont_half_glyph(MemoryRom(halfIndex, halfData.substr(1)).font(), 0x41, half.data()), ROMFONT_BAD_IMAGE);

  // Block 255 in an index of 256 blocks holds slot 0xFFFF for key 0xABFF: the glyph is the last 32 bytes of
  // a data file of 65,536 slots.
  std::string index(512 * 256, '\0');
  index[256 + 0xAB] = '\xFF';
  index[512 * 255 + 2 * 0xFF] = '\xFF';
  index[512 * 255 + 2 * 0xFF + 1] = '\xFF';
  std::string data(65536 * 32, '\0');
  data.replace(65535 * 32, 32, std::string(32, '\x7E'));
  FullBitmap full;
  EXPECT_EQ(romfont_full_glyph(MemoryRom(index, data).font(), 0xABFF, full.data()), ROMFONT_OK);
  EXPECT_EQ(full[0], 0x7E);
  EXPECT_EQ(full[31], 0x7E);
  CallbackRom callback(index, data);
  EXPECT_EQ(romfont_full_glyph(callback.font(), 0xABFF, full.data()), ROMFONT_OK);
  EXPECT_EQ(romfont_full_glyph(MemoryRom(index, data.substr(1)).font(), 0xABFF, full.data()), ROMFONT_BAD_IMAGE);
  EXPECT_EQ(romfont_full_glyph(MemoryRom(index.substr(0, index.size() - 1), data).font(), 0xABFF, full.data()),
            ROMFONT_BAD_IMAGE);
  // Block 255 named by an index that has one block only.
  EXPECT_EQ(romfont_full_glyph(MemoryRom(index.substr(0, 1024), data).font(), 0xABFF, full.data()), ROMFONT_BAD_IMAGE);
}

}  // namespace
