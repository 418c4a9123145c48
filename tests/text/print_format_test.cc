// The compiled printf subset against the C library's snprintf, over every catalogue format and one with widths
// and zero fill, with values the golden runs never print (negative, wider than the field, the extremes).
#include "text/print_format.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdio>

#include "text/code_page_932.h"
#include "text/console.h"

namespace {

// The catalogue's formats are the reference's input here, so they cannot be literals.
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
TEST(PrintFormat, MatchesSnprintfOnEveryCatalogueFormat) {
  const int samples[] = {0, 1, 9, 10, 15, 16, 99, 100, 255, 999, 1000, 4095, 4096, 9999, 10000, 65535, 65536,
                         99999, 1234567, INT_MAX, -1, -9, -10, -255, -65535, INT_MIN};
  for (int i = 0; i <= static_cast<int>(Text::Count); ++i) {
    const std::string pattern = i < static_cast<int>(Text::Count) ? consoleText(static_cast<Text>(i)) : "[%5d] [%06X] %05d|%2X";
    for (std::size_t first = 0; !compileFormat(pattern).takesText && first < std::size(samples); ++first) {
      int v[5];
      for (std::size_t k = 0; k < 5; ++k) v[k] = samples[(first + 7 * k) % std::size(samples)];
      char expected[512], digits[kIntegerRoom];
      const int length = std::snprintf(expected, sizeof expected, pattern.c_str(), v[0], v[1], v[2], v[3], v[4]);
      std::string out;
      for (std::size_t next = 0; const FormatPiece& piece : compileFormat(pattern).pieces) {
        out += piece.literal;
        if (piece.conversion != 0) out.append(digits, formatInteger(digits, v[next++], piece));
      }
      ASSERT_EQ(out, std::string(expected, static_cast<std::size_t>(length))) << pattern;
    }
  }
  EXPECT_TRUE(compileFormat("'%s' %d").takesText);
}

// The messages' encoder: characters code page 932 has (NUL, two-byte "§", three-byte "あ" and "ｱ") and lacks ("é",
// one beyond the BMP), and malformed UTF-8 (a lead byte cut by the end or by the next character, a stray continuation
// byte), where each byte that starts no whole sequence gives a '?'. The bytes are Python's cp932 codec's.
TEST(CodePage932, EncodesCharactersItHasAndQuestionMarksForTheRest) {
  using namespace std::string_view_literals;
  for (const auto& [utf8, expected] : {std::pair("A\0\xC2\xA7"sv, "A\0\x81\x98"sv), {"\xC3\xA9"sv, "?"sv},
                                       {"\xE3\x81\x82\xEF\xBD\xB1"sv, "\x82\xA0\xB1"sv}, {"\xF0\x9F\x98\x80"sv, "?"sv},
                                       {"A\xC3"sv, "A?"sv}, {"\xE3\x81"sv, "??"sv}, {"\x80"sv, "?"sv}, {"\xE3\x81" "A"sv, "??A"sv},
                                       {"\xF0\x9F\x98"sv, "???"sv}, {"\xC3\xC3\xA9\xC2\xA7"sv, "??\x81\x98"sv}}) {
    EXPECT_EQ(encodeCodePage932(utf8), expected) << testing::PrintToString(std::string(utf8));
  }
}

}  // namespace
