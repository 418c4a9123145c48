// Font pairs converted by the real executable (the committed tiny pair, and every Shinonome pair that
// passes the size checks): every glyph found again through the written files (a lookup written here
// from the file format), nothing else present, sizes as the counts say, and the read-back listing
// drawing every glyph exactly as the build report drew it.
#include <gtest/gtest.h>

#include <map>
#include <sstream>

#include "font/jis_mapping.h"
#include "support/real_fonts.h"
#include "support/run_tool.h"
#include "support/text_builder.h"

namespace {

// Pictures listed under headers that start with the given prefix, keyed by the hex code after it.
std::map<std::string, std::string> picturesAfter(const std::string& output, const std::string& prefix,
                                                 std::size_t codeDigits) {
  std::map<std::string, std::string> pictures;
  std::istringstream lines(output);
  std::string line;
  std::string* current = nullptr;
  int rowsLeft = 0;
  while (std::getline(lines, line)) {
    if (rowsLeft > 0) {
      *current += line + "\n";
      --rowsLeft;
    } else if (line.compare(0, prefix.size(), prefix) == 0 && line.size() > prefix.size() + codeDigits &&
               line[prefix.size() + codeDigits] == ']') {
      current = &pictures[line.substr(prefix.size(), codeDigits)];
      rowsLeft = 16;
    }
  }
  return pictures;
}

std::uint8_t byteAt(const std::string& file, std::size_t offset) {
  return offset < file.size() ? static_cast<std::uint8_t>(file[offset]) : 0;
}

// The bitmap the tool stores for a parsed character: its first 16 rows, zero rows after the last.
unsigned long rowOf(const ParsedGlyph& glyph, std::size_t row) { return row < glyph.rows.size() ? glyph.rows[row] : 0; }

void expectRomHoldsExactly(const std::string& halfPath, const std::string& fullPath) {
  TempDir dir;
  const ToolRun run = runTool({"-8x16", halfPath, "-16x16", fullPath}, dir.path);
  ASSERT_EQ(run.exitStatus, 0);
  const std::string index = readFile(dir.file("FONTINDEX.BIN"));
  const std::string data = readFile(dir.file("FONTDATA.BIN"));

  const auto halves = parseBdfGlyphs(halfPath);
  for (const ParsedGlyph& glyph : halves) {
    const int number = byteAt(index, static_cast<std::size_t>(glyph.encoding));
    ASSERT_NE(number, 0) << glyph.encoding;
    for (std::size_t row = 0; row < 16; ++row) {
      ASSERT_EQ(byteAt(data, 16 * static_cast<std::size_t>(number - 1) + row), rowOf(glyph, row)) << glyph.encoding;
    }
  }
  const auto fulls = parseBdfGlyphs(fullPath);
  int blocks = 0;
  for (std::size_t high = 0; high < 256; ++high) blocks += byteAt(index, 256 + high) != 0;
  int maxSlot = 0;
  for (const ParsedGlyph& glyph : fulls) {
    const std::uint16_t key = jisToUnicodeKey(static_cast<std::int32_t>(glyph.encoding));
    const std::size_t block = byteAt(index, 256u + (key >> 8));
    ASSERT_NE(block, 0u) << key;
    const std::size_t entry = 512 * block + 2 * (key & 0xFF);
    const int slot = byteAt(index, entry) | byteAt(index, entry + 1) << 8;
    ASSERT_NE(slot, 0) << key;
    maxSlot = std::max(maxSlot, slot);
    for (std::size_t row = 0; row < 16; ++row) {
      const std::size_t offset = 32 * static_cast<std::size_t>(slot) + 2 * row;
      ASSERT_EQ(static_cast<unsigned long>(byteAt(data, offset) << 8 | byteAt(data, offset + 1)), rowOf(glyph, row))
          << key;
    }
  }

  // Nothing else: as many index entries as glyphs, files exactly as large as the counts say.
  int halfEntries = 0;
  for (std::size_t code = 0; code < 256; ++code) halfEntries += byteAt(index, code) != 0;
  EXPECT_EQ(halfEntries, static_cast<int>(halves.size()));
  int fullEntries = 0;
  for (std::size_t offset = 512; offset + 1 < index.size(); offset += 2) {
    fullEntries += (byteAt(index, offset) | byteAt(index, offset + 1)) != 0;
  }
  EXPECT_EQ(fullEntries, static_cast<int>(fulls.size()));
  EXPECT_EQ(index.size(), 512u * static_cast<std::size_t>(1 + blocks));
  EXPECT_EQ(maxSlot, static_cast<int>((halves.size() + 1) / 2 + fulls.size()) - 1);
  EXPECT_EQ(data.size(), 32u * static_cast<std::size_t>(maxSlot + 2));

  // The read-back listing draws each glyph as the build report did.
  const auto reportHalf = picturesAfter(run.output, "[", 2);
  const auto readbackHalf = picturesAfter(run.output, "+[", 2);
  EXPECT_EQ(reportHalf.size(), halves.size());
  EXPECT_TRUE(reportHalf == readbackHalf);
  const auto reportFull = picturesAfter(run.output, "FONT[", 4);
  const auto readbackFull = picturesAfter(run.output, "+[", 4);
  EXPECT_EQ(reportFull.size(), fulls.size());
  EXPECT_TRUE(reportFull == readbackFull);
}

TEST(FontPairs, TinyCommittedPair) {
  expectRomHoldsExactly(MASKBURN_SOURCE_DIR "/tests/fixtures/tiny8x16.bdf",
                        MASKBURN_SOURCE_DIR "/tests/fixtures/tiny16x16.bdf");
}

class ShinonomePair : public ::testing::TestWithParam<std::pair<const char*, const char*>> {};

TEST_P(ShinonomePair, EveryGlyphIsFoundThroughTheWrittenFiles) {
  const std::string halfPath = realFontPath(GetParam().first);
  const std::string fullPath = realFontPath(GetParam().second);
  if (halfPath.empty() || fullPath.empty()) return;
  expectRomHoldsExactly(halfPath, fullPath);
}

// Every 16-dot family Debian ships whose bounding box is 8x16 / 16x16 (the italic ones are wider).
INSTANTIATE_TEST_SUITE_P(Debian, ShinonomePair,
                         ::testing::Values(std::make_pair("shnm8x16r", "shnmk16"), std::make_pair("shnm8x16rb", "shnmk16b"),
                                           std::make_pair("shnm8x16a", "shnmk16min"),
                                           std::make_pair("shnm8x16ab", "shnmk16minb")));

TEST(FontPairs, ItalicShinonomeIsRejectedForItsSize) {
  const std::string italic = realFontPath("shnm8x16ri");
  if (italic.empty()) return;
  TempDir dir;
  const ToolRun run = runTool({"-8x16", italic}, dir.path);
  EXPECT_EQ(run.exitStatus, 1);
  EXPECT_NE(run.output.find(cp932("フォントサイズが8x16ではありません。\n")), std::string::npos);
  EXPECT_EQ(readFile(dir.file("FONTINDEX.BIN")), std::string(512, '\0'));  // nothing read, files still written
}

}  // namespace
