// The compiled printf subset: formats parsed once, integers formatted by hand, short literals copied in
// fixed 16-byte moves (every literal is stored with slack after it).
#include "text/print_format.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace {

// "00" to "99": decimal digits two at a time.
constexpr std::array<char, 200> kDigitPairs = [] {
  std::array<char, 200> pairs{};
  for (int i = 0; i < 100; ++i) {
    pairs[static_cast<std::size_t>(2 * i)] = static_cast<char>('0' + i / 10);
    pairs[static_cast<std::size_t>(2 * i + 1)] = static_cast<char>('0' + i % 10);
  }
  return pairs;
}();

int countDecimalDigits(unsigned magnitude) {
  int digits = 1;
  for (; magnitude >= 100; magnitude /= 100) digits += 2;
  return magnitude >= 10 ? digits + 1 : digits;
}

int countHexDigits(unsigned magnitude) {
  int digits = 1;
  for (magnitude >>= 4; magnitude != 0; magnitude >>= 4) ++digits;
  return digits;
}

// Writes the digits of magnitude so that they end just before last.
void putDecimalDigits(char* last, unsigned magnitude) {
  for (; magnitude >= 100; magnitude /= 100) {
    last -= 2;
    std::memcpy(last, &kDigitPairs[2 * (magnitude % 100)], 2);
  }
  if (magnitude >= 10) {
    last -= 2;
    std::memcpy(last, &kDigitPairs[2 * magnitude], 2);
  } else {
    *--last = static_cast<char>('0' + magnitude);
  }
}

void putHexDigits(char* last, unsigned magnitude, int digits) {
  for (; digits > 0; --digits, magnitude >>= 4) *--last = "0123456789ABCDEF"[magnitude & 0xF];
}

}  // namespace

CompiledFormat compileFormat(std::string_view pattern) {
  CompiledFormat compiled;
  std::vector<std::pair<std::size_t, std::size_t>> literalRanges;  // into pattern
  std::size_t literalStart = 0;
  std::size_t pos = 0;
  while ((pos = pattern.find('%', pos)) != std::string_view::npos) {
    FormatPiece piece;
    std::size_t at = pos + 1;  // past the '%': flag, width, then the conversion letter
    if (at < pattern.size() && pattern[at] == '0') piece.zeroFill = true, ++at;
    while (at < pattern.size() && pattern[at] >= '0' && pattern[at] <= '9') {
      piece.width = std::min(piece.width * 10 + (pattern[at++] - '0'), kMaxWidth);
    }
    if (at >= pattern.size() || (pattern[at] != 's' && pattern[at] != 'd' && pattern[at] != 'X')) {
      ++pos;
      continue;
    }
    piece.conversion = pattern[at];
    compiled.takesText = compiled.takesText || piece.conversion == 's';
    literalRanges.emplace_back(literalStart, pos - literalStart);
    compiled.pieces.push_back(piece);
    literalStart = pos = at + 1;
  }
  literalRanges.emplace_back(literalStart, pattern.size() - literalStart);
  compiled.pieces.push_back(FormatPiece{});

  // Lay out the literals with their slack, then point the pieces at them.
  std::size_t total = 0;
  for (const auto& range : literalRanges) total += range.second + kLiteralSlack;
  compiled.literals = std::make_unique<char[]>(total);  // zero-filled, slack included
  std::size_t offset = 0;
  for (std::size_t i = 0; i < compiled.pieces.size(); ++i) {
    const auto [start, length] = literalRanges[i];
    std::memcpy(compiled.literals.get() + offset, pattern.data() + start, length);
    FormatPiece& piece = compiled.pieces[i];
    piece.literal = std::string_view(compiled.literals.get() + offset, length);
    offset += length + kLiteralSlack;
    compiled.mostBytes += piece.literal.size() + kLiteralSlack + (piece.conversion != 0 ? kIntegerRoom : 0);
  }
  return compiled;
}

std::size_t formatInteger(char* out, int value, const FormatPiece& piece) {
  const bool decimal = piece.conversion == 'd';
  const bool negative = decimal && value < 0;
  const unsigned magnitude = negative ? 0u - static_cast<unsigned>(value) : static_cast<unsigned>(value);
  const int digits = decimal ? countDecimalDigits(magnitude) : countHexDigits(magnitude);
  const int padding = piece.width - digits - (negative ? 1 : 0);
  char* next = out;
  if (padding > 0 && !piece.zeroFill) {
    std::memcpy(next, "                ", kMaxWidth);
    next += padding;
  }
  if (negative) *next++ = '-';
  if (padding > 0 && piece.zeroFill) {
    std::memcpy(next, "0000000000000000", kMaxWidth);
    next += padding;
  }
  next += digits;
  if (decimal) {
    putDecimalDigits(next, magnitude);
  } else {
    putHexDigits(next, magnitude, digits);
  }
  return static_cast<std::size_t>(next - out);
}

char* copyLiteral(char* out, std::string_view literal) {
  if (literal.size() <= kLiteralSlack) {
    std::memcpy(out, literal.data(), kLiteralSlack);  // a fixed-size move; the slack makes it safe
  } else {
    std::memcpy(out, literal.data(), literal.size());
  }
  return out + literal.size();
}
