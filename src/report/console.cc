// Console channel implementation: catalogue texts encoded once, formatted by a small printf subset
// straight into a 64 KiB buffer. A report of several megabytes thus costs a few large writes and no
// per-call set-up of the C library's formatted output.
#include "report/console.h"

#include <algorithm>
#include <array>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <vector>

#include "font/code_page_932.h"

namespace {

constexpr std::size_t kBufferBytes = 65536;

struct ConsoleState {
  std::array<char, kBufferBytes> buffer;
  std::size_t used = 0;
  std::string* capture = nullptr;
};

ConsoleState console;

void writeOut(const char* bytes, std::size_t length) {
  if (console.capture != nullptr) {
    console.capture->append(bytes, length);
  } else {
    // The console buffers by itself: standard output's own buffer would only split the writes.
    static const bool unbuffered = std::setvbuf(stdout, nullptr, _IONBF, 0) == 0;
    (void)unbuffered;
    // A failed write to standard output cannot be reported anywhere; the run goes on regardless.
    (void)std::fwrite(bytes, 1, length, stdout);
  }
}

// Formats one integer conversion (d or X, with optional 0 flag and width) into out; returns its length.
std::size_t formatInteger(char* out, int value, char conversion, bool zeroFill, int width) {
  char digits[16];
  std::size_t count = 0;
  const bool negative = conversion == 'd' && value < 0;
  unsigned magnitude = conversion == 'd' && negative ? 0u - static_cast<unsigned>(value) : static_cast<unsigned>(value);
  const unsigned base = conversion == 'd' ? 10 : 16;
  do {
    digits[count++] = "0123456789ABCDEF"[magnitude % base];
    magnitude /= base;
  } while (magnitude != 0);
  std::size_t length = 0;
  const std::size_t body = count + (negative ? 1 : 0);
  const std::size_t padding = static_cast<std::size_t>(width) > body ? static_cast<std::size_t>(width) - body : 0;
  if (!zeroFill) {
    std::memset(out, ' ', padding);
    length = padding;
  }
  if (negative) out[length++] = '-';
  if (zeroFill) {
    std::memset(out + length, '0', padding);
    length += padding;
  }
  while (count > 0) out[length++] = digits[--count];
  return length;
}

}  // namespace

const std::string& consoleText(Text text) {
  static const std::array<std::string, static_cast<int>(Text::Count)> encoded = [] {
    std::array<std::string, static_cast<int>(Text::Count)> all;
    for (int i = 0; i < static_cast<int>(Text::Count); ++i) all[i] = encodeCodePage932(textUtf8(static_cast<Text>(i)));
    return all;
  }();
  return encoded[static_cast<int>(text)];
}

void consoleWrite(std::string_view bytes) {
  if (bytes.size() > kBufferBytes - console.used) {
    consoleFlush();
    if (bytes.size() > kBufferBytes) {
      writeOut(bytes.data(), bytes.size());
      return;
    }
  }
  std::memcpy(console.buffer.data() + console.used, bytes.data(), bytes.size());
  console.used += bytes.size();
}

char* consoleReserve(std::size_t length) {
  if (length > kBufferBytes - console.used) consoleFlush();
  char* place = console.buffer.data() + console.used;
  console.used += length;
  return place;
}

namespace {

// Gives back the unused end of the last reservation.
void consoleUnreserve(std::size_t length) { console.used -= length; }

}  // namespace

namespace {

// One piece of a format: literal bytes, then (unless conversion is 0) one conversion.
struct FormatPiece {
  std::string_view literal;
  char conversion = 0;  // 's', 'd' or 'X'
  bool zeroFill = false;
  int width = 0;
};

// The catalogue's formats use only %s, %d and %X with an optional 0 flag and a width, which are
// handled exactly as printf handles them; any other '%' is copied as it stands.
std::vector<FormatPiece> compileFormat(std::string_view pattern) {
  std::vector<FormatPiece> pieces;
  std::size_t literalStart = 0;
  std::size_t pos = 0;
  while ((pos = pattern.find('%', pos)) != std::string_view::npos) {
    FormatPiece piece;
    std::size_t spec = pos + 1;
    if (spec < pattern.size() && pattern[spec] == '0') piece.zeroFill = true, ++spec;
    while (spec < pattern.size() && pattern[spec] >= '0' && pattern[spec] <= '9' && piece.width < 16) {
      piece.width = piece.width * 10 + (pattern[spec++] - '0');
    }
    if (spec >= pattern.size() || (pattern[spec] != 's' && pattern[spec] != 'd' && pattern[spec] != 'X')) {
      ++pos;
      continue;
    }
    piece.conversion = pattern[spec];
    piece.literal = pattern.substr(literalStart, pos - literalStart);
    pieces.push_back(piece);
    literalStart = pos = spec + 1;
  }
  pieces.push_back(FormatPiece{pattern.substr(literalStart), 0, false, 0});
  return pieces;
}

const std::vector<FormatPiece>& compiledFormat(Text text) {
  static const std::array<std::vector<FormatPiece>, static_cast<int>(Text::Count)> compiled = [] {
    std::array<std::vector<FormatPiece>, static_cast<int>(Text::Count)> all;
    for (int i = 0; i < static_cast<int>(Text::Count); ++i) all[i] = compileFormat(consoleText(static_cast<Text>(i)));
    return all;
  }();
  return compiled[static_cast<int>(text)];
}

}  // namespace

void consolePrint(Text format, ...) {
  std::va_list args;
  va_start(args, format);
  for (const FormatPiece& piece : compiledFormat(format)) {
    consoleWrite(piece.literal);
    if (piece.conversion == 's') {
      consoleWrite(va_arg(args, const char*));
    } else if (piece.conversion != 0) {
      char digits[32];
      const int value = va_arg(args, int);
      consoleWrite(std::string_view(digits, formatInteger(digits, value, piece.conversion, piece.zeroFill, piece.width)));
    }
  }
  va_end(args);
}

namespace {

template <typename Value>
void printCells(Text cell, Text blank, const Value* values, std::size_t count) {
  const std::vector<FormatPiece>& pieces = compiledFormat(cell);
  if (pieces.size() != 2 || pieces.front().conversion == 's') {  // not a one-number format
    for (std::size_t i = 0; i < count; ++i) {
      if (values[i] == 0 && blank != Text::Count) {
        consolePrint(blank);
      } else {
        consolePrint(cell, static_cast<int>(values[i]));
      }
    }
    return;
  }
  const FormatPiece& number = pieces.front();
  const std::string_view tail = pieces.back().literal;
  const std::string_view blankText = blank == Text::Count ? std::string_view() : consoleText(blank);
  const std::size_t widest = std::max(number.literal.size() + 32 + tail.size(), blankText.size());
  for (std::size_t i = 0; i < count; ++i) {
    char* out = consoleReserve(widest);
    char* start = out;
    if (values[i] == 0 && blank != Text::Count) {
      std::memcpy(out, blankText.data(), blankText.size());
      out += blankText.size();
    } else {
      std::memcpy(out, number.literal.data(), number.literal.size());
      out += number.literal.size();
      out += formatInteger(out, values[i], number.conversion, number.zeroFill, number.width);
      std::memcpy(out, tail.data(), tail.size());
      out += tail.size();
    }
    consoleUnreserve(widest - static_cast<std::size_t>(out - start));
  }
}

}  // namespace

void consolePrintCells(Text cell, Text blank, const std::uint8_t* values, std::size_t count) {
  printCells(cell, blank, values, count);
}

void consolePrintCells(Text cell, Text blank, const std::uint16_t* values, std::size_t count) {
  printCells(cell, blank, values, count);
}

void consoleFlush() {
  if (console.used > 0) writeOut(console.buffer.data(), console.used);
  console.used = 0;
  if (console.capture == nullptr) std::fflush(stdout);
}

void consoleCaptureTo(std::string* sink) {
  consoleFlush();
  console.capture = sink;
}
