// Line forming where the reader tests do not reach: a carriage return at the 255-byte cut, and the
// plain-row shortcut against the general path. (Chunk boundaries and the text-mode rules are pinned by
// the reader tests through files and memory.)
#include "font/line_scanner.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

std::vector<std::string> linesOfText(std::string_view text) {
  auto scanner = std::make_unique<LineScanner>();
  startScanning(*scanner, text);
  std::vector<std::string> lines;
  for (std::string_view line = nextLine(*scanner); !line.empty(); line = nextLine(*scanner)) lines.emplace_back(line);
  return lines;
}

TEST(LineScanner, CarriageReturnIsDroppedBeforeTheLineIsCut) {
  // 255 bytes then CR LF: the line is cut after the 255 bytes, and the line feed comes alone.
  EXPECT_EQ(linesOfText(std::string(255, 'y') + "\r\n"), (std::vector<std::string>{std::string(255, 'y'), "\n"}));
  EXPECT_EQ(linesOfText(std::string(254, 'y') + "\r\nz"), (std::vector<std::string>{std::string(254, 'y') + "\n", "z"}));
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
