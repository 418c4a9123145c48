// Decimal and hexadecimal conversions that clamp to signed 32 bits the way a C library's
// strtol does where long is 32 bits, while reading any number of digits without overflow.
#include "font/c_number.h"


namespace {

bool isCSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

int digitValue(char c, int base) {
  const int value = kDigitValue[static_cast<unsigned char>(c)];
  return value < base ? value : -1;
}

std::int32_t parseInBase(std::string_view text, int base, std::size_t* digits) {
  std::size_t pos = 0;
  while (pos < text.size() && isCSpace(text[pos])) ++pos;
  bool negative = false;
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) negative = text[pos++] == '-';
  // "0x" counts as a prefix only when a hex digit follows; otherwise the 0 alone is the number.
  if (base == 16 && pos + 2 < text.size() && text[pos] == '0' && (text[pos + 1] == 'x' || text[pos + 1] == 'X') &&
      digitValue(text[pos + 2], 16) >= 0) {
    pos += 2;
  }
  // The magnitude saturates just above 2^31, which is enough to tell every clamp apart.
  constexpr std::uint64_t kSaturated = std::uint64_t{1} << 32;
  std::uint64_t magnitude = 0;
  const std::size_t firstDigit = pos;
  for (; pos < text.size(); ++pos) {
    int digit = digitValue(text[pos], base);
    if (digit < 0) break;
    magnitude = magnitude * static_cast<std::uint64_t>(base) + static_cast<std::uint64_t>(digit);
    if (magnitude > kSaturated) magnitude = kSaturated;
  }
  if (digits != nullptr) *digits = pos - firstDigit;
  if (negative) {
    if (magnitude >= (std::uint64_t{1} << 31)) return INT32_MIN;
    return static_cast<std::int32_t>(-static_cast<std::int64_t>(magnitude));
  }
  if (magnitude > static_cast<std::uint64_t>(INT32_MAX)) return INT32_MAX;
  return static_cast<std::int32_t>(magnitude);
}

}  // namespace

std::int32_t parseDecimal32(std::string_view text) { return parseInBase(text, 10, nullptr); }

std::int32_t parseHex32(std::string_view text) { return parseInBase(text, 16, nullptr); }

std::int32_t parseHex32WithDigits(std::string_view text, std::size_t* digits) { return parseInBase(text, 16, digits); }
