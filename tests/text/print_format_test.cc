// The compiled printf subset against the C library's snprintf, over every catalogue format that takes
// numbers with awkward values, and over what it leaves as printf would.
#include "text/print_format.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdio>

#include "text/console.h"

namespace {

std::string viaCompiled(std::string_view pattern, const std::vector<int>& values) {
  std::string out;
  char digits[kIntegerRoom];
  for (std::size_t next = 0; const FormatPiece& piece : compileFormat(pattern).pieces) {
    out += piece.literal;
    if (piece.conversion != 0) out.append(digits, formatInteger(digits, values.at(next++), piece));
  }
  return out;
}

// The catalogue's formats are the reference's input here, so they cannot be literals.
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
TEST(PrintFormat, MatchesSnprintfOnEveryNumericCatalogueFormat) {
  const int samples[] = {0, 1, 9, 10, 15, 16, 99, 100, 255, 999, 1000, 4095, 4096, 9999, 10000, 65535, 65536,
                         99999, 1234567, INT_MAX, -1, -9, -10, -255, -65535, INT_MIN};
  int checked = 0;
  for (int i = 0; i < static_cast<int>(Text::Count); ++i) {
    const std::string& pattern = consoleText(static_cast<Text>(i));
    const CompiledFormat compiled = compileFormat(pattern);
    for (std::size_t first = 0; !compiled.takesText && first < std::size(samples); ++first, ++checked) {
      std::vector<int> v(5);
      for (std::size_t k = 0; k < v.size(); ++k) v[k] = samples[(first + 7 * k) % std::size(samples)];
      char expected[512];
      const int length = std::snprintf(expected, sizeof expected, pattern.c_str(), v[0], v[1], v[2], v[3], v[4]);
      ASSERT_EQ(viaCompiled(pattern, v), std::string(expected, static_cast<std::size_t>(length))) << pattern;
    }
  }
  EXPECT_GT(checked, 300);
  EXPECT_EQ(viaCompiled("100% [%5d] %q [%06X] %05d|%2X", {42, 0xBEEF, -42, 0xABC}), "100% [   42] %q [00BEEF] -0042|ABC");
  EXPECT_TRUE(compileFormat("'%s' %d").takesText);
}

}  // namespace
