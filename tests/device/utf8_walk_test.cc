// The UTF-8 walker over the tiny ROM, in one table of walks: which table and code each character is looked
// up under, widths, lengths, offsets and glyphs; missing characters; malformed UTF-8 (each case taking the
// longest start of a well-formed sequence, at least one byte); walked with a length and up to a NUL; and a
// failed read in the middle of a walk.
#include <gtest/gtest.h>

#include <array>
#include <tuple>

#include "device/rom_fixtures.h"
#include "romfont.h"

namespace {

constexpr romfont_result kOk = ROMFONT_OK, kNo = ROMFONT_NO_GLYPH, kBadUtf8 = ROMFONT_BAD_UTF8;
constexpr std::uint32_t kBad = ROMFONT_REPLACEMENT_CHARACTER;

// A character of a walk (length: the bytes it takes), `times` such characters in a row.
struct Step {
  romfont_result result;
  std::uint32_t codePoint;
  std::uint8_t width, length;
  int times = 1;
};

// n malformed bytes, each taken alone.
Step badBytes(int n) { return {kBadUtf8, kBad, 16, 1, n}; }

// Texts and the steps of their walks (then ROMFONT_END) over the tiny ROM.
const std::vector<std::pair<std::string, std::vector<Step>>> kWalks = {
    // ASCII, and half-width katakana under JIS X 0201 codes 0xA1-0xDF.
    {"0A~ \uFF61\uFF71\uFF9F",
     {{kOk, 0x30, 8, 1}, {kOk, 0x41, 8, 1}, {kOk, 0x7E, 8, 1}, {kNo, 0x20, 8, 1}, {kNo, 0xFF61, 8, 3},
      {kOk, 0xFF71, 8, 3}, {kNo, 0xFF9F, 8, 3}}},
    // Full-width, found and missing, also just outside the half-width ranges.
    {"\u3042\u4E9C\u3000\u2460\u00E9\x1F\x7F\uFF60\uFFA0\uFFFF",
     {{kOk, 0x3042, 16, 3}, {kOk, 0x4E9C, 16, 3}, {kOk, 0x3000, 16, 3}, {kOk, 0x2460, 16, 3}, {kNo, 0xE9, 16, 2},
      {kNo, 0x1F, 16, 1}, {kNo, 0x7F, 16, 1}, {kNo, 0xFF60, 16, 3}, {kNo, 0xFFA0, 16, 3}, {kNo, 0xFFFF, 16, 3}}},
    // Missing half-width and full-width; beyond the BMP (never wrapped onto a key); U+0800 and U+D7FF, the
    // edges of the well-formed three-byte forms.
    {"B\uFF72\u3044\U00010000\U0010FFFF\xE0\xA0\x80\xED\x9F\xBF",
     {{kNo, 0x42, 8, 1}, {kNo, 0xFF72, 8, 3}, {kNo, 0x3044, 16, 3}, {kNo, 0x10000, 16, 4}, {kNo, 0x10FFFF, 16, 4},
      {kNo, 0x800, 16, 3}, {kNo, 0xD7FF, 16, 3}}},
    // An embedded NUL (walked with a length only).
    {std::string("0\0A", 3), {{kOk, 0x30, 8, 1}, {kNo, 0, 16, 1}, {kOk, 0x41, 8, 1}}},
    // Overlong forms of two, three and four bytes.
    {"\xC0\x80\xC1\xBF\xE0\x9F\xBF\xF0\x8F\xBF\xBF" "A", {badBytes(11), {kOk, 0x41, 8, 1}}},
    // Surrogates, above U+10FFFF, bytes that never start a character.
    {"\xED\xA0\x80\xED\xBF\xBF\xF4\x90\x80\x80\xF5\x80\xF8\xFE\xFF", {badBytes(15)}},
    // Sequences cut by the next character and by the end; stray continuation bytes and a lead byte followed
    // by a lead byte.
    {"\xE3\x81" "0\xF0\x9F\x98" "A\x80\xBF\xC3\xE3\x81\x82\xE3\x81",
     {{kBadUtf8, kBad, 16, 2}, {kOk, 0x30, 8, 1}, {kBadUtf8, kBad, 16, 3}, {kOk, 0x41, 8, 1}, badBytes(3),
      {kOk, 0x3042, 16, 3}, {kBadUtf8, kBad, 16, 2}}},
    {"", {}},
};

// Walks an exact heap copy of text (so a read past its end is caught) and checks each step's result, code
// point, width, length, offset and glyph bytes (those the BDF files hold), then that the end stays the end.
void expectWalk(const romfont* font, const Glyphs& glyphs, const std::string& text, std::uint32_t length,
                const std::vector<Step>& steps) {
  SCOPED_TRACE(::testing::PrintToString(text));
  const auto bytes = exactCopy(text);
  romfont_walker walker;
  romfont_walk(&walker, font, reinterpret_cast<const char*>(bytes.get()), length);
  std::uint32_t offset = 0;
  romfont_char ch;
  for (const Step& step : steps) {
    for (int n = 0; n < step.times; ++n, offset += step.length) {
      std::memset(&ch, 0x5A, sizeof ch);
      const romfont_result result = romfont_next_char(&walker, &ch);
      // Looked up under the JIS X 0201 code of a half-width katakana, else under the code point.
      const unsigned code = step.width == 8 && step.codePoint > 0x7E ? step.codePoint - 0xFEC0 : step.codePoint;
      const Bitmap glyph = step.result == kOk ? (step.width == 8 ? glyphs.half : glyphs.full).at(code) : Bitmap{};
      EXPECT_EQ(std::tuple(result, ch.code_point, int{ch.width}, int{ch.length}, ch.offset, std::to_array(ch.glyph)),
                std::tuple(step.result, step.codePoint, int{step.width}, int{step.length}, offset, glyph));
    }
  }
  EXPECT_EQ(romfont_next_char(&walker, &ch), ROMFONT_END);
  EXPECT_EQ(ch.width, 0);
  EXPECT_EQ(romfont_next_char(&walker, &ch), ROMFONT_END) << "the end stays the end";
}

TEST(Utf8Walk, TableWithALengthAndUpToANulThenAFailedRead) {
  const Glyphs glyphs = bdfGlyphs(kTinyHalf, kTinyFull);
  Rom rom(tinyRom());
  for (const auto& [text, steps] : kWalks) {
    expectWalk(&rom.memory, glyphs, text, static_cast<std::uint32_t>(text.size()), steps);
    if (text.find('\0') != std::string::npos) continue;
    expectWalk(&rom.callback, glyphs, text + '\0', ROMFONT_NUL_TERMINATED, steps);
  }
  expectWalk(&rom.callback, glyphs, std::string("0\0A", 4), ROMFONT_NUL_TERMINATED, {{kOk, 0x30, 8, 1}});

  // A failed read is reported, and the walk goes on (a damaged ROM is walked in the viewer's tests).
  rom.calls = 0;
  rom.failAtCall = 2;  // the second read: the half-width glyph of '0'
  expectWalk(&rom.callback, glyphs, "0A", 2, {{ROMFONT_READ_ERROR, 0x30, 8, 1}, {kOk, 0x41, 8, 1}});
}

}  // namespace
