// romfont lookups of every half-width code and many or all full-width keys, from memory (exact-size copies, so
// AddressSanitizer sees a read past their end) and through a read function that may fail, against a lookup written
// here from the file format that never reads outside the files: on font pairs converted by the real executable (the
// committed tiny pair, every Shinonome pair Debian ships that passes the size checks, a JIS X 0213 plane 1 font, and
// the Unicode fonts efont f16 and GNU Unifont),
// where that lookup must find the BDF bitmaps read here, the file sizes checked too; and on damaged images (cut at
// every length, random bytes, the largest numbers), init's verdict on each index size among them. Also the UTF-8
// walker on a table of texts over a ROM whose glyphs name themselves, failed reads in a walk, and missing pointers.
// And romfont_image: the tiny pair burned as one image, opened from a memory with its header damaged field by field,
// looked up through, and checked; and the compact index of version 2 against version 1, code for code.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <fstream>
#include <map>
#include <random>
#include <vector>

#include "font/jis_mapping.h"
#include "romfont.h"
#include "romfont.h"  // twice: the include guard must hold
#include "romfont_image.h"
#include "romfont_text.h"
#include "support/support.h"

using Bitmap = std::array<std::uint8_t, 32>;         // glyph bytes as romfont gives them (half-width: the first 16)
using Expected = std::pair<romfont_result, Bitmap>;  // a lookup's result and glyph (zero unless found)
using Glyphs = std::array<std::map<unsigned, Bitmap>, 2>;  // bitmaps by half-width code, and by full-width key
struct RomFiles { std::string index, data; };
const std::string kTinyHalf = MASKBURN_SOURCE_DIR "/tests/fixtures/tiny8x16.bdf", kTinyFull = MASKBURN_SOURCE_DIR "/tests/fixtures/tiny16x16.bdf";

// The files the converter executable writes in a fresh folder for a half-width font and a full-width one (if any).
RomFiles convert(const std::string& half, const std::string& full, int status = 0) {
  TempDir dir;
  EXPECT_EQ(runIn(dir.path, "'" MASKBURN_EXECUTABLE "' -8x16 '" + half + (full.empty() ? "'" : "' -16x16 '" + full + "'") + " >/dev/null"), status) << half;
  return {readFile(dir.file("FONTINDEX.BIN")), readFile(dir.file("FONTDATA.BIN"))};
}

// The first 16 rows after each BITMAP of a BDF font (zero rows after its last) under the character's code, or for a
// full-width font its UTF-16 key in the given code set (a later character taking a shared key), read here
// independently of the tool; stored counts the characters with a code or key.
void readBdf(const std::string& path, bool full, FullWidthCodes codes, Glyphs& glyphs, std::size_t& stored) {
  std::ifstream in(path);
  long code = 0;
  for (std::string word; in >> word;) {
    if (word == "ENCODING") in >> code;
    if (word != "BITMAP") continue;
    Bitmap bitmap{};
    for (std::size_t row = 0; row < 16 && in >> word && word != "ENDCHAR"; ++row) {  // a row's bytes, the left one first
      // A Unicode font's narrow rows (two digits) fill the left byte, as BDF rows fill from the left.
      const unsigned long value = std::stoul(word, nullptr, 16) << (full && codes == FullWidthCodes::Unicode && word.size() <= 2 ? 8 : 0);
      for (std::size_t byte = 0; byte <= full; ++byte) bitmap[(full + 1) * row + byte] = static_cast<std::uint8_t>(value >> 8 * (full - byte));
    }
    const unsigned key = full ? fullWidthKey(static_cast<std::int32_t>(code), codes).key : static_cast<unsigned>(code);
    if (!full || key != 0) glyphs[full][key] = bitmap, ++stored;
  }
}

// The two romfont sources over a ROM: `memory` over exact-size copies of the files, and `callback` through a read
// function that counts its calls and fails the failAtCall-th (from 1; 0: never) and any asking for bytes outside the
// files (so that no lookup result can be right). It scribbles on the buffer first, so handing out what a failed read
// left there shows.
struct Rom {
  explicit Rom(const RomFiles& files) : index(files.index.begin(), files.index.end()), data(files.data.begin(), files.data.end()),
      init(romfont_init_memory(&memory, index.data(), static_cast<std::uint32_t>(index.size()), data.data(), static_cast<std::uint32_t>(data.size()))) {
    romfont_init_callback(&callback, read, this, memory.index_size, memory.data_size);
  }
  static std::uint8_t read(void* context, std::uint8_t file, std::uint32_t offset, std::uint8_t* buffer, std::uint16_t length) {
    Rom& rom = *static_cast<Rom*>(context);
    const std::vector<std::uint8_t>& bytes = file == ROMFONT_DATA_FILE ? rom.data : rom.index;
    const bool inside = file <= ROMFONT_DATA_FILE && std::size_t{offset} + length <= bytes.size();
    std::memset(buffer, 0xA5, length);  // what a failed read leaves
    return ++rom.calls != rom.failAtCall && inside && std::memcpy(buffer, bytes.data() + offset, length);
  }
  std::vector<std::uint8_t> index, data;  // exactly as large as the files
  romfont memory{}, callback{};
  romfont_result init;  // of memory (declared after it: set up in that order)
  int calls = 0, failAtCall = 0;
};

// The file format's lookup: the index byte of a half-width code is its glyph number (from 1); a key's high byte
// picks a block byte at 256 + high, whose entry (at 512 x block + 2 x low, little-endian) is its slot of 32 bytes.
// ROMFONT_BAD_IMAGE wherever a byte it needs lies outside the files.
Expected reference(const RomFiles& rom, bool full, unsigned code) {
  const auto byteAt = [&index = rom.index](std::size_t at) { return at < index.size() ? static_cast<std::uint8_t>(index[at]) : -1; };
  int number = byteAt(full ? 256 + (code >> 8) : code);
  const std::size_t entry = 512u * static_cast<unsigned>(number) + 2 * (code & 0xFF);
  if (full && number > 0) number = byteAt(entry + 1) < 0 ? -1 : byteAt(entry) | byteAt(entry + 1) << 8;
  const std::size_t size = full ? 32 : 16, offset = full ? 32u * number : 16u * (number - 1u);
  if (number <= 0 || offset + size > rom.data.size()) return {number == 0 ? ROMFONT_NO_GLYPH : ROMFONT_BAD_IMAGE, {}};
  Expected found{ROMFONT_OK, {}};
  return std::copy_n(rom.data.begin() + static_cast<std::ptrdiff_t>(offset), size, found.second.begin()), found;
}

// Every half-width code and the given keys (none given: all), looked up from memory and through the read function,
// against the BDF bitmaps given or else the reference lookup, with at most two reads for a half-width glyph and three
// for a full-width one; and init's verdict on the index size (512 bytes times 1 to 256).
::testing::AssertionResult sweep(const RomFiles& files, std::vector<unsigned> keys = {}, const Glyphs* bdf = nullptr) {
  for (unsigned key = 0; key < 65536 && keys.size() == key; ++key) keys.push_back(key);  // none given: all
  Rom rom(files);
  if (const std::size_t size = files.index.size(); rom.init != (size % 512 || size == 0 || size > 512 * 256 ? ROMFONT_BAD_IMAGE : ROMFONT_OK))
    return ::testing::AssertionFailure() << "init: " << romfont_result_name(rom.init);
  for (const romfont* font : {&rom.memory, &rom.callback}) {
    for (unsigned code = 0, full = 0; code < 256 + keys.size(); full = ++code >= 256) {
      const unsigned key = full ? keys[code - 256] : code;
      const auto found = bdf ? (*bdf)[full].find(key) : std::map<unsigned, Bitmap>::const_iterator{};
      Expected expected = !bdf ? reference(files, full, key) : found == (*bdf)[full].end() ? Expected{ROMFONT_NO_GLYPH, {}} : Expected{ROMFONT_OK, found->second};
      if (!full) std::fill(expected.second.begin() + 16, expected.second.end(), 0x5A);  // a half-width lookup leaves the rest alone
      Expected got{ROMFONT_OK, {}};
      got.second.fill(0x5A);
      const int before = rom.calls;
      got.first = full ? romfont_full_glyph(font, static_cast<std::uint16_t>(key), got.second.data()) : romfont_half_glyph(font, static_cast<std::uint8_t>(key), got.second.data());
      if (got != expected || rom.calls - before > (full ? 3 : 2))
        return ::testing::AssertionFailure() << (font == &rom.memory ? "memory, " : "read function, ") << (full ? "key " : "code ") << key << ": " << romfont_result_name(got.first);
    }
  }
  return ::testing::AssertionSuccess();
}

// A ROM whose glyphs name themselves: each 16 bytes of its data file begin with their offset (4 bytes, little-endian).
// Half-width code c has glyph c; key k has slot k in block k >> 8 (none for keys below 0x100): in the blocks, the
// entry at offset `at` is that of key (at / 512, at % 512 / 2). Its numbers are the largest: block 255 is the last
// 512 bytes of the largest index, slot 0xFFFF the last 32 bytes of the largest data file.
RomFiles labelledRom() {
  RomFiles rom{std::string(512 * 256, '\0'), std::string(32 * 65536, '\0')};
  for (unsigned at = 0; at < rom.index.size(); ++at) rom.index[at] = static_cast<char>(at < 512 ? at % 256 : at % 2 ? at / 512 : at % 512 / 2);
  for (std::size_t at = 0; at < rom.data.size(); ++at) rom.data[at] = static_cast<char>(at % 16 < 4 ? (at - at % 16) >> 8 * (at % 16) : 0);
  return rom;
}

// A walk over the labelled ROM, a character at a time: "OFFSET U+CODE half CODE" or "... full KEY", the table and
// the code or key whose glyph it gave (width 8 or 16); "... half|full RESULT" when it gave none; "OFFSET bad N" for
// malformed UTF-8 taking N bytes (U+FFFD, width 16); "OFFSET end", which stays the end. A "?" marks fields that
// disagree: a glyph that is not the named one (or not zero), an offset that is not the last one plus its length.
std::string walked(const RomFiles& labelled, const romfont* font, const char* text, std::uint32_t length) {
  const auto hex = [](unsigned value, int digits) { char cell[9]; return std::string(cell, std::snprintf(cell, sizeof cell, "%0*X", digits, value)); };
  romfont_walker walker;
  romfont_walk(&walker, font, text, length);
  std::string out;
  for (std::uint32_t next = 0; out.size() < 4000; out += ", ") {  // a walk that does not end is cut
    romfont_char ch;
    std::memset(&ch, 0x5A, sizeof ch);
    const romfont_result result = romfont_next_char(&walker, &ch);
    const std::uint32_t at = ch.glyph[0] | ch.glyph[1] << 8 | ch.glyph[2] << 16 | std::uint32_t{ch.glyph[3]} << 24;  // the glyph's place, as it says
    const unsigned code = ch.width == 8 ? at / 16 + 1 : at / 32;  // the code or key it is the glyph of
    const bool right = ch.offset == next && std::to_array(ch.glyph) == (result == ROMFONT_OK ? reference(labelled, ch.width != 8, code).second : Bitmap{});
    out += std::to_string(ch.offset);
    if (result == ROMFONT_END)
      return out + " end" + (right && (ch.code_point | ch.length | ch.width) == 0 && romfont_next_char(&walker, &ch) == ROMFONT_END && ch.offset == next ? "" : "?");
    const bool bad = result == ROMFONT_BAD_UTF8 && ch.code_point == ROMFONT_REPLACEMENT_CHARACTER && ch.width == 16;
    out += (bad ? " bad " + std::to_string(ch.length) : " U+" + hex(ch.code_point, 4) + (ch.width == 8 ? " half " : ch.width == 16 ? " full " : " width? ") +
                                                            (result == ROMFONT_OK ? hex(code, ch.width / 4) : romfont_result_name(result))) + (right ? "" : "?");
    next = ch.offset + ch.length;
  }
  return out + "...";
}

// Every glyph of the BDF files is found under its code or key with its exact bitmap, and nothing else; the files are
// exactly as large as the counts say. No two characters share a code or key but in the JIS X 0213 font (Debian's
// jiskan16-2004-1): 8,746 of its 8,797 characters are stored, on 8,744 keys (U+2225 and U+FF0D have two each, one
// of them by a Windows mapping; the later one wins). The italic Shinonome font is wider than 8 dots: refused (nothing
// read, the files still written).
TEST(FontPairs, EveryGlyphIsFoundThroughTheWrittenFilesAndNothingElse) {
  using enum FullWidthCodes;
  for (const auto& [half, full, codes, stored] : {std::tuple(kTinyHalf, kTinyFull, JisX0208, std::size_t{0}),
                                                  {realFontPath("shnm8x16r"), realFontPath("shnmk16"), JisX0208, 0}, {realFontPath("shnm8x16rb"), realFontPath("shnmk16b"), JisX0208, 0},
                                                  {realFontPath("shnm8x16a"), realFontPath("shnmk16min"), JisX0208, 0}, {realFontPath("shnm8x16ab"), realFontPath("shnmk16minb"), JisX0208, 0},
                                                  {realFontPath("shnm8x16r"), realFontPath("jiskan16-2004-1"), JisX0213Plane1, 8746},
                                                  {realFontPath("shnm8x16r"), realFontPath("f16"), Unicode, 0}, {realFontPath("shnm8x16r"), realFontPath("unifont"), Unicode, 0}}) {
    if (half.empty() || full.empty()) continue;
    const RomFiles rom = convert(half, full);
    Glyphs bdf;
    std::size_t halfStored = 0, fullStored = 0, blocks = 1;  // the tables, then a block per high byte of the keys
    readBdf(half, false, codes, bdf, halfStored), readBdf(full, true, codes, bdf, fullStored);
    for (unsigned high = 0; high < 256; ++high) blocks += bdf[1].lower_bound(high << 8) != bdf[1].lower_bound((high + 1) << 8);
    EXPECT_TRUE(sweep(rom, {}, &bdf)) << full;
    EXPECT_EQ(std::tuple(rom.index.size(), rom.data.size(), halfStored, fullStored, bdf[1].size() + (stored ? 2 : 0)),  // full-width slots follow the half-width glyphs, two to a slot
              std::tuple(512 * blocks, 32 * ((bdf[0].size() + 1) / 2 + bdf[1].size() + 1), bdf[0].size(), stored ? stored : bdf[1].size(), fullStored)) << full;
  }
  EXPECT_TRUE(realFontPath("shnm8x16ri").empty() || convert(realFontPath("shnm8x16ri"), "", 1).index == std::string(512, '\0'));
}

// Damaged images give what the reference lookup gives on them: the tiny ROM with either file cut at every length;
// random bytes; and the labelled ROM, whose largest numbers must reach exactly to the end of the files, whole, with
// either file one byte short, and with an index a block too long.
TEST(RomfontDamage, CutRandomAndLargestImagesGiveTheReferenceResults) {
  const RomFiles tiny = convert(kTinyHalf, kTinyFull), labelled = labelledRom();
  std::vector<unsigned> keys{0x0000, 0x2000, 0xFFFF};  // every key of the tiny ROM's blocks, and a few others
  for (unsigned key = 0; key < 65536; ++key) if (tiny.index[256 + (key >> 8)] != 0) keys.push_back(key);
  for (std::size_t length = 0; length <= tiny.data.size() || length <= tiny.index.size(); ++length) {
    ASSERT_TRUE(sweep({tiny.index.substr(0, length), tiny.data}, keys)) << "index cut " << length;
    ASSERT_TRUE(sweep({tiny.index, tiny.data.substr(0, length)}, keys)) << "data cut " << length;
  }
  std::mt19937 random(20240613);
  for (int round = 0; round < 24; ++round) {
    // Index sizes of a ROM and others, data from empty to a few kilobytes; in every other round, small block numbers
    // that often lead inside the index.
    RomFiles rom{std::string(round % 3 ? 512 * (1 + random() % 8) : random() % 256 * 13, '\0'), std::string(random() % 256 * 23, '\0')};
    for (char& value : rom.index) value = static_cast<char>(random() % 4 ? random() : 0);
    for (char& value : rom.data) value = static_cast<char>(random());
    for (std::size_t at = 256; round % 2 == 0 && at < std::min<std::size_t>(512, rom.index.size()); ++at) rom.index[at] = static_cast<char>(random() % 9);
    ASSERT_TRUE(sweep(rom)) << "random round " << round;
  }
  for (const RomFiles& files : {labelled, RomFiles{labelled.index, labelled.data.substr(0, labelled.data.size() - 1)},
                                RomFiles{labelled.index.substr(0, labelled.index.size() - 1), labelled.data}, RomFiles{labelled.index + std::string(512, '\0'), labelled.data}})
    EXPECT_TRUE(sweep(files)) << files.index.size() << " " << files.data.size();
}

// Texts for the walker, each with the characters walked() writes for it; romfont_text's decoders must agree too.
const std::pair<std::string_view, std::string_view> kWalks[] = {
    // ASCII; U+FF61-FF9F (half-width katakana) under JIS X 0201 codes 0xA1-0xDF
    {"0A~ \xEF\xBD\xA1\xEF\xBD\xB1\xEF\xBE\x9F", "0 U+0030 half 30, 1 U+0041 half 41, 2 U+007E half 7E, 3 U+0020 half 20, 4 U+FF61 half A1, 7 U+FF71 half B1, 10 U+FF9F half DF, 13 end"},
    // full-width, also just outside the half-width ranges (no glyph has a key below 0x100 here)
    {"\xE3\x81\x82\xE4\xBA\x9C\x1F\x7F\xEF\xBD\xA0\xEF\xBE\xA0\xEF\xBF\xBF", "0 U+3042 full 3042, 3 U+4E9C full 4E9C, 6 U+001F full no glyph, 7 U+007F full no glyph, 8 U+FF60 full FF60, 11 U+FFA0 full FFA0, 14 U+FFFF full FFFF, 17 end"},
    // the edges of the two-, three- and four-byte forms; beyond the BMP no ROM has a glyph
    {"\xC2\x80\xDF\xBF\xE0\xA0\x80\xED\x9F\xBF\xEF\xBF\xBD\xF0\x90\x80\x80\xF4\x8F\xBF\xBF", "0 U+0080 full no glyph, 2 U+07FF full 07FF, 4 U+0800 full 0800, 7 U+D7FF full D7FF, 10 U+FFFD full FFFD, 13 U+10000 full no glyph, 17 U+10FFFF full no glyph, 21 end"},
    // a NUL is a character when the length is given
    {std::string_view("A\0B", 3), "0 U+0041 half 41, 1 U+0000 full no glyph, 2 U+0042 half 42, 3 end"},
    // overlong forms of two, three and four bytes: each byte malformed
    {"\xC0\x80\xC1\xBF\xE0\x9F\xBF\xF0\x8F\xBF\xBF" "A", "0 bad 1, 1 bad 1, 2 bad 1, 3 bad 1, 4 bad 1, 5 bad 1, 6 bad 1, 7 bad 1, 8 bad 1, 9 bad 1, 10 bad 1, 11 U+0041 half 41, 12 end"},
    // surrogates, above U+10FFFF, bytes that never start a character
    {"\xED\xA0\x80\xED\xBF\xBF\xF4\x90\x80\x80\xF5\x80\xF8\xFE\xFF", "0 bad 1, 1 bad 1, 2 bad 1, 3 bad 1, 4 bad 1, 5 bad 1, 6 bad 1, 7 bad 1, 8 bad 1, 9 bad 1, 10 bad 1, 11 bad 1, 12 bad 1, 13 bad 1, 14 bad 1, 15 end"},
    // sequences cut by the next character and by the end, stray continuation bytes: the longest start taken
    {"\xE3\x81" "0\xF0\x9F\x98" "A\x80\xBF\xC3\xE3\x81\x82\xE3\x81", "0 bad 2, 2 U+0030 half 30, 3 bad 3, 6 U+0041 half 41, 7 bad 1, 8 bad 1, 9 bad 1, 10 U+3042 full 3042, 13 bad 2, 15 end"}};

// The walker, a line per text: the text, then each character as walked() writes it, walking from memory with the
// text's length (from an exact-size copy). Then each read of a half-width glyph (two) and a full-width one (three)
// failing in a walk through the read function up to a NUL: no read after it, the walk goes on; and missing pointers.
TEST(RomfontWalk, EachCharacterFromItsTableOrMalformedAndErrors) {
  const RomFiles labelled = labelledRom();
  Rom rom(labelled);
  for (const auto& [text, expected] : kWalks)
    EXPECT_EQ(walked(labelled, &rom.memory, std::vector<char>(text.begin(), text.end()).data(), static_cast<std::uint32_t>(text.size())), expected);
  for (int failing = 1; failing <= 5; ++failing) {
    rom.calls = 0, rom.failAtCall = failing;
    EXPECT_EQ(walked(labelled, &rom.callback, "0\xE3\x81\x82\0A", ROMFONT_NUL_TERMINATED),
              failing <= 2 ? "0 U+0030 half read error, 1 U+3042 full 3042, 4 end" : "0 U+0030 half 30, 1 U+3042 full read error, 4 end");
    EXPECT_EQ(rom.calls, failing <= 2 ? failing + 3 : failing);
  }
  romfont_char ch;
  romfont& font = rom.callback;  // set up anew below
  // the last two: a memory ROM whose data pointer is missing although a size is given, at init and at lookup
  EXPECT_EQ(std::vector<romfont_result>({romfont_half_glyph(nullptr, 0x41, ch.glyph), romfont_half_glyph(&rom.memory, 0x41, nullptr), romfont_next_char(nullptr, &ch),
                                         romfont_full_glyph(nullptr, 0x3042, ch.glyph), romfont_full_glyph(&rom.memory, 0x3042, nullptr), romfont_char_glyph(&rom.memory, 0x41, nullptr),
                                         romfont_init_memory(nullptr, nullptr, 0, nullptr, 0), romfont_init_callback(&font, nullptr, nullptr, 512, 64),
                                         romfont_init_memory(&font, rom.index.data(), 512, nullptr, 4096), romfont_half_glyph(&font, 0x41, ch.glyph)}),
            std::vector<romfont_result>(10, ROMFONT_BAD_ARGUMENT));
}

// romfont_text's decoders on the walker's texts: fed a byte at a time (then finished), and read a character at a time,
// they give the walker's code points (ROMFONT_MALFORMED where it reports malformed UTF-8) and lengths.
TEST(RomfontWalk, TextDecodersAgreeWithTheWalker) {
  for (const auto& [text, expected] : kWalks) {
    std::vector<std::uint32_t> points, pairs, fed, read;
    romfont_walker walker;
    romfont_char ch;
    romfont_walk(&walker, nullptr, text.data(), static_cast<std::uint32_t>(text.size()));
    for (romfont_result result; (result = romfont_next_char(&walker, &ch)) != ROMFONT_END;)
      points.push_back(result == ROMFONT_BAD_UTF8 ? ROMFONT_MALFORMED : ch.code_point), pairs.insert(pairs.end(), {points.back(), ch.length});
    romfont_utf8 decoder;
    std::uint32_t out[2];
    romfont_utf8_init(&decoder);
    for (const char byte : text) fed.insert(fed.end(), out, out + romfont_utf8_feed(&decoder, static_cast<std::uint8_t>(byte), out));
    fed.insert(fed.end(), out, out + romfont_utf8_finish(&decoder, out));
    const romfont_text whole{text.data(), static_cast<std::uint32_t>(text.size()), ROMFONT_IN_RAM};
    for (std::uint32_t at = 0, point, length; (length = romfont_text_char(&whole, at, &point)) != 0; at += length) read.insert(read.end(), {point, length});
    EXPECT_EQ(std::pair(fed, read), std::pair(points, pairs)) << expected;
  }
}

// A memory of the given bytes starting at address origin: reads outside it fail the test, reads fail when asked.
struct Memory {
  static std::uint8_t read(void* context, std::uint32_t address, std::uint8_t* buffer, std::uint16_t length) {
    Memory& memory = *static_cast<Memory*>(context);
    const std::uint64_t at = std::uint64_t{address} - memory.origin, inside = at + length <= memory.bytes.size() && length >= 1 && length <= 36;
    EXPECT_TRUE(inside) << address << " " << length;
    return ++memory.reads, !memory.fails && inside && std::memcpy(buffer, memory.bytes.data() + at, length);
  }
  std::string bytes;
  std::uint64_t origin;
  bool fails = false;
  int reads = 0;
};

// count bytes of value at `at`, little-endian; more than 4: each byte is value.
void put(std::string& bytes, std::size_t at, unsigned count, std::uint32_t value) {
  for (unsigned i = 0; i < count; ++i) bytes[at + i] = static_cast<char>(count > 4 ? value : value >> 8 * i);
}

// The tiny pair as an image (index at 4096, data at the next 4 KiB boundary) after 100 bytes of something else, damaged
// by a case: its header, the memory's capacity, a memory ending at the last 32-bit address (top), failing reads. Every
// lookup through an opened image is that from the files; through a refused one it is ROMFONT_BAD_IMAGE, reading nothing.
TEST(RomfontImage, HeaderCasesOpenOrRefuseAndChecksFindDamage) {
  const RomFiles files = convert(kTinyHalf, kTinyFull);
  Rom rom(files);
  const auto crc = [](std::string_view bytes) { return romfont_crc32(0, reinterpret_cast<const std::uint8_t*>(bytes.data()), static_cast<std::uint32_t>(bytes.size())); };
  const auto indexSize = static_cast<std::uint32_t>(files.index.size()), dataSize = static_cast<std::uint32_t>(files.data.size()), dataAt = 4096 + (indexSize + 4095) / 4096 * 4096;
  std::string image(dataAt, '\xFF');
  image.replace(0, 8, "MASKBURN").replace(4096, indexSize, files.index) += files.data;
  for (const auto& [at, count, value] : {std::tuple(8u, 2u, 1u), {10, 2, 36}, {12, 4, 4096}, {16, 4, indexSize}, {20, 4, dataAt}, {24, 4, dataSize}, {28, 4, crc(files.index)}, {32, 4, crc(files.data)}})
    put(image, at, count, value);
  const auto glyphOf = [](const romfont* font, std::uint32_t point) {
    romfont_char ch;
    const romfont_result result = romfont_char_glyph(font, point, &ch);
    return Expected(result, std::to_array(ch.glyph));
  };
  enum Kind { plain, top, fails };
  struct Case { unsigned at, count; std::uint32_t value; std::int64_t capacity; Kind kind; romfont_image_result expected; };
  for (const Case& c : std::initializer_list<Case>{{0, 0, 0, 0, plain, ROMFONT_IMAGE_OK}, {0, 36, 0xFF, 0, plain, ROMFONT_IMAGE_BLANK}, {0, 36, 0, 0, plain, ROMFONT_IMAGE_ZEROS},
           {7, 1, 'm', 0, plain, ROMFONT_IMAGE_FOREIGN}, {8, 2, 0, 0, plain, ROMFONT_IMAGE_FOREIGN}, {8, 2, 3, 0, plain, ROMFONT_IMAGE_NEWER},
           {10, 2, 35, 0, plain, ROMFONT_IMAGE_BAD_SIZES}, {12, 4, 35, 0, plain, ROMFONT_IMAGE_BAD_SIZES}, {16, 4, 511, 0, plain, ROMFONT_IMAGE_BAD_SIZES},
           {20, 4, 4095 + indexSize, 0, plain, ROMFONT_IMAGE_BAD_SIZES}, {20, 4, 0xFFFFFFF0, 0, plain, ROMFONT_IMAGE_BAD_SIZES}, {24, 4, 0xFFFFFFFF, 1ll << 32, plain, ROMFONT_IMAGE_BAD_SIZES},
           {0, 0, 0, -1, plain, ROMFONT_IMAGE_BAD_SIZES}, {0, 0, 0, 1ll << 32, top, ROMFONT_IMAGE_OK}, {24, 4, dataSize + 1, 1ll << 32, top, ROMFONT_IMAGE_BAD_SIZES},
           {0, 0, 0, 0, fails, ROMFONT_IMAGE_READ_ERROR}}) {
    Memory memory{std::string(100, 'x') + image, c.kind == top ? (1ull << 32) - 100 - image.size() : 0, c.kind == fails};
    put(memory.bytes, 100 + c.at, c.count, c.value);
    romfont_image opened;
    romfont font;
    const auto opening = romfont_image_init(&opened, &font, Memory::read, &memory, static_cast<std::uint32_t>(memory.origin + 100), static_cast<std::uint32_t>(std::min<std::int64_t>(image.size() + c.capacity, 0xFFFFFFFF)));
    ASSERT_EQ(romfont_image_result_name(opening), std::string(romfont_image_result_name(c.expected))) << c.at;
    const int reads = memory.reads;
    for (std::uint32_t point = 0; point < 0x10000; ++point)  // both tables
      ASSERT_EQ(glyphOf(&font, point), c.expected ? Expected(ROMFONT_BAD_IMAGE, Bitmap{}) : glyphOf(&rom.memory, point)) << point;
    std::vector<romfont_image_result> checks{romfont_image_check(&opened)};
    for (const std::size_t at : {std::size_t{100 + 4096} + indexSize - 1, memory.bytes.size() - 1}) memory.bytes[at] ^= 1, checks.push_back(romfont_image_check(&opened)), memory.bytes[at] ^= 1;
    memory.fails = true;
    checks.push_back(romfont_image_check(&opened));
    EXPECT_EQ(checks, c.expected ? std::vector(4, ROMFONT_IMAGE_BAD_ARGUMENT) : std::vector({ROMFONT_IMAGE_OK, ROMFONT_IMAGE_BAD_CRC, ROMFONT_IMAGE_BAD_CRC, ROMFONT_IMAGE_READ_ERROR}));
    EXPECT_TRUE(c.expected == ROMFONT_IMAGE_OK || memory.reads == reads);
  }
  romfont_image opened;
  romfont font = rom.memory;
  Memory last{std::string(16, 'M'), 0xFFFFFFF0};  // the last 16 addresses: no header fits, none is read
  EXPECT_EQ(std::vector({romfont_image_init(nullptr, &font, Memory::read, nullptr, 0, 0), romfont_image_init(&opened, nullptr, Memory::read, nullptr, 0, 0),
                         romfont_image_init(&opened, &font, nullptr, nullptr, 0, 0), romfont_image_check(nullptr), romfont_image_init(&opened, &font, Memory::read, &last, 0xFFFFFFF0, 100)}),
            std::vector({ROMFONT_IMAGE_BAD_ARGUMENT, ROMFONT_IMAGE_BAD_ARGUMENT, ROMFONT_IMAGE_BAD_ARGUMENT, ROMFONT_IMAGE_BAD_ARGUMENT, ROMFONT_IMAGE_BAD_SIZES}));
  romfont_char ch;
  EXPECT_EQ(romfont_char_glyph(&font, 0x3042, &ch), ROMFONT_BAD_IMAGE);
  const auto* digits = reinterpret_cast<const std::uint8_t*>("123456789");
  EXPECT_EQ(std::pair(romfont_crc32(0, digits, 9), romfont_crc32(romfont_crc32(0, digits, 4), digits + 4, 5)), std::pair(0xCBF43926u, 0xCBF43926u));
}

// The tiny pair and the full Shinonome pair, converted by the executable and burned by maskburn-image --compact
// (version 2): through the image, every half-width code and full-width key gives what version 1's files give, in at
// most two and three reads; the Shinonome index fits 6 KB and the image a 2-Mbit EEPROM. Then the tiny image damaged:
// block numbers past the index, group slots past the data, an index size that is no compact one; no read leaves the
// memory, and every key the damage reaches gives ROMFONT_BAD_IMAGE.
TEST(RomfontImage, CompactIndexGivesWhatVersionOneGivesForEveryCode) {
  for (const auto& [half, full] : {std::pair(kTinyHalf, kTinyFull), {realFontPath("shnm8x16r"), realFontPath("shnmk16")}}) {
    if (half.empty() || full.empty()) continue;
    const RomFiles files = convert(half, full);
    TempDir dir;
    writeFile(dir.file("i"), files.index), writeFile(dir.file("d"), files.data);
    ASSERT_EQ(runIn(dir.path, "'" MASKBURN_IMAGE_TOOL "' --compact --index i --data d v2.img >/dev/null"), 0);
    Rom rom(files);
    Memory memory{readFile(dir.file("v2.img")), 0};
    const std::uint32_t indexSize = (memory.bytes[16] & 0xFF) | (memory.bytes[17] & 0xFF) << 8;
    romfont_image opened;
    romfont font;
    ASSERT_EQ(romfont_image_init(&opened, &font, Memory::read, &memory, 0, static_cast<std::uint32_t>(memory.bytes.size())), ROMFONT_IMAGE_OK);
    ASSERT_EQ(romfont_image_check(&opened), ROMFONT_IMAGE_OK);
    EXPECT_TRUE(half == kTinyHalf || (indexSize <= 6144 && memory.bytes.size() <= 262144)) << indexSize << " " << memory.bytes.size();
    for (unsigned code = 0; code < 256 + 65536; ++code) {
      Expected got{}, expected{};
      const int before = memory.reads;
      if (code < 256) got.first = romfont_half_glyph(&font, static_cast<std::uint8_t>(code), got.second.data()), expected.first = romfont_half_glyph(&rom.memory, static_cast<std::uint8_t>(code), expected.second.data());
      else got.first = romfont_full_glyph(&font, static_cast<std::uint16_t>(code - 256), got.second.data()), expected.first = romfont_full_glyph(&rom.memory, static_cast<std::uint16_t>(code - 256), expected.second.data());
      ASSERT_TRUE(got == expected && memory.reads - before <= (code < 256 ? 2 : 3)) << code;
    }
    if (half != kTinyHalf) continue;
    unsigned firstHigh = 0;  // block 1 of the compact index
    while (files.index[256 + firstHigh] == 0) ++firstHigh;
    for (const auto& [at, count, value] : {std::tuple(4096u + 256, 256u, 0xFFu), {4096 + 512, 48, 0xFF}, {16, 4, indexSize + 1}}) {
      Memory damaged = memory;
      put(damaged.bytes, at, count, value);
      ASSERT_EQ(romfont_image_init(&opened, &font, Memory::read, &damaged, 0, static_cast<std::uint32_t>(damaged.bytes.size())), count == 4 ? ROMFONT_IMAGE_BAD_SIZES : ROMFONT_IMAGE_OK);
      for (unsigned key = 0; key < 65536; ++key) {
        Expected got{}, expected{ROMFONT_BAD_IMAGE, {}};
        got.first = romfont_full_glyph(&font, static_cast<std::uint16_t>(key), got.second.data());
        if (count == 48 && key >> 8 != firstHigh) expected.first = romfont_full_glyph(&rom.memory, static_cast<std::uint16_t>(key), expected.second.data());
        ASSERT_EQ(got, expected) << at << " " << key;
      }
    }
  }
}
