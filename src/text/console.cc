// Console channel implementation: catalogue texts encoded once, formatted by a small printf subset
// straight into a 64 KiB buffer. A report of several megabytes thus costs a few large writes and no
// per-call set-up of the C library's formatted output.
#include "text/console.h"

#include <algorithm>
#include <array>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <vector>

#include "text/code_page_932.h"
#include "text/print_format.h"

namespace {

constexpr std::size_t kBufferBytes = 65536;

struct ConsoleState {
  std::array<char, kBufferBytes> buffer;
  std::size_t used = 0;
  std::string* capture = nullptr;
  bool outputFailed = false;  // some output could not be written to standard output
};

ConsoleState console;

void writeOut(const char* bytes, std::size_t length) {
  if (console.capture != nullptr) {
    console.capture->append(bytes, length);
  } else {
    // The console buffers by itself: standard output's own buffer would only split the writes.
    static const bool unbuffered = std::setvbuf(stdout, nullptr, _IONBF, 0) == 0;
    (void)unbuffered;
    // A failed write cannot be reported on the console itself: it is remembered for the exit status, and
    // the run goes on (the ROM files matter more than the report).
    if (std::fwrite(bytes, 1, length, stdout) != length) console.outputFailed = true;
  }
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

const CompiledFormat& compiledFormat(Text text) {
  static const std::array<CompiledFormat, static_cast<int>(Text::Count)> compiled = [] {
    std::array<CompiledFormat, static_cast<int>(Text::Count)> all;
    for (int i = 0; i < static_cast<int>(Text::Count); ++i) all[i] = compileFormat(consoleText(static_cast<Text>(i)));
    return all;
  }();
  return compiled[static_cast<int>(text)];
}

}  // namespace

void consolePrint(Text format, ...) {
  const CompiledFormat& compiled = compiledFormat(format);
  std::va_list args;
  va_start(args, format);
  if (!compiled.takesText) {
    // Everything fits a known bound: format straight into the buffer.
    char* const start = consoleReserve(compiled.mostBytes);
    char* out = start;
    for (const FormatPiece& piece : compiled.pieces) {
      out = copyLiteral(out, piece.literal);
      if (piece.conversion != 0) out += formatInteger(out, va_arg(args, int), piece);
    }
    consoleUnreserve(compiled.mostBytes - static_cast<std::size_t>(out - start));
  } else {
    for (const FormatPiece& piece : compiled.pieces) {
      consoleWrite(piece.literal);
      if (piece.conversion == 's') {
        consoleWrite(va_arg(args, const char*));
      } else if (piece.conversion != 0) {
        char digits[kIntegerRoom];
        const int value = va_arg(args, int);
        consoleWrite(std::string_view(digits, formatInteger(digits, value, piece)));
      }
    }
  }
  va_end(args);
}

namespace {

template <typename Value>
void printCells(Text cell, Text blank, const Value* values, std::size_t count) {
  const std::vector<FormatPiece>& pieces = compiledFormat(cell).pieces;
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
  const std::size_t widest = std::max(number.literal.size() + kIntegerRoom + tail.size(), blankText.size());
  // Rows are mostly runs of one value (zeros, blanks): the last cell's bytes are kept for reuse.
  char lastCell[64];
  std::size_t lastLength = 0;
  Value lastValue = 0;
  for (std::size_t i = 0; i < count; ++i) {
    char* out = consoleReserve(widest);
    char* const start = out;
    if (lastLength != 0 && values[i] == lastValue) {
      std::memcpy(out, lastCell, lastLength);
      out += lastLength;
    } else {
      if (values[i] == 0 && blank != Text::Count) {
        std::memcpy(out, blankText.data(), blankText.size());
        out += blankText.size();
      } else {
        std::memcpy(out, number.literal.data(), number.literal.size());
        out += number.literal.size();
        out += formatInteger(out, values[i], number);
        std::memcpy(out, tail.data(), tail.size());
        out += tail.size();
      }
      lastValue = values[i];
      lastLength = static_cast<std::size_t>(out - start);
      if (lastLength > sizeof lastCell) lastLength = 0;  // too long to keep: never reused
      if (lastLength != 0) std::memcpy(lastCell, start, lastLength);
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
  if (console.capture == nullptr && std::fflush(stdout) != 0) console.outputFailed = true;
}

bool consoleOutputFailed() { return console.outputFailed; }

void consoleCaptureTo(std::string* sink) {
  consoleFlush();
  console.capture = sink;
}
