// The UTF-8 walker over the tiny ROM, in one table of walks (utf8_walks.txt): which table and code each
// character is looked up under, widths, lengths, offsets and glyphs; missing characters; malformed UTF-8;
// walked with a length and up to a NUL; each well-formed character also looked up alone by code point; and
// a failed read in the middle of a walk.
#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>
#include <tuple>

#include "device/rom_fixtures.h"

namespace {

struct Step {
  romfont_result result;
  std::uint32_t codePoint;
  int width, length;
};

// Walks a copy of exactly the text's bytes (so a read past its end is caught) with its length, or up to a
// NUL (then only the characters before its first NUL), and checks every step, then that the end stays the end.
void expectWalk(const romfont* font, const Glyphs& glyphs, const std::string& text, bool upToNul,
                const std::vector<Step>& steps) {
  SCOPED_TRACE(::testing::PrintToString(text) + (upToNul ? " up to a NUL" : ""));
  const std::string copied = upToNul ? text + '\0' : text;
  const std::vector<char> bytes(copied.begin(), copied.end());
  romfont_walker walker;
  romfont_walk(&walker, font, bytes.data(), upToNul ? ROMFONT_NUL_TERMINATED : static_cast<std::uint32_t>(text.size()));
  romfont_char ch;
  for (std::uint32_t i = 0, offset = 0; i < steps.size() && !(upToNul && offset >= text.find('\0')); ++i) {
    const Step& step = steps[i];
    // Looked up under the JIS X 0201 code of a half-width katakana, else under the code point.
    const unsigned code = step.width == 8 && step.codePoint > 0x7E ? step.codePoint - 0xFEC0 : step.codePoint;
    const Bitmap glyph = step.result == ROMFONT_OK ? (step.width == 8 ? glyphs.half : glyphs.full).at(code) : Bitmap{};
    std::memset(&ch, 0x5A, sizeof ch);
    const romfont_result result = romfont_next_char(&walker, &ch);
    EXPECT_EQ(std::tuple(result, ch.code_point, int{ch.width}, int{ch.length}, ch.offset, std::to_array(ch.glyph)),
              std::tuple(step.result, step.codePoint, step.width, step.length, offset, glyph)) << "step " << i;
    offset += static_cast<std::uint32_t>(step.length);
    if (step.result != ROMFONT_OK && step.result != ROMFONT_NO_GLYPH) continue;
    std::memset(&ch, 0x5A, sizeof ch);
    const romfont_result alone = romfont_char_glyph(font, step.codePoint, &ch);
    EXPECT_EQ(std::tuple(alone, int{ch.width}, std::to_array(ch.glyph)), std::tuple(step.result, step.width, glyph));
  }
  EXPECT_EQ(romfont_next_char(&walker, &ch), ROMFONT_END);
  EXPECT_EQ(ch.width, 0);
  EXPECT_EQ(romfont_next_char(&walker, &ch), ROMFONT_END) << "the end stays the end";
}

TEST(Utf8Walk, TableWithALengthAndUpToANulThenAFailedRead) {
  const Glyphs glyphs = bdfGlyphs(kTinyHalf, kTinyFull);
  Rom rom(tinyRom());
  const std::map<std::string, romfont_result> results = {
      {"ok", ROMFONT_OK}, {"none", ROMFONT_NO_GLYPH}, {"utf8", ROMFONT_BAD_UTF8}};
  std::istringstream lines(readFile(MASKBURN_SOURCE_DIR "/tests/device/utf8_walks.txt"));
  int walks = 0;
  for (std::string line; std::getline(lines, line); walks += line.starts_with('"')) {
    if (!line.starts_with('"')) continue;
    std::string text;
    const std::size_t end = line.rfind('"');
    for (std::size_t i = 1; i < end; i += line.compare(i, 2, "\\x") == 0 ? 4 : 1) {
      text += line.compare(i, 2, "\\x") == 0 ? static_cast<char>(std::stoi(line.substr(i + 2, 2), nullptr, 16)) : line[i];
    }
    std::vector<Step> steps;
    std::istringstream words(line.substr(end + 1));
    for (std::string word; words >> word;) {
      char result[8] = "";
      Step step{};
      int times = 1;
      EXPECT_GE(std::sscanf(word.c_str(), "%7[a-z0-9]:%x:%d:%d*%d", result, &step.codePoint, &step.width,
                            &step.length, &times), 4) << word;
      step.result = results.at(result);
      steps.insert(steps.end(), static_cast<std::size_t>(times), step);
    }
    expectWalk(&rom.memory, glyphs, text, false, steps);
    expectWalk(&rom.callback, glyphs, text, true, steps);
  }
  EXPECT_EQ(walks, 8);
  // A failed read is reported, and the walk goes on (a damaged ROM is walked in the viewer's tests).
  rom.failAtCall = rom.calls + 2;  // the second read: the half-width glyph of '0'
  expectWalk(&rom.callback, glyphs, "0A", false, {{ROMFONT_READ_ERROR, 0x30, 8, 1}, {ROMFONT_OK, 0x41, 8, 1}});
}

}  // namespace
