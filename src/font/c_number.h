// The two number conversions of the BDF reader, as a C library with a 32-bit long performs them.
// Fonts must read the same on every platform, so neither depends on the width of the platform's long.
#pragma once

#include <cstdint>
#include <string_view>

// Leading white space, an optional sign, then the leading decimal digits; 0 when there are none.
// A value beyond the signed 32-bit range counts as 2147483647, or -2147483648 with a minus sign.
std::int32_t parseDecimal32(std::string_view text);

// As parseDecimal32 in base 16, with an optional 0x or 0X prefix after the sign.
std::int32_t parseHex32(std::string_view text);
