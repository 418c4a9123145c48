// romfont lookups, every half-width code and many or all full-width keys, from memory (exact-size copies, so
// AddressSanitizer sees a read past their end) and through a read function: font pairs converted by the real
// executable (the committed tiny pair, every Shinonome pair Debian ships that passes the size checks, and
// Debian's Unicode fonts efont f16 and GNU Unifont) against their BDF bitmaps read here, with the file sizes checked too; damaged images (cut at every length,
// random bytes, the largest numbers) against a lookup written here from the file format, never reading
// outside the files. Also reads per glyph, failed reads, missing pointers, index sizes, and the walker.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <fstream>
#include <functional>
#include <map>
#include <numeric>
#include <random>
#include <set>
#include <tuple>
#include <vector>

#include "font/jis_mapping.h"
#include "romfont.h"
#include "romfont.h"  // twice: the include guard must hold
#include "support/support.h"

namespace {

const std::string kTinyHalf = MASKBURN_SOURCE_DIR "/tests/fixtures/tiny8x16.bdf";
const std::string kTinyFull = MASKBURN_SOURCE_DIR "/tests/fixtures/tiny16x16.bdf";

// Glyph bytes as romfont gives them: half-width glyphs use the first 16, the rest stay zero.
using Bitmap = std::array<std::uint8_t, 32>;
struct Glyphs {  // bitmaps by half-width code and by full-width UTF-16 key
  std::map<unsigned, Bitmap> half, full;
  std::size_t fullStored = 0;  // full-width characters with a key (more than keys where some share one)
};
struct RomFiles {
  std::string index, data;
};

// The files the converter executable writes in a fresh folder when run with the given shell words.
RomFiles convert(const std::string& arguments, int expectedStatus = 0) {
  TempDir dir;
  EXPECT_EQ(runIn(dir.path, "'" MASKBURN_EXECUTABLE "' " + arguments + " >/dev/null"), expectedStatus) << arguments;
  return {readFile(dir.file("FONTINDEX.BIN")), readFile(dir.file("FONTDATA.BIN"))};
}
RomFiles convertPair(const std::string& half, const std::string& full) {
  return convert("-8x16 '" + half + "' -16x16 '" + full + "'");
}
RomFiles tinyRom() { return convertPair(kTinyHalf, kTinyFull); }

// The first 16 rows of each character of a BDF pair (zero rows after its last), full-width characters under
// their UTF-16 keys in the given code set (a later character taking a shared key), read here independently of
// the tool; no two half-width characters may share a code. A Unicode font's rows of two digits fill the left.
Glyphs bdfGlyphs(const std::string& halfPath, const std::string& fullPath, FullWidthCodes codes = FullWidthCodes::JisX0208) {
  Glyphs glyphs;
  for (const bool full : {false, true}) {
    std::ifstream in(full ? fullPath : halfPath);
    Bitmap* bitmap = nullptr;
    std::size_t row = 16, characters = 0;
    long code = 0;
    for (std::string word; in >> word; in.ignore(1 << 20, '\n')) {
      if (word == "ENCODING" && in >> code) {
        const std::uint16_t key = fullWidthKey(static_cast<std::int32_t>(code), codes).key;
        bitmap = !full ? &glyphs.half[static_cast<unsigned>(code)] : key != 0 ? &glyphs.full[key] : nullptr;
        if (bitmap != nullptr) *bitmap = {}, ++characters;
      } else if (word == "BITMAP" || word == "ENDCHAR") {
        row = word == "BITMAP" && bitmap != nullptr ? 0 : 16;
      } else if (row < 16) {
        const unsigned long value = std::stoul(word, nullptr, 16) << (full && codes == FullWidthCodes::Unicode && word.size() <= 2 ? 8 : 0);
        if (full) (*bitmap)[2 * row] = static_cast<std::uint8_t>(value >> 8);
        (*bitmap)[full ? 2 * row + 1 : row] = static_cast<std::uint8_t>(value);
        ++row;
      }
    }
    if (full) glyphs.fullStored = characters;
    EXPECT_TRUE(full || glyphs.half.size() == characters) << "half-width codes shared";
  }
  return glyphs;
}

// The two romfont sources over a ROM: `memory` over exact-size copies of the files, and `callback` through a
// read function that counts its calls, fails the failAtCall-th (from 1; 0: never) and fails the test when
// asked for bytes outside the files. It scribbles on the buffer first, so handing out what a failed read
// left there shows.
struct Rom {
  explicit Rom(const RomFiles& romFiles)
      : files(romFiles), index(files.index.begin(), files.index.end()), data(files.data.begin(), files.data.end()),
        init(romfont_init_memory(&memory, index.data(), size(index), data.data(), size(data))) {
    romfont_init_callback(&callback, read, this, size(index), size(data));
  }
  Rom(const Rom&) = delete;  // callback points at this object
  static std::uint32_t size(const std::vector<std::uint8_t>& bytes) { return static_cast<std::uint32_t>(bytes.size()); }
  static std::uint8_t read(void* context, std::uint8_t file, std::uint32_t offset, std::uint8_t* buffer,
                           std::uint16_t length) {
    Rom& rom = *static_cast<Rom*>(context);
    std::memset(buffer, 0xA5, length);
    const std::string& bytes = file == ROMFONT_DATA_FILE ? rom.files.data : rom.files.index;
    const bool inside = file <= ROMFONT_DATA_FILE && std::size_t{offset} + length <= bytes.size();
    EXPECT_TRUE(inside) << length << " bytes at " << offset << " of file " << int{file};
    if (++rom.calls == rom.failAtCall || !inside) return 0;
    std::memcpy(buffer, bytes.data() + offset, length);
    return 1;
  }
  RomFiles files;
  std::vector<std::uint8_t> index, data;  // exactly as large as the files
  romfont memory{}, callback{};
  romfont_result init;  // of memory
  int calls = 0, failAtCall = 0;
};

using Expected = std::pair<romfont_result, Bitmap>;  // the result, and the glyph bytes (zero unless found)

// Every half-width code and the given keys, looked up from memory and through the read function, against
// expect; the read function is called at most twice per half-width lookup and three times per full-width one.
::testing::AssertionResult sweep(const RomFiles& files, const std::vector<unsigned>& keys,
                                 const std::function<Expected(bool full, unsigned code)>& expect) {
  Rom rom(files);
  for (const romfont* font : {&rom.memory, &rom.callback}) {
    for (unsigned code = 0; code < 256 + keys.size(); ++code) {
      const bool full = code >= 256;
      const unsigned key = full ? keys[code - 256] : code;
      Bitmap glyph{};
      std::memset(glyph.data(), 0x5A, full ? 32 : 16);
      const int before = rom.calls;
      const romfont_result result = full ? romfont_full_glyph(font, static_cast<std::uint16_t>(key), glyph.data())
                                         : romfont_half_glyph(font, static_cast<std::uint8_t>(key), glyph.data());
      if (const auto [expectedResult, expectedGlyph] = expect(full, key);
          result != expectedResult || glyph != expectedGlyph || rom.calls - before > (full ? 3 : 2)) {
        return ::testing::AssertionFailure() << (font == &rom.memory ? "memory, " : "read function, ") << (full ? "key " : "code ")
               << key << ": " << romfont_result_name(result) << ", " << rom.calls - before << " reads";
      }
    }
  }
  return ::testing::AssertionSuccess();
}

std::vector<unsigned> allKeys() {
  std::vector<unsigned> keys(65536);
  std::iota(keys.begin(), keys.end(), 0u);
  return keys;
}

// What a lookup must give for each code or key: the glyph of the BDF files, or none.
std::function<Expected(bool, unsigned)> fromBdf(const Glyphs& bdf) {
  return [&bdf](bool isFull, unsigned code) {
    const auto found = (isFull ? bdf.full : bdf.half).find(code);
    return found == (isFull ? bdf.full : bdf.half).end() ? Expected{ROMFONT_NO_GLYPH, {}} : Expected{ROMFONT_OK, found->second};
  };
}

// Every glyph of the BDF files is found under its code or key with its exact bitmap, and nothing else; the
// files are exactly as large as the counts say.
TEST(FontPairs, EveryGlyphIsFoundThroughTheWrittenFilesAndNothingElse) {
  using enum FullWidthCodes;
  for (const auto& [half, full, codes] : {std::tuple(kTinyHalf, kTinyFull, JisX0208),
                                          {realFontPath("shnm8x16r"), realFontPath("shnmk16"), JisX0208},
                                          {realFontPath("shnm8x16rb"), realFontPath("shnmk16b"), JisX0208},
                                          {realFontPath("shnm8x16a"), realFontPath("shnmk16min"), JisX0208},
                                          {realFontPath("shnm8x16ab"), realFontPath("shnmk16minb"), JisX0208},
                                          {realFontPath("shnm8x16r"), realFontPath("f16"), Unicode},
                                          {realFontPath("shnm8x16r"), realFontPath("unifont"), Unicode}}) {
    if (half.empty() || full.empty()) continue;
    SCOPED_TRACE(full);
    const RomFiles rom = convertPair(half, full);
    const Glyphs bdf = bdfGlyphs(half, full, codes);
    EXPECT_TRUE(sweep(rom, allKeys(), fromBdf(bdf)));
    EXPECT_EQ(bdf.full.size(), bdf.fullStored) << "full-width keys shared";
    std::set<unsigned> blocks;  // one block per high byte of the keys; full-width slots follow the half-width
    for (const auto& glyph : bdf.full) blocks.insert(glyph.first >> 8);
    EXPECT_EQ(Rom(rom).init, ROMFONT_OK);
    EXPECT_EQ(rom.index.size(), 512 * (1 + blocks.size()));
    EXPECT_EQ(rom.data.size(), 32 * ((bdf.half.size() + 1) / 2 + bdf.full.size() + 1));
  }
  // The italic one is wider than 8 dots: refused (nothing read, the files still written).
  if (const std::string italic = realFontPath("shnm8x16ri"); !italic.empty()) {
    EXPECT_EQ(convert("-8x16 '" + italic + "'", 1).index, std::string(512, '\0'));
  }
}

// A JIS X 0213 plane 1 font (Debian's jiskan16-2004-1): 8,746 of its 8,797 characters stored, on 8,744 keys
// (two share a key with a Windows mapping, U+2225 and U+FF0D: the later one wins), each found under its key.
TEST(FontPairs, JisX0213PlaneOneFontIsKeyedAsOnWindowsAndThroughShiftJis2004) {
  const std::string half = realFontPath("shnm8x16r"), full = realFontPath("jiskan16-2004-1");
  if (half.empty() || full.empty()) return;
  const Glyphs bdf = bdfGlyphs(half, full, FullWidthCodes::JisX0213Plane1);
  EXPECT_EQ(std::pair(bdf.fullStored, bdf.full.size()), std::pair(std::size_t{8746}, std::size_t{8744}));
  EXPECT_TRUE(sweep(convertPair(half, full), allKeys(), fromBdf(bdf)));
}

// The file format's lookup: the index byte of a half-width code is its glyph number (from 1); a key's high
// byte picks a block byte at 256 + high, whose entry (at 512 x block + 2 x low, little-endian) is its slot
// of 32 bytes. ROMFONT_BAD_IMAGE wherever a byte it needs lies outside the files.
Expected reference(const RomFiles& rom, bool full, unsigned code) {
  const auto byteAt = [&index = rom.index](std::size_t at) {  // -1 past the end of the index
    return at < index.size() ? static_cast<std::uint8_t>(index[at]) : -1;
  };
  int number = byteAt(full ? 256 + (code >> 8) : code);
  if (full && number > 0) {
    const std::size_t entry = 512 * static_cast<std::size_t>(number) + 2 * (code & 0xFF);
    number = byteAt(entry + 1) < 0 ? -1 : byteAt(entry) | byteAt(entry + 1) << 8;
  }
  const std::size_t size = full ? 32 : 16, offset = full ? 32u * number : 16u * (number - 1u);
  if (number <= 0 || offset + size > rom.data.size()) return {number == 0 ? ROMFONT_NO_GLYPH : ROMFONT_BAD_IMAGE, {}};
  Expected found{ROMFONT_OK, {}};
  std::copy_n(rom.data.begin() + static_cast<std::ptrdiff_t>(offset), size, found.second.begin());
  return found;
}

::testing::AssertionResult sweepAgainstReference(const RomFiles& files, const std::vector<unsigned>& keys) {
  return sweep(files, keys, [&files](bool full, unsigned code) { return reference(files, full, code); });
}

// Damaged images give what the reference lookup gives on them: the tiny ROM with either file cut at every
// length; random bytes; and the largest numbers, which must reach exactly to the end of the files.
TEST(RomfontDamage, CutRandomAndLargestImagesGiveTheReferenceResults) {
  const RomFiles tiny = tinyRom();
  std::vector<unsigned> keys{0x0000, 0x2000, 0xFFFF};  // every key of the tiny ROM's blocks, and a few others
  for (const unsigned key : allKeys()) {
    if (tiny.index[256 + (key >> 8)] != 0) keys.push_back(key);
  }
  for (std::size_t length = 0; length <= tiny.data.size() || length <= tiny.index.size(); ++length) {
    ASSERT_TRUE(sweepAgainstReference({tiny.index.substr(0, length), tiny.data}, keys)) << "index cut " << length;
    ASSERT_TRUE(sweepAgainstReference({tiny.index, tiny.data.substr(0, length)}, keys)) << "data cut " << length;
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
    ASSERT_TRUE(sweepAgainstReference(rom, allKeys())) << "random round " << round;
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
    EXPECT_TRUE(sweepAgainstReference(files, {0x0000, 0xABFE, 0xABFF})) << files.index.size() << " " << files.data.size();
  }
}

// Failed reads (each of the two or three a lookup makes), missing pointers, and index sizes.
TEST(RomfontErrors, FailedReadsMissingPointersAndIndexSizesNoRomHas) {
  Rom rom(tinyRom());
  Bitmap glyph{};
  for (int failing = 1; failing <= 5; ++failing) {  // 1-2: the half-width 'A', 3-5: the full-width U+3042
    rom.calls = 0;
    rom.failAtCall = failing > 2 ? failing - 2 : failing;
    glyph.fill(0x5A);
    EXPECT_EQ(failing > 2 ? romfont_full_glyph(&rom.callback, 0x3042, glyph.data())
                          : romfont_half_glyph(&rom.callback, 0x41, glyph.data()), ROMFONT_READ_ERROR) << failing;
    EXPECT_EQ(std::count(glyph.begin(), glyph.end(), 0), failing > 2 ? 32 : 16) << failing;
    EXPECT_EQ(rom.calls, rom.failAtCall) << "no read after the failed one";
  }
  romfont_char ch;
  romfont font;
  EXPECT_EQ(romfont_half_glyph(nullptr, 0x41, glyph.data()), ROMFONT_BAD_ARGUMENT);
  EXPECT_EQ(romfont_half_glyph(&rom.memory, 0x41, nullptr), ROMFONT_BAD_ARGUMENT);
  EXPECT_EQ(romfont_full_glyph(nullptr, 0x3042, glyph.data()), ROMFONT_BAD_ARGUMENT);
  EXPECT_EQ(romfont_full_glyph(&rom.memory, 0x3042, nullptr), ROMFONT_BAD_ARGUMENT);
  EXPECT_EQ(romfont_next_char(nullptr, &ch), ROMFONT_BAD_ARGUMENT);
  EXPECT_EQ(romfont_char_glyph(&rom.memory, 0x41, nullptr), ROMFONT_BAD_ARGUMENT);
  EXPECT_EQ(romfont_init_memory(nullptr, nullptr, 0, nullptr, 0), ROMFONT_BAD_ARGUMENT);
  EXPECT_EQ(romfont_init_callback(&font, nullptr, nullptr, 512, 64), ROMFONT_BAD_ARGUMENT);
  // A memory ROM whose data pointer is missing although a size is given: refused at init and at lookup.
  EXPECT_EQ(romfont_init_memory(&font, rom.index.data(), 512, nullptr, 64), ROMFONT_BAD_ARGUMENT);
  EXPECT_EQ(romfont_half_glyph(&font, 0x41, glyph.data()), ROMFONT_BAD_ARGUMENT);
  // Index sizes: 512 bytes times 1 to 256 and no others (lookups in other images are swept above).
  for (const auto& [size, result] : {std::pair(512u, ROMFONT_OK), {1024u, ROMFONT_OK}, {512u * 256u, ROMFONT_OK},
                                     {0u, ROMFONT_BAD_IMAGE}, {256u, ROMFONT_BAD_IMAGE}, {511u, ROMFONT_BAD_IMAGE},
                                     {513u, ROMFONT_BAD_IMAGE}, {1000u, ROMFONT_BAD_IMAGE}, {512u * 257u, ROMFONT_BAD_IMAGE}}) {
    EXPECT_EQ(Rom({std::string(size, '\0'), ""}).init, result) << size;
  }
}

// The walker as firmware calls it (its cases are texts drawn by maskburn-view in tests/driver/runs.txt): up to a
// NUL, through the read function, a failed read reported while the walk goes on, the end staying the end; and
// characters looked up alone.
TEST(RomfontWalk, UpToANulFailedReadsAndSingleCharacters) {
  Rom rom(tinyRom());
  const Glyphs glyphs = bdfGlyphs(kTinyHalf, kTinyFull);
  romfont_walker walker;
  romfont_char ch;
  rom.failAtCall = rom.calls + 2;  // the second read: the half-width glyph of '0'
  romfont_walk(&walker, &rom.callback, "0\xE3\x81\x82\0A", ROMFONT_NUL_TERMINATED);
  for (const auto& [result, codePoint, width, offset] : {std::tuple(ROMFONT_READ_ERROR, 0x30u, 8, 0u),
                                                         {ROMFONT_OK, 0x3042u, 16, 1u}, {ROMFONT_END, 0u, 0, 4u}, {ROMFONT_END, 0u, 0, 4u}}) {
    std::memset(&ch, 0x5A, sizeof ch);
    const romfont_result got = romfont_next_char(&walker, &ch);
    EXPECT_EQ(std::tuple(got, ch.code_point, int{ch.width}, ch.offset), std::tuple(result, codePoint, width, offset));
    EXPECT_EQ(std::to_array(ch.glyph), result == ROMFONT_OK ? glyphs.full.at(0x3042) : Bitmap{});
  }
  EXPECT_EQ(romfont_char_glyph(&rom.memory, 0xFF71, &ch), ROMFONT_OK);  // half-width katakana under 0xB1
  EXPECT_EQ(std::pair(int{ch.width}, std::to_array(ch.glyph)), std::pair(8, glyphs.half.at(0xB1)));
  std::memset(&ch, 0x5A, sizeof ch);
  EXPECT_EQ(romfont_char_glyph(&rom.memory, 0x1F600, &ch), ROMFONT_NO_GLYPH);  // beyond the BMP: no key
  EXPECT_EQ(std::to_array(ch.glyph), Bitmap{});
}

}  // namespace
