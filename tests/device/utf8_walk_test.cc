// The UTF-8 walker over a ROM built here with a distinct bitmap under every code: which table and code
// each character is looked up under, widths, positions, and the results for missing characters, malformed
// UTF-8 (each case taking the longest start of a well-formed sequence, at least one byte) and ROM trouble.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "device/rom_fixtures.h"
#include "romfont.h"

namespace {

constexpr std::uint32_t kBad = ROMFONT_REPLACEMENT_CHARACTER;

struct Step {
  romfont_result result;
  std::uint32_t codePoint;
  std::uint8_t width;
  std::uint8_t length;      // bytes taken
  std::uint16_t tableCode;  // for ROMFONT_OK: the half-width code or full-width key whose glyph it is
};

struct WalkCase {
  const char* name;
  std::string text;
  std::vector<Step> steps;  // then ROMFONT_END
};

RomFiles walkRom() {
  SyntheticGlyphs glyphs;
  for (const std::uint8_t code : std::initializer_list<std::uint8_t>{0x20, 0x30, 0x41, 0x7E, 0xA1, 0xB1, 0xDF}) glyphs.half[code] = halfPattern(code);
  for (const std::uint16_t key : std::initializer_list<std::uint16_t>{0x0000, 0x000A, 0x001F, 0x007F, 0x00E9, 0x3042, 0x4E9C, 0xFF60, 0xFFA0, 0xFFFF}) {
    glyphs.full[key] = fullPattern(key);
  }
  return buildRom(glyphs);
}

const std::vector<WalkCase>& walkCases() {
  static const std::vector<WalkCase> cases = {
      {"ascii", "0A~ ", {{ROMFONT_OK, 0x30, 8, 1, 0x30}, {ROMFONT_OK, 0x41, 8, 1, 0x41}, {ROMFONT_OK, 0x7E, 8, 1, 0x7E},
                         {ROMFONT_OK, 0x20, 8, 1, 0x20}}},
      {"half-width katakana under JIS X 0201 codes", "\uFF61\uFF71\uFF9F",
       {{ROMFONT_OK, 0xFF61, 8, 3, 0xA1}, {ROMFONT_OK, 0xFF71, 8, 3, 0xB1}, {ROMFONT_OK, 0xFF9F, 8, 3, 0xDF}}},
      {"full-width", "\u3042\u4E9C\u00E9", {{ROMFONT_OK, 0x3042, 16, 3, 0x3042}, {ROMFONT_OK, 0x4E9C, 16, 3, 0x4E9C},
                                           {ROMFONT_OK, 0xE9, 16, 2, 0xE9}}},
      {"just outside the half-width ranges", "\x1F\x7F\uFF60\uFFA0\uFFFF",
       {{ROMFONT_OK, 0x1F, 16, 1, 0x1F}, {ROMFONT_OK, 0x7F, 16, 1, 0x7F}, {ROMFONT_OK, 0xFF60, 16, 3, 0xFF60},
        {ROMFONT_OK, 0xFFA0, 16, 3, 0xFFA0}, {ROMFONT_OK, 0xFFFF, 16, 3, 0xFFFF}}},
      {"missing half-width and full-width", "B\uFF72\u3044",
       {{ROMFONT_NO_GLYPH, 0x42, 8, 1, 0}, {ROMFONT_NO_GLYPH, 0xFF72, 8, 3, 0}, {ROMFONT_NO_GLYPH, 0x3044, 16, 3, 0}}},
      {"beyond the BMP never wraps onto a key", "\U00010000\U0001F600\U0010FFFF",
       {{ROMFONT_NO_GLYPH, 0x10000, 16, 4, 0}, {ROMFONT_NO_GLYPH, 0x1F600, 16, 4, 0},
        {ROMFONT_NO_GLYPH, 0x10FFFF, 16, 4, 0}}},
      {"mixed", "A\u3042\uFF71B",
       {{ROMFONT_OK, 0x41, 8, 1, 0x41}, {ROMFONT_OK, 0x3042, 16, 3, 0x3042}, {ROMFONT_OK, 0xFF71, 8, 3, 0xB1},
        {ROMFONT_NO_GLYPH, 0x42, 8, 1, 0}}},
      {"embedded NUL with a length", std::string("0\0A", 3),
       {{ROMFONT_OK, 0x30, 8, 1, 0x30}, {ROMFONT_OK, 0, 16, 1, 0}, {ROMFONT_OK, 0x41, 8, 1, 0x41}}},
      {"overlong two-byte", "\xC0\x80" "A", {{ROMFONT_BAD_UTF8, kBad, 16, 1, 0}, {ROMFONT_BAD_UTF8, kBad, 16, 1, 0},
                                           {ROMFONT_OK, 0x41, 8, 1, 0x41}}},
      {"overlong C1", "\xC1\xBF", {{ROMFONT_BAD_UTF8, kBad, 16, 1, 0}, {ROMFONT_BAD_UTF8, kBad, 16, 1, 0}}},
      {"overlong three-byte", "\xE0\x9F\xBF", {{ROMFONT_BAD_UTF8, kBad, 16, 1, 0}, {ROMFONT_BAD_UTF8, kBad, 16, 1, 0},
                                              {ROMFONT_BAD_UTF8, kBad, 16, 1, 0}}},
      {"overlong four-byte", "\xF0\x8F\xBF\xBF" "0",
       {{ROMFONT_BAD_UTF8, kBad, 16, 1, 0}, {ROMFONT_BAD_UTF8, kBad, 16, 1, 0}, {ROMFONT_BAD_UTF8, kBad, 16, 1, 0},
        {ROMFONT_BAD_UTF8, kBad, 16, 1, 0}, {ROMFONT_OK, 0x30, 8, 1, 0x30}}},
      {"smallest three-byte is fine", "\xE0\xA0\x80", {{ROMFONT_NO_GLYPH, 0x800, 16, 3, 0}}},
      {"surrogates", "\xED\xA0\x80\xED\xBF\xBF\xED\x9F\xBF",
       {{ROMFONT_BAD_UTF8, kBad, 16, 1, 0}, {ROMFONT_BAD_UTF8, kBad, 16, 1, 0}, {ROMFONT_BAD_UTF8, kBad, 16, 1, 0},
        {ROMFONT_BAD_UTF8, kBad, 16, 1, 0}, {ROMFONT_BAD_UTF8, kBad, 16, 1, 0}, {ROMFONT_BAD_UTF8, kBad, 16, 1, 0},
        {ROMFONT_NO_GLYPH, 0xD7FF, 16, 3, 0}}},
      {"above U+10FFFF", "\xF4\x90\x80\x80\xF5\x80",
       {{ROMFONT_BAD_UTF8, kBad, 16, 1, 0}, {ROMFONT_BAD_UTF8, kBad, 16, 1, 0}, {ROMFONT_BAD_UTF8, kBad, 16, 1, 0},
        {ROMFONT_BAD_UTF8, kBad, 16, 1, 0}, {ROMFONT_BAD_UTF8, kBad, 16, 1, 0}, {ROMFONT_BAD_UTF8, kBad, 16, 1, 0}}},
      {"bytes that never start a character", "\xF8\xFE\xFF",
       {{ROMFONT_BAD_UTF8, kBad, 16, 1, 0}, {ROMFONT_BAD_UTF8, kBad, 16, 1, 0}, {ROMFONT_BAD_UTF8, kBad, 16, 1, 0}}},
      {"truncated before another character", "\xE3\x81" "0\xF0\x9F\x98" "A",
       {{ROMFONT_BAD_UTF8, kBad, 16, 2, 0}, {ROMFONT_OK, 0x30, 8, 1, 0x30}, {ROMFONT_BAD_UTF8, kBad, 16, 3, 0},
        {ROMFONT_OK, 0x41, 8, 1, 0x41}}},
      {"truncated at the end", "0\xE3\x81", {{ROMFONT_OK, 0x30, 8, 1, 0x30}, {ROMFONT_BAD_UTF8, kBad, 16, 2, 0}}},
      {"lead byte followed by a lead byte", "\xC3\xE3\x81\x82",
       {{ROMFONT_BAD_UTF8, kBad, 16, 1, 0}, {ROMFONT_OK, 0x3042, 16, 3, 0x3042}}},
      {"stray continuation bytes", "\x80" "A\xBF", {{ROMFONT_BAD_UTF8, kBad, 16, 1, 0}, {ROMFONT_OK, 0x41, 8, 1, 0x41},
                                                  {ROMFONT_BAD_UTF8, kBad, 16, 1, 0}}},
      {"empty", "", {}},
  };
  return cases;
}

// Walks text (in an exact heap copy) and checks each step, the glyph bytes and the offsets.
void expectWalk(const romfont* font, const WalkCase& walkCase, const std::string& text, std::uint32_t length) {
  SCOPED_TRACE(walkCase.name);
  const ExactCopy bytes(text);
  romfont_walker walker;
  romfont_walk(&walker, font, reinterpret_cast<const char*>(bytes.data()), length);
  std::uint32_t offset = 0;
  for (std::size_t i = 0; i <= walkCase.steps.size(); ++i) {
    romfont_char ch;
    std::memset(&ch, 0x5A, sizeof ch);
    const romfont_result result = romfont_next_char(&walker, &ch);
    if (i == walkCase.steps.size()) {
      EXPECT_EQ(result, ROMFONT_END) << "after the last step";
      EXPECT_EQ(ch.width, 0);
      EXPECT_EQ(romfont_next_char(&walker, &ch), ROMFONT_END) << "the end stays the end";
      break;
    }
    const Step& step = walkCase.steps[i];
    EXPECT_EQ(result, step.result) << "step " << i << ": " << romfont_result_name(result);
    EXPECT_EQ(ch.code_point, step.codePoint) << "step " << i;
    EXPECT_EQ(ch.width, step.width) << "step " << i;
    EXPECT_EQ(ch.length, step.length) << "step " << i;
    EXPECT_EQ(ch.offset, offset) << "step " << i;
    offset += step.length;
    FullBitmap expected{};
    if (step.result == ROMFONT_OK && step.width == 8) {
      const HalfBitmap half = halfPattern(static_cast<std::uint8_t>(step.tableCode));
      std::copy(half.begin(), half.end(), expected.begin());
    } else if (step.result == ROMFONT_OK) {
      expected = fullPattern(step.tableCode);
    }
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), ch.glyph)) << "step " << i << ": glyph bytes";
  }
}

TEST(Utf8Walk, CasesWithALength) {
  const MemoryRom rom(walkRom());
  for (const WalkCase& walkCase : walkCases()) {
    expectWalk(rom.font(), walkCase, walkCase.text, static_cast<std::uint32_t>(walkCase.text.size()));
  }
}

TEST(Utf8Walk, CasesEndingAtANul) {
  // The same walks on NUL-terminated copies (the copy ends at the NUL, so reading past it is caught).
  const CallbackRom rom(walkRom());
  for (const WalkCase& walkCase : walkCases()) {
    if (walkCase.text.find('\0') != std::string::npos) continue;
    expectWalk(rom.font(), walkCase, walkCase.text + '\0', ROMFONT_NUL_TERMINATED);
  }
  WalkCase stopsAtNul{"stops at the first NUL", "", {{ROMFONT_OK, 0x30, 8, 1, 0x30}}};
  expectWalk(rom.font(), stopsAtNul, std::string("0\0A", 4), ROMFONT_NUL_TERMINATED);
  WalkCase truncatedByNul{"sequence cut by the NUL", "", {{ROMFONT_BAD_UTF8, kBad, 16, 2, 0}}};
  expectWalk(rom.font(), truncatedByNul, std::string("\xE3\x81\0", 3), ROMFONT_NUL_TERMINATED);
}

TEST(Utf8Walk, RomTroubleIsReportedAndTheWalkGoesOn) {
  RomFiles files = walkRom();
  CallbackRom failing(files);
  failing.failAtCall = 2;  // the second read: the half-width glyph of '0'
  WalkCase readError{"read error", "", {{ROMFONT_READ_ERROR, 0x30, 8, 1, 0}, {ROMFONT_OK, 0x41, 8, 1, 0x41}}};
  expectWalk(failing.font(), readError, "0A", 2);

  files.data.resize(16);  // only the first half-width glyph (code 0x20) is left
  const MemoryRom cut(files);
  WalkCase damaged{"damaged", "", {{ROMFONT_BAD_IMAGE, 0x30, 8, 1, 0}, {ROMFONT_OK, 0x20, 8, 1, 0x20},
                                   {ROMFONT_BAD_IMAGE, 0x3042, 16, 3, 0}}};
  expectWalk(cut.font(), damaged, "0 \u3042", 5);
}

}  // namespace
