// Line forming and tokenising for the BDF reader: text-mode input rules (CR LF as LF, 0x1A as the end)
// applied by hand so that files read the same on every platform. Ordinary bytes are copied in a tight
// loop over the bytes at hand; carriage returns and window ends take the careful path.
#include "font/line_scanner.h"

#include "font/c_number.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

namespace {

constexpr int kEndOfInput = -1;
constexpr char kEndOfFileMark = 0x1A;

void setWindow(LineScanner& scanner, const char* bytes, std::size_t size) {
  scanner.window = bytes;
  scanner.windowSize = size;
  scanner.windowPos = 0;
  // An empty window may have no buffer at all (an empty view), which memchr must never be given.
  scanner.windowClean =
      size > 0 && std::memchr(bytes, '\r', size) == nullptr && std::memchr(bytes, kEndOfFileMark, size) == nullptr;
}

// Refills the window from the file; false at the end of the input (or on a read error, which ends it too).
bool refill(LineScanner& scanner) {
  if (scanner.file == nullptr) return false;
  setWindow(scanner, scanner.chunk.data(), std::fread(scanner.chunk.data(), 1, scanner.chunk.size(), scanner.file));
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

unsigned digitOf(char c) { return kDigitValue[static_cast<unsigned char>(c)]; }

std::uint8_t classOf(char c) { return kByteClass[static_cast<unsigned char>(c)]; }

}  // namespace

void startScanning(LineScanner& scanner, std::FILE* file) {
  scanner.file = file;
  setWindow(scanner, scanner.chunk.data(), 0);
}

void startScanning(LineScanner& scanner, std::string_view text) {
  scanner.file = nullptr;
  setWindow(scanner, text.data(), text.size());
}

std::string_view nextLine(LineScanner& scanner) {
  // Fast path: a whole line lies in the window with no byte that needs care; hand it out in place.
  if (scanner.pushedBack < 0 && !scanner.ended) {
    const char* bytes = scanner.window + scanner.windowPos;
    const std::size_t take = std::min(scanner.windowSize - scanner.windowPos, kMaxLineBytes);
    std::size_t i = 0;
    if (scanner.windowClean) {
      const void* lineFeed = std::memchr(bytes, '\n', take);
      i = lineFeed ? static_cast<std::size_t>(static_cast<const char*>(lineFeed) - bytes) : take;
    } else {
      while (i < take && !(classOf(bytes[i]) & kNeedsCare)) ++i;
    }
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

bool nextPlainHexRow(LineScanner& scanner, std::uint32_t* value, std::size_t* digits) {
  if (!scanner.windowClean || scanner.pushedBack >= 0 || scanner.ended) return false;
  const char* bytes = scanner.window + scanner.windowPos;
  const std::size_t available = scanner.windowSize - scanner.windowPos;
  // Rows of four and of two digits, the forms fonts use, checked without a loop.
  if (available >= 5 && bytes[4] == '\n') {
    const unsigned d0 = digitOf(bytes[0]), d1 = digitOf(bytes[1]), d2 = digitOf(bytes[2]), d3 = digitOf(bytes[3]);
    if ((d0 | d1 | d2 | d3) <= 15) {
      scanner.windowPos += 5;
      *value = d0 << 12 | d1 << 8 | d2 << 4 | d3;
      *digits = 4;
      return true;
    }
  } else if (available >= 3 && bytes[2] == '\n') {
    const unsigned d0 = digitOf(bytes[0]), d1 = digitOf(bytes[1]);
    if ((d0 | d1) <= 15) {
      scanner.windowPos += 3;
      *value = d0 << 4 | d1;
      *digits = 2;
      return true;
    }
  }
  std::uint32_t sum = 0;
  std::size_t count = 0;
  for (; count < available && count < 8; ++count) {
    const std::uint8_t digit = kDigitValue[static_cast<unsigned char>(bytes[count])];
    if (digit > 15) break;
    sum = sum << 4 | digit;
  }
  // 1 to 7 digits cannot leave the signed 32-bit range, so no clamping is needed.
  if (count == 0 || count > 7 || count == available || bytes[count] != '\n') return false;
  scanner.windowPos += count + 1;
  *value = sum;
  *digits = count;
  return true;
}

std::string_view nextToken(std::string_view line, std::size_t* pos) {
  const char* const begin = line.data();
  const char* const end = begin + line.size();
  const char* start = begin + *pos;
  while (start < end && (classOf(*start) & kDelimiter)) ++start;
  const char* stop = start;
  while (stop < end && !(classOf(*stop) & (kDelimiter | kNul))) ++stop;
  // A NUL ends the line's text: nothing after it is a token.
  *pos = stop < end && *stop == '\0' ? line.size() : static_cast<std::size_t>(stop - begin);
  return std::string_view(start, std::min(static_cast<std::size_t>(stop - start), kMaxTokenBytes));
}

