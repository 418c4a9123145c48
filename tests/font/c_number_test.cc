// Tests of the reader's number conversions: ENCODING values (decimal) and bitmap rows (base 16).
// Both must give the same numbers on every platform, whatever the width of long.
#include "font/c_number.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace {

constexpr std::int32_t kMax = INT32_MAX;
constexpr std::int32_t kMin = INT32_MIN;

TEST(ParseDecimal32, ReadsSignAndLeadingDigitsAfterWhiteSpace) {
  EXPECT_EQ(parseDecimal32(""), 0);
  EXPECT_EQ(parseDecimal32("abc"), 0);
  EXPECT_EQ(parseDecimal32("9250"), 9250);
  EXPECT_EQ(parseDecimal32("+65"), 65);
  EXPECT_EQ(parseDecimal32("-1"), -1);
  EXPECT_EQ(parseDecimal32(" \t\r\n\v\f77"), 77);
  EXPECT_EQ(parseDecimal32("65\r"), 65);  // a carriage return left in a token ends the digits
  EXPECT_EQ(parseDecimal32("12abc"), 12);
  EXPECT_EQ(parseDecimal32("1a"), 1);      // hex letters are not decimal digits
  EXPECT_EQ(parseDecimal32("0x41"), 0);    // no hex prefix in decimal
  EXPECT_EQ(parseDecimal32("- 5"), 0);     // nothing may stand between sign and digits
  EXPECT_EQ(parseDecimal32("+-5"), 0);
  EXPECT_EQ(parseDecimal32("-"), 0);
  EXPECT_EQ(parseDecimal32("00000000000000000000000000000000000042"), 42);
  // Only the characters of the view count, not what follows it in memory.
  EXPECT_EQ(parseDecimal32(std::string_view("123456", 3)), 123);
}

TEST(ParseDecimal32, ClampsToSigned32Bits) {
  EXPECT_EQ(parseDecimal32("2147483647"), kMax);
  EXPECT_EQ(parseDecimal32("2147483648"), kMax);
  EXPECT_EQ(parseDecimal32("4294967361"), kMax);  // 2^32 + 65: no wrap to 65
  EXPECT_EQ(parseDecimal32("18446744073709551681"), kMax);  // 2^64 + 65: no wrap in 64 bits either
  EXPECT_EQ(parseDecimal32(std::string(200, '9')), kMax);
  EXPECT_EQ(parseDecimal32("-2147483647"), -2147483647);
  EXPECT_EQ(parseDecimal32("-2147483648"), kMin);
  EXPECT_EQ(parseDecimal32("-2147483649"), kMin);
  EXPECT_EQ(parseDecimal32("-4294967231"), kMin);  // -(2^32 - 65): no wrap to 65
  EXPECT_EQ(parseDecimal32("-" + std::string(200, '9')), kMin);
}

TEST(ParseHex32, ReadsSignPrefixAndLeadingHexDigits) {
  EXPECT_EQ(parseHex32(""), 0);
  EXPECT_EQ(parseHex32("ff"), 0xFF);
  EXPECT_EQ(parseHex32("C3a5"), 0xC3A5);
  EXPECT_EQ(parseHex32("0x1f"), 0x1F);
  EXPECT_EQ(parseHex32("0X1F"), 0x1F);
  EXPECT_EQ(parseHex32("-0x10"), -16);
  EXPECT_EQ(parseHex32("+0x10"), 16);
  EXPECT_EQ(parseHex32("-1"), -1);
  EXPECT_EQ(parseHex32(" \r\t0x7"), 7);
  EXPECT_EQ(parseHex32("7Fjunk"), 0x7F);
  EXPECT_EQ(parseHex32("1g"), 1);
  EXPECT_EQ(parseHex32("g"), 0);
  EXPECT_EQ(parseHex32("x5"), 0);
  // "0x" without a hex digit after it is the number 0 followed by junk.
  EXPECT_EQ(parseHex32("0x"), 0);
  EXPECT_EQ(parseHex32("0xg"), 0);
  EXPECT_EQ(parseHex32("0x0x5"), 0);
  EXPECT_EQ(parseHex32("- 5"), 0);
  EXPECT_EQ(parseHex32("000000000000000000000000000000000000000001"), 1);
  // The prefix check and the digits stay inside the view.
  EXPECT_EQ(parseHex32(std::string_view("0x12", 2)), 0);
  EXPECT_EQ(parseHex32(std::string_view("ab", 1)), 0xA);
}

TEST(ParseHex32, ClampsToSigned32Bits) {
  EXPECT_EQ(parseHex32("7FFFFFFF"), kMax);
  EXPECT_EQ(parseHex32("80000000"), kMax);
  EXPECT_EQ(parseHex32("FFFFFFFF"), kMax);
  EXPECT_EQ(parseHex32("100000041"), kMax);  // no wrap to 0x41
  EXPECT_EQ(parseHex32("0x" + std::string(100, 'F')), kMax);
  EXPECT_EQ(parseHex32("-7FFFFFFF"), -0x7FFFFFFF);
  EXPECT_EQ(parseHex32("-80000000"), kMin);
  EXPECT_EQ(parseHex32("-80000001"), kMin);
  EXPECT_EQ(parseHex32("-FFFFFFFFFFFFFFFF"), kMin);  // -(2^64 - 1) would wrap to 1 in 64 bits
}

}  // namespace
