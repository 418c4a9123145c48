// The reader's number conversions on the table of number_cases.txt, and their staying inside the text given.
#include "font/c_number.h"

#include <gtest/gtest.h>

#include <fstream>
#include <memory>

#include "support/support.h"

namespace {

TEST(CNumber, TableOfTextsAndValues) {
  std::ifstream cases(MASKBURN_SOURCE_DIR "/tests/font/number_cases.txt");
  int checked = 0;
  for (std::string line; std::getline(cases, line); ++checked) {
    if (line.starts_with("#")) continue;
    const std::size_t bar = line.find('|'), last = line.rfind('|');
    const std::string text = unescape(line.substr(bar + 1, last - bar - 1));
    const auto parse = line.starts_with("hex") ? parseHex32 : parseDecimal32;
    EXPECT_EQ(parse(text), std::stol(line.substr(last + 1))) << line;
  }
  EXPECT_GT(checked, 40);
}

TEST(CNumber, OnlyTheBytesOfTheViewCount) {
  EXPECT_EQ(parseDecimal32(std::string_view("123456", 3)), 123);
  EXPECT_EQ(parseHex32(std::string_view("ab", 1)), 0xA);
  const auto prefixOnly = std::make_unique<char[]>(2);  // no byte after it: a sanitizer build sees any read
  prefixOnly[0] = '0';
  prefixOnly[1] = 'x';
  EXPECT_EQ(parseHex32(std::string_view(prefixOnly.get(), 2)), 0);
}

}  // namespace
