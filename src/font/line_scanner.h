// Splits a font's bytes into the reader's lines and tokens, from a file or from text in memory.
// Lines and tokens have the fixed limits the font format reading relies on, whatever the input holds.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string_view>

inline constexpr std::size_t kMaxLineBytes = 255;  // longer lines come back in pieces
inline constexpr std::size_t kMaxTokenBytes = 49;  // longer tokens are cut
inline constexpr std::size_t kMaxTokens = 10;      // later tokens are dropped
inline constexpr std::size_t kScanChunkBytes = 65536;

struct LineScanner {
  std::FILE* file = nullptr;  // source when scanning a file, read in chunks; nullptr for text in memory
  const char* window = nullptr;  // the bytes at hand: the current chunk, or the whole text
  std::size_t windowSize = 0;
  std::size_t windowPos = 0;
  bool windowClean = false;  // the window holds no carriage return and no 0x1A: lines end at line feeds
  int pushedBack = -1;  // one byte of look-ahead for carriage return handling
  bool ended = false;   // end of input, a read error or the byte 0x1A
  std::array<char, kMaxLineBytes> line;  // a line that could not be handed out in place
  std::array<char, kScanChunkBytes> chunk;
};

// Prepares a scanner over a file (read from its current position) or over text in memory.
void startScanning(LineScanner& scanner, std::FILE* file);
void startScanning(LineScanner& scanner, std::string_view text);

// The next line: at most kMaxLineBytes bytes, through the line feed if one comes first. A carriage return
// right before a line feed is dropped; 0x1A ends the input. Empty at the end of the input. The view is
// valid until the next call (it points into the input, or into scanner.line when assembled there).
std::string_view nextLine(LineScanner& scanner);

// The common bitmap row: a line of 1 to 7 hex digits and its line feed, lying whole in a window without
// carriage returns or 0x1A. Takes it and gives its value and its number of digits, or takes nothing and
// returns false, in which case nextLine gives the same line (whose first token then reads as the same
// number, from as many digits).
bool nextPlainHexRow(LineScanner& scanner, std::uint32_t* value, std::size_t* digits);

// Tokens are split at spaces, tabs and line feeds, up to the first NUL byte, each cut to kMaxTokenBytes.
// Only the first three tokens of a line are ever looked at (the kMaxTokens limit can never change them),
// and most lines need only the first, so tokens are taken one at a time.

// The next token of line from *pos on, moving *pos past it; empty when there is none.
std::string_view nextToken(std::string_view line, std::size_t* pos);

