// Builds expected console text in tests, independently of the tool's own encoder: UTF-8 text is
// converted to code page 932 through the C library's iconv.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// The code page 932 bytes of UTF-8 text (through iconv's CP932).
std::string cp932(std::string_view utf8);

// printf into a std::string.
std::string format(const char* pattern, ...) __attribute__((format(printf, 1, 2)));

// A glyph row as the report draws it: ink "■" / paper "□" from bit (width - 1) down to bit 0, then "\n";
// in UTF-8 (convert the whole expected text with cp932()).
std::string markRow(unsigned value, int width);

// A BDF font's text: a header with FONTBOUNDINGBOX width 16, then one character per entry with
// "ENCODING code" and one bitmap line per row, each written with width / 4 hex digits.
struct BdfGlyph {
  int encoding;
  std::vector<unsigned> rows;
};
std::string bdfText(int width, const std::vector<BdfGlyph>& glyphs);
