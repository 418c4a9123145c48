// Line forming and tokenising for the BDF reader: text-mode input rules (CR LF as LF, 0x1A as the end)
// applied by hand so that files read the same on every platform. Ordinary bytes are copied in a tight
// loop over the bytes at hand; carriage returns and window ends take the careful path.
#include "font/line_scanner.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace {

constexpr int kEndOfInput = -1;
constexpr char kEndOfFileMark = 0x1A;

// Refills the window from the file; false at the end of the input (or on a read error, which ends it too).
bool refill(LineScanner& scanner) {
  if (scanner.file == nullptr) return false;
  scanner.windowSize = std::fread(scanner.chunk.data(), 1, scanner.chunk.size(), scanner.file);
  scanner.windowPos = 0;
  return scanner.windowSize > 0;
}

int rawByte(LineScanner& scanner) {
  if (scanner.windowPos == scanner.windowSize && !refill(scanner)) return kEndOfInput;
  return static_cast<unsigned char>(scanner.window[scanner.windowPos++]);
}

// The next byte of the text as the reader sees it: CR before LF removed, nothing after 0x1A.
int nextByte(LineScanner& scanner) {
  if (scanner.ended) return kEndOfInput;
  int byte = scanner.pushedBack;
  scanner.pushedBack = -1;
  if (byte < 0) byte = rawByte(scanner);
  if (byte == '\r') {
    const int following = rawByte(scanner);
    if (following == '\n') {
      byte = '\n';
    } else {
      scanner.pushedBack = following;
    }
  }
  if (byte == kEndOfInput || byte == kEndOfFileMark) {
    scanner.ended = true;
    return kEndOfInput;
  }
  return byte;
}

// Byte classes for the scans below, one table lookup per byte.
enum ByteClass : std::uint8_t { kPlain = 0, kDelimiter = 1, kNul = 2, kNeedsCare = 4 };

constexpr std::array<std::uint8_t, 256> kByteClass = [] {
  std::array<std::uint8_t, 256> classes{};
  classes[' '] = classes['\t'] = kDelimiter;
  classes['\n'] = kDelimiter | kNeedsCare;  // ends a line
  classes['\0'] = kNul;
  classes['\r'] = kNeedsCare;  // dropped before a line feed
  classes[static_cast<unsigned char>(kEndOfFileMark)] = kNeedsCare;  // ends the input
  return classes;
}();

std::uint8_t classOf(char c) { return kByteClass[static_cast<unsigned char>(c)]; }

}  // namespace

void startScanning(LineScanner& scanner, std::FILE* file) {
  scanner.file = file;
  scanner.window = scanner.chunk.data();
  scanner.windowSize = scanner.windowPos = 0;
}

void startScanning(LineScanner& scanner, std::string_view text) {
  scanner.file = nullptr;
  scanner.window = text.data();
  scanner.windowSize = text.size();
  scanner.windowPos = 0;
}

std::string_view nextLine(LineScanner& scanner) {
  // Fast path: a whole line lies in the window with no byte that needs care; hand it out in place.
  if (scanner.pushedBack < 0 && !scanner.ended) {
    const char* bytes = scanner.window + scanner.windowPos;
    const std::size_t take = std::min(scanner.windowSize - scanner.windowPos, kMaxLineBytes);
    std::size_t i = 0;
    while (i < take && !(classOf(bytes[i]) & kNeedsCare)) ++i;
    if (i < take && bytes[i] == '\n') {
      scanner.windowPos += i + 1;
      return std::string_view(bytes, i + 1);
    }
    if (i == kMaxLineBytes) {  // a line cut at 255 bytes: its rest comes back as the next line
      scanner.windowPos += i;
      return std::string_view(bytes, i);
    }
  }
  // Careful path, byte by byte into the line buffer.
  std::size_t length = 0;
  while (length < kMaxLineBytes) {
    const int byte = nextByte(scanner);
    if (byte == kEndOfInput) break;
    scanner.line[length++] = static_cast<char>(byte);
    if (byte == '\n') break;
  }
  return std::string_view(scanner.line.data(), length);
}

LineTokens splitTokens(std::string_view line) {
  LineTokens tokens;
  const char* pos = line.data();
  const char* const end = pos + line.size();
  while (tokens.count < tokens.token.size()) {
    while (pos < end && (classOf(*pos) & kDelimiter)) ++pos;
    if (pos == end || *pos == '\0') break;  // a NUL ends the line's text
    const char* tokenEnd = pos;
    while (tokenEnd < end && !(classOf(*tokenEnd) & (kDelimiter | kNul))) ++tokenEnd;
    tokens.token[tokens.count++] =
        std::string_view(pos, std::min(static_cast<std::size_t>(tokenEnd - pos), kMaxTokenBytes));
    pos = tokenEnd;
  }
  return tokens;
}
