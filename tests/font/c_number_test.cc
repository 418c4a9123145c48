// Tests of the reader's number conversions: ENCODING values (decimal) and bitmap rows (base 16).
// Both must give the same numbers on every platform, whatever the width of long.
#include "font/c_number.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {

using Cases = std::vector<std::pair<std::string, std::int32_t>>;

void expectAll(std::int32_t (*parse)(std::string_view), const Cases& cases) {
  for (const auto& [text, value] : cases) EXPECT_EQ(parse(text), value) << "text \"" << text << "\"";
}

TEST(ParseDecimal32, ReadsSignAndLeadingDigitsAfterWhiteSpace) {
  expectAll(parseDecimal32, {
      {"", 0}, {"abc", 0}, {"9250", 9250}, {"+65", 65}, {"-1", -1}, {" \t\r\n\v\f77", 77},
      {"65\r", 65}, {"12abc", 12}, {"1a", 1}, {"0x41", 0},  // no hex digits or prefix in decimal
      {"- 5", 0}, {"+-5", 0}, {"-", 0},                     // nothing may stand between sign and digits
      {std::string(40, '0') + "42", 42},
  });
  // Only the characters of the view count, not what follows it in memory.
  EXPECT_EQ(parseDecimal32(std::string_view("123456", 3)), 123);
}

TEST(ParseDecimal32, ClampsToSigned32Bits) {
  expectAll(parseDecimal32, {
      {"2147483647", INT32_MAX}, {"2147483648", INT32_MAX},
      {"4294967361", INT32_MAX},            // 2^32 + 65: no wrap to 65
      {"18446744073709551681", INT32_MAX},  // 2^64 + 65: no wrap in 64 bits either
      {std::string(200, '9'), INT32_MAX},
      {"-2147483647", -2147483647}, {"-2147483648", INT32_MIN}, {"-2147483649", INT32_MIN},
      {"-4294967231", INT32_MIN},  // -(2^32 - 65): no wrap to 65
      {"-" + std::string(200, '9'), INT32_MIN},
  });
}

TEST(ParseHex32, ReadsSignPrefixAndLeadingHexDigits) {
  expectAll(parseHex32, {
      {"", 0}, {"ff", 0xFF}, {"C3a5", 0xC3A5}, {"0x1f", 0x1F}, {"0X1F", 0x1F}, {"-0x10", -16}, {"+0x10", 16},
      {"-1", -1}, {" \r\t0x7", 7}, {"7Fjunk", 0x7F}, {"1g", 1}, {"g", 0}, {"x5", 0}, {"- 5", 0},
      {"0x", 0}, {"0xg", 0}, {"0x0x5", 0},  // "0x" without a hex digit after it: the number 0, then junk
      {std::string(40, '0') + "1", 1},
  });
  // The prefix check and the digits stay inside the view.
  EXPECT_EQ(parseHex32(std::string_view("ab", 1)), 0xA);
  const auto prefixOnly = std::make_unique<char[]>(2);  // no byte after it: a sanitizer build sees any read
  prefixOnly[0] = '0';
  prefixOnly[1] = 'x';
  EXPECT_EQ(parseHex32(std::string_view(prefixOnly.get(), 2)), 0);
}

TEST(ParseHex32, ClampsToSigned32Bits) {
  expectAll(parseHex32, {
      {"7FFFFFFF", INT32_MAX}, {"80000000", INT32_MAX}, {"FFFFFFFF", INT32_MAX},
      {"100000041", INT32_MAX},  // no wrap to 0x41
      {"0x" + std::string(100, 'F'), INT32_MAX},
      {"-7FFFFFFF", -0x7FFFFFFF}, {"-80000000", INT32_MIN}, {"-80000001", INT32_MIN},
      {"-FFFFFFFFFFFFFFFF", INT32_MIN},  // -(2^64 - 1) would wrap to 1 in 64 bits
  });
}

}  // namespace
