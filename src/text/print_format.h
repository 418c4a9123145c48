// A compiled printf subset for the catalogue's formats: %s, %d and %X with an optional 0 flag and a
// width, formatted exactly as printf formats them, at a fraction of the cost of a printf call.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// One piece of a format: literal bytes, then (unless conversion is 0) one conversion.
struct FormatPiece {
  std::string_view literal;  // into CompiledFormat::literals, with kLiteralSlack readable bytes after it
  char conversion = 0;       // 's', 'd' or 'X'
  bool zeroFill = false;
  int width = 0;  // at most kMaxWidth
};

inline constexpr int kMaxWidth = 16;
inline constexpr std::size_t kLiteralSlack = 16;
// Room that formatInteger may write into: padding is written kMaxWidth bytes at a time.
inline constexpr std::size_t kIntegerRoom = kMaxWidth + 12 + 16;

struct CompiledFormat {
  std::vector<FormatPiece> pieces;  // the last piece has no conversion
  // Every literal, each followed by kLiteralSlack bytes. On the heap, so the pieces' views stay valid
  // when the compiled format is moved (it cannot be copied).
  std::unique_ptr<char[]> literals;
  bool takesText = false;           // has a %s, whose length is not known in advance
  std::size_t mostBytes = 0;        // without %s: the longest output, plus room for the fast copies
};

// Any '%' that does not start one of the supported conversions is copied as it stands.
CompiledFormat compileFormat(std::string_view pattern);

// Formats value for a d or X piece into out (which has kIntegerRoom bytes); returns its length.
std::size_t formatInteger(char* out, int value, const FormatPiece& piece);

// Copies a piece's literal to out (which has literal.size() + kLiteralSlack bytes); returns the end.
char* copyLiteral(char* out, std::string_view literal);
