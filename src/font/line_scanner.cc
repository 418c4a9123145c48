// Line forming and tokenising for the BDF reader: text-mode input rules (CR LF as LF, 0x1A as the end)
// applied by hand so that files read the same on every platform.
#include "font/line_scanner.h"

#include <algorithm>

namespace {

constexpr int kEndOfInput = -1;
constexpr int kEndOfFileMark = 0x1A;

int rawByte(LineScanner& scanner) {
  if (scanner.file == nullptr) {
    if (scanner.textPos >= scanner.text.size()) return kEndOfInput;
    return static_cast<unsigned char>(scanner.text[scanner.textPos++]);
  }
  if (scanner.chunkPos == scanner.chunkSize) {
    scanner.chunkSize = std::fread(scanner.chunk.data(), 1, scanner.chunk.size(), scanner.file);
    scanner.chunkPos = 0;
    if (scanner.chunkSize == 0) return kEndOfInput;  // end of file or read error: both end the input
  }
  return static_cast<unsigned char>(scanner.chunk[scanner.chunkPos++]);
}

// The next byte of the text as the reader sees it: CR before LF removed, nothing after 0x1A.
int nextByte(LineScanner& scanner) {
  if (scanner.ended) return kEndOfInput;
  int byte = scanner.pushedBack;
  scanner.pushedBack = -1;
  if (byte < 0) byte = rawByte(scanner);
  if (byte == '\r') {
    int following = rawByte(scanner);
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

bool isDelimiter(char c) { return c == ' ' || c == '\t' || c == '\n'; }

}  // namespace

bool nextLine(LineScanner& scanner) {
  scanner.lineLength = 0;
  while (scanner.lineLength < kMaxLineBytes) {
    int byte = nextByte(scanner);
    if (byte == kEndOfInput) break;
    scanner.line[scanner.lineLength++] = static_cast<char>(byte);
    if (byte == '\n') break;
  }
  return scanner.lineLength > 0;
}

LineTokens splitTokens(std::string_view line) {
  line = line.substr(0, std::min(line.size(), line.find('\0')));
  LineTokens tokens;
  std::size_t pos = 0;
  while (tokens.count < kMaxTokens) {
    while (pos < line.size() && isDelimiter(line[pos])) ++pos;
    if (pos == line.size()) break;
    std::size_t end = pos;
    while (end < line.size() && !isDelimiter(line[end])) ++end;
    if (tokens.count < tokens.token.size()) {
      tokens.token[tokens.count] = line.substr(pos, std::min(end - pos, kMaxTokenBytes));
    }
    ++tokens.count;
    pos = end;
  }
  return tokens;
}
