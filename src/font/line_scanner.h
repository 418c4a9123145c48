// Splits a font's bytes into the reader's lines and tokens, from a file or from text in memory.
// Lines and tokens have the fixed limits the font format reading relies on, whatever the input holds.
#pragma once

#include <array>
#include <cstddef>
#include <cstdio>
#include <string_view>

inline constexpr std::size_t kMaxLineBytes = 255;   // longer lines come back in pieces
inline constexpr std::size_t kMaxTokenBytes = 49;   // longer tokens are cut
inline constexpr std::size_t kMaxTokens = 10;       // later tokens are dropped
inline constexpr std::size_t kScanChunkBytes = 65536;

struct LineScanner {
  std::FILE* file = nullptr;  // source when scanning a file (read in chunks)
  std::string_view text;      // source when scanning memory
  std::size_t textPos = 0;
  std::array<char, kScanChunkBytes> chunk;
  std::size_t chunkPos = 0;
  std::size_t chunkSize = 0;
  int pushedBack = -1;  // one byte of look-ahead for carriage return handling
  bool ended = false;   // end of input, a read error or the byte 0x1A
  std::array<char, kMaxLineBytes> line;
  std::size_t lineLength = 0;
};

// Reads the next line into scanner.line: at most kMaxLineBytes bytes, through the line feed if one comes
// first. A carriage return right before a line feed is dropped; 0x1A ends the input. False at the end.
bool nextLine(LineScanner& scanner);

// The tokens of a line: split at spaces, tabs and line feeds, up to the first NUL byte. Missing tokens are
// empty. Only the first three are kept, since nothing reads further.
struct LineTokens {
  std::array<std::string_view, 3> token;
  std::size_t count = 0;  // tokens found, at most kMaxTokens
};
LineTokens splitTokens(std::string_view line);
