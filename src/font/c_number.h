// The two number conversions of the BDF reader, as a C library with a 32-bit long performs them.
// Fonts must read the same on every platform, so neither depends on the width of the platform's long.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

// The value of each byte as a hexadecimal (or decimal) digit, 0-15; 16 for a byte that is no digit.
inline constexpr std::array<std::uint8_t, 256> kDigitValue = [] {
  std::array<std::uint8_t, 256> values{};
  values.fill(16);
  for (int c = '0'; c <= '9'; ++c) values[static_cast<std::size_t>(c)] = static_cast<std::uint8_t>(c - '0');
  for (int c = 'a'; c <= 'f'; ++c) values[static_cast<std::size_t>(c)] = static_cast<std::uint8_t>(c - 'a' + 10);
  for (int c = 'A'; c <= 'F'; ++c) values[static_cast<std::size_t>(c)] = static_cast<std::uint8_t>(c - 'A' + 10);
  return values;
}();

// Leading white space, an optional sign, then the leading decimal digits; 0 when there are none.
// A value beyond the signed 32-bit range counts as 2147483647, or -2147483648 with a minus sign.
std::int32_t parseDecimal32(std::string_view text);

// As parseDecimal32 in base 16, with an optional 0x or 0X prefix after the sign.
std::int32_t parseHex32(std::string_view text);

// parseHex32, also giving how many digits the number was read from (after the sign and prefix).
std::int32_t parseHex32WithDigits(std::string_view text, std::size_t* digits);
