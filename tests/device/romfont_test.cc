// romfont lookups, each compared over every half-width code and many or all full-width keys, from memory
// and through the read function: converted pairs against their BDF bitmaps; damaged images (cut at every
// length, random bytes, the largest numbers) against a lookup written here from the file format, never
// reading outside the files (exact heap copies for AddressSanitizer; the read function checks its
// offsets). Also reads per glyph, failed reads, missing pointers and index sizes.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <iterator>
#include <numeric>
#include <random>

#include "device/rom_fixtures.h"
#include "romfont.h"
#include "romfont.h"  // twice: the include guard must hold

namespace {

// 0, 1, ..., count - 1.
std::vector<unsigned> numbers(unsigned count) {
  std::vector<unsigned> values(count);
  std::iota(values.begin(), values.end(), 0u);
  return values;
}

using Expected = std::pair<romfont_result, Bitmap>;  // the result, and the glyph bytes (zero unless found)

romfont_result lookup(const romfont* font, bool full, unsigned code, std::uint8_t* glyph) {
  return full ? romfont_full_glyph(font, static_cast<std::uint16_t>(code), glyph)
              : romfont_half_glyph(font, static_cast<std::uint8_t>(code), glyph);
}

// The file format's lookup: the index byte of a half-width code is its glyph number (from 1); a key's high
// byte picks a block byte at 256 + high, whose entry (at 512 x block + 2 x low, little-endian) is its slot
// of 32 bytes. ROMFONT_BAD_IMAGE wherever a byte it needs lies outside the files.
Expected reference(const RomFiles& rom, bool full, unsigned code) {
  // An index byte, or -1 past the end of the index.
  const auto byteAt = [&index = rom.index](std::size_t at) {
    return at < index.size() ? static_cast<std::uint8_t>(index[at]) : -1;
  };
  int number = byteAt(full ? 256 + (code >> 8) : code);
  if (full && number > 0) {
    const std::size_t entry = 512 * static_cast<std::size_t>(number) + 2 * (code & 0xFF);
    number = byteAt(entry + 1) < 0 ? -1 : byteAt(entry) | byteAt(entry + 1) << 8;
  }
  if (number <= 0) return {number < 0 ? ROMFONT_BAD_IMAGE : ROMFONT_NO_GLYPH, {}};
  const std::size_t size = full ? 32 : 16;
  const std::size_t offset = full ? 32u * number : 16u * (number - 1u);
  if (offset + size > rom.data.size()) return {ROMFONT_BAD_IMAGE, {}};
  Expected found{ROMFONT_OK, {}};
  std::copy_n(rom.data.begin() + static_cast<std::ptrdiff_t>(offset), size, found.second.begin());
  return found;
}

// Every half-width code and the given keys, looked up from memory and through the read function, against
// expect (by default the reference lookup on the same files); the read function is called at most twice per
// half-width lookup and three times per full-width one.
::testing::AssertionResult sweep(const RomFiles& files, const std::vector<unsigned>& keys,
                                 std::function<Expected(bool full, unsigned code)> expect = {}) {
  if (!expect) expect = [&files](bool full, unsigned code) { return reference(files, full, code); };
  Rom rom(files);
  const std::vector<unsigned> codes = numbers(256);
  for (const romfont* font : {&rom.memory, &rom.callback}) {
    for (const bool full : {false, true}) {
      for (const unsigned code : full ? keys : codes) {
        Bitmap glyph{};
        std::fill_n(glyph.begin(), full ? 32 : 16, 0x5A);
        const int before = rom.calls;
        const romfont_result result = lookup(font, full, code, glyph.data());
        const auto [expectedResult, expectedGlyph] = expect(full, code);
        if (result != expectedResult || glyph != expectedGlyph || rom.calls - before > (full ? 3 : 2)) {
          return ::testing::AssertionFailure() << (font == &rom.memory ? "memory" : "read function")
                 << (full ? ", key " : ", code ") << code << ": " << romfont_result_name(result) << ", expected "
                 << romfont_result_name(expectedResult) << ", " << rom.calls - before << " reads";
        }
      }
    }
  }
  return ::testing::AssertionSuccess();
}

TEST(RomfontLookup, ConvertedPairsGiveTheirBdfGlyphsAndNothingElse) {
  for (const auto& [halfPath, fullPath] : fontPairs()) {
    if (halfPath.empty() || fullPath.empty()) continue;
    const RomFiles files = convertFonts(halfPath, fullPath);
    const Glyphs bdf = bdfGlyphs(halfPath, fullPath);
    ASSERT_FALSE(bdf.half.empty() || bdf.full.empty());
    EXPECT_EQ(Rom(files).init, ROMFONT_OK);
    EXPECT_TRUE(sweep(files, numbers(65536), [&bdf](bool full, unsigned code) {
      const std::map<unsigned, Bitmap>& table = full ? bdf.full : bdf.half;
      const auto found = table.find(code);
      return found == table.end() ? Expected{ROMFONT_NO_GLYPH, {}} : Expected{ROMFONT_OK, found->second};
    })) << halfPath;
  }
}

// Damaged images give what the reference lookup gives on them: the tiny ROM with either file cut at every
// length; random bytes; and the largest numbers, which must reach exactly to the end of the files.
TEST(RomfontDamage, CutRandomAndLargestImagesGiveTheReferenceResults) {
  const RomFiles tiny = tinyRom();
  // Every key of the tiny ROM's blocks, and a few without one.
  std::vector<unsigned> keys{0x0000, 0x2000, 0xFFFF};
  const auto inABlock = [&tiny](unsigned key) { return tiny.index[256 + (key >> 8)] != 0; };
  std::ranges::copy_if(numbers(65536), std::back_inserter(keys), inABlock);
  for (std::size_t length = 0; length <= tiny.index.size(); ++length) {
    ASSERT_TRUE(sweep({tiny.index.substr(0, length), tiny.data}, keys)) << "index of " << length << " bytes";
  }
  for (std::size_t length = 0; length <= tiny.data.size(); ++length) {
    ASSERT_TRUE(sweep({tiny.index, tiny.data.substr(0, length)}, keys)) << "data of " << length << " bytes";
  }

  std::mt19937 random(20240613);
  for (int round = 0; round < 24; ++round) {
    // Index sizes of a ROM and others, data from empty to a few kilobytes; in every other round, small block
    // numbers that often lead inside the index.
    RomFiles rom{std::string(round % 3 ? 512 * (1 + random() % 8) : random() % 256 * 13, '\0'),
                 std::string(random() % 256 * 23, '\0')};
    for (char& value : rom.index) value = static_cast<char>(random() % 4 ? random() : 0);
    for (char& value : rom.data) value = static_cast<char>(random());
    for (std::size_t at = 256; round % 2 == 0 && at < std::min<std::size_t>(512, rom.index.size()); ++at) {
      rom.index[at] = static_cast<char>(random() % 9);
    }
    ASSERT_TRUE(sweep(rom, numbers(65536))) << "random round " << round;
  }

  // Glyph number 255 for every half-width code; block 255, the last of the largest index, holds slot 0xFFFF
  // for key 0xABFF, whose glyph is the last 32 bytes of the largest data file. Data bytes repeat only every
  // 251 bytes, so a glyph read from a wrong offset shows. Then either file one byte short.
  RomFiles rom{std::string(256, '\xFF') + std::string(512 * 256 - 256, '\0'), std::string(65536 * 32, '\0')};
  rom.index[256 + 0xAB] = rom.index[512 * 255 + 2 * 0xFF] = rom.index[512 * 255 + 2 * 0xFF + 1] = '\xFF';
  for (std::size_t i = 0; i < rom.data.size(); ++i) rom.data[i] = static_cast<char>(i % 251);
  ASSERT_EQ(reference(rom, true, 0xABFF).first, ROMFONT_OK);
  for (const RomFiles& files : {rom, RomFiles{rom.index, rom.data.substr(0, rom.data.size() - 1)},
                                RomFiles{rom.index.substr(0, rom.index.size() - 1), rom.data}}) {
    EXPECT_TRUE(sweep(files, {0x0000, 0xABFE, 0xABFF})) << files.index.size() << " " << files.data.size();
  }
}

// Failed reads (each of the two or three a lookup makes), missing pointers, and index sizes.
TEST(RomfontErrors, FailedReadsMissingPointersAndIndexSizesNoRomHas) {
  Rom rom(tinyRom());
  Bitmap glyph{};
  for (const bool full : {false, true}) {
    for (int failing = 1; failing <= (full ? 3 : 2); ++failing) {
      rom.calls = 0;
      rom.failAtCall = failing;
      std::fill_n(glyph.begin(), full ? 32 : 16, 0x5A);
      EXPECT_EQ(lookup(&rom.callback, full, full ? 0x3042 : 0x41, glyph.data()), ROMFONT_READ_ERROR) << failing;
      EXPECT_EQ(glyph, Bitmap{}) << failing;
      EXPECT_EQ(rom.calls, failing) << "no read after the failed one";
    }
  }

  romfont_char ch;
  romfont font;
  EXPECT_EQ(romfont_half_glyph(nullptr, 0x41, glyph.data()), ROMFONT_BAD_ARGUMENT);
  EXPECT_EQ(romfont_half_glyph(&rom.memory, 0x41, nullptr), ROMFONT_BAD_ARGUMENT);
  EXPECT_EQ(romfont_full_glyph(nullptr, 0x3042, glyph.data()), ROMFONT_BAD_ARGUMENT);
  EXPECT_EQ(romfont_full_glyph(&rom.memory, 0x3042, nullptr), ROMFONT_BAD_ARGUMENT);
  EXPECT_EQ(romfont_next_char(nullptr, &ch), ROMFONT_BAD_ARGUMENT);
  EXPECT_EQ(romfont_init_memory(nullptr, nullptr, 0, nullptr, 0), ROMFONT_BAD_ARGUMENT);
  EXPECT_EQ(romfont_init_callback(&font, nullptr, nullptr, 512, 64), ROMFONT_BAD_ARGUMENT);
  // A memory ROM whose data pointer is missing although a size is given: refused at init and at lookup.
  EXPECT_EQ(romfont_init_memory(&font, rom.index.get(), 512, nullptr, 64), ROMFONT_BAD_ARGUMENT);
  EXPECT_EQ(romfont_half_glyph(&font, 0x41, glyph.data()), ROMFONT_BAD_ARGUMENT);

  // Index sizes: 512 bytes times 1 to 256, and others (lookups in such images are swept above).
  const auto initOf = [](std::uint32_t size) { return Rom({std::string(size, '\0'), ""}).init; };
  for (const unsigned size : {512u, 1024u, 512u * 256u}) EXPECT_EQ(initOf(size), ROMFONT_OK) << size;
  for (const unsigned size : {0u, 256u, 511u, 513u, 1000u, 512u * 257u}) {
    EXPECT_EQ(initOf(size), ROMFONT_BAD_IMAGE) << size;
  }
}

}  // namespace
