// Line forming at its edges: carriage returns, 0x1A, long lines, and the same lines whether the bytes
// come from memory, from a file read in chunks (with a CR LF split across two chunks), or through the
// plain-row shortcut.
#include "font/line_scanner.h"

#include <gtest/gtest.h>

#include <memory>

#include "support/run_tool.h"

namespace {

std::vector<std::string> linesOf(LineScanner& scanner) {
  std::vector<std::string> lines;
  for (std::string_view line = nextLine(scanner); !line.empty(); line = nextLine(scanner)) lines.emplace_back(line);
  return lines;
}

std::vector<std::string> linesOfText(std::string_view text) {
  auto scanner = std::make_unique<LineScanner>();
  startScanning(*scanner, text);
  return linesOf(*scanner);
}

TEST(LineScanner, TextModeRulesAndLineLimit) {
  using Lines = std::vector<std::string>;
  EXPECT_EQ(linesOfText("abc\r\ndef\rg\n\r\r\nlast"), (Lines{"abc\n", "def\rg\n", "\r\n", "last"}));
  EXPECT_EQ(linesOfText("one\ntwo\x1Athree\n"), (Lines{"one\n", "two"}));
  const std::string longLine = std::string(300, 'x') + "\n";
  EXPECT_EQ(linesOfText(longLine), (Lines{std::string(255, 'x'), std::string(45, 'x') + "\n"}));
  // 255 bytes then CR LF: the CR is dropped before the line is cut, so the line feed comes alone.
  EXPECT_EQ(linesOfText(std::string(255, 'y') + "\r\n"), (Lines{std::string(255, 'y'), "\n"}));
  EXPECT_EQ(linesOfText(std::string(254, 'y') + "\r\nz"), (Lines{std::string(254, 'y') + "\n", "z"}));
}

TEST(LineScanner, TokensStopAtNulAndAreCut) {
  const std::string line = "  KEY\tvalue " + std::string(60, '7') + " x\n";
  std::size_t pos = 0;
  EXPECT_EQ(nextToken(line, &pos), "KEY");
  EXPECT_EQ(nextToken(line, &pos), "value");
  EXPECT_EQ(nextToken(line, &pos), std::string(49, '7'));
  EXPECT_EQ(nextToken(line, &pos), "x");
  EXPECT_EQ(nextToken(line, &pos), "");
  const std::string withNul("AB\0CD EF\n", 9);
  pos = 0;
  EXPECT_EQ(nextToken(withNul, &pos), "AB");
  EXPECT_EQ(nextToken(withNul, &pos), "");
}

TEST(LineScanner, FileChunksGiveTheSameLinesAsMemory) {
  // Lines of varied length past several chunks, with one CR LF split exactly at a chunk boundary.
  std::string text;
  for (int i = 0; text.size() < 3 * kScanChunkBytes; ++i) {
    text += std::string(static_cast<std::size_t>(i % 300), static_cast<char>('a' + i % 26)) + "\n";
  }
  text.resize(kScanChunkBytes - 1);
  text += "\r\nafter the boundary\r\n";
  for (int i = 0; i < 5000; ++i) text += "0F0F\r\nrow " + std::to_string(i) + "\rx\n";
  TempDir dir;
  writeFile(dir.file("font.bdf"), text);
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(dir.file("font.bdf").c_str(), "rb"), &std::fclose);
  ASSERT_TRUE(file);
  auto scanner = std::make_unique<LineScanner>();
  startScanning(*scanner, file.get());
  const std::vector<std::string> fromFile = linesOf(*scanner);
  EXPECT_EQ(fromFile, linesOfText(text));
  EXPECT_NE(std::find(fromFile.begin(), fromFile.end(), "after the boundary\n"), fromFile.end());
}

TEST(LineScanner, PlainRowShortcutTakesOnlyPlainRows) {
  auto scanner = std::make_unique<LineScanner>();
  const std::string text = "0FF0\nA5\n1234567\n12345678\n0x12\n-1\n 42\nFFFF";
  startScanning(*scanner, text);
  std::uint32_t value = 0;
  ASSERT_TRUE(nextPlainHexRow(*scanner, &value));
  EXPECT_EQ(value, 0x0FF0u);
  ASSERT_TRUE(nextPlainHexRow(*scanner, &value));
  EXPECT_EQ(value, 0xA5u);
  ASSERT_TRUE(nextPlainHexRow(*scanner, &value));
  EXPECT_EQ(value, 0x1234567u);
  // Everything else is left for the general path, which then reads the whole line.
  for (const char* line : {"12345678\n", "0x12\n", "-1\n", " 42\n", "FFFF"}) {
    EXPECT_FALSE(nextPlainHexRow(*scanner, &value)) << line;
    EXPECT_EQ(nextLine(*scanner), line);
  }
  startScanning(*scanner, std::string_view("FF\r\n"));  // a carriage return anywhere: no shortcut
  EXPECT_FALSE(nextPlainHexRow(*scanner, &value));
}

}  // namespace
