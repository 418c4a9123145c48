// Test support: independent code page 932 conversion and small formatting helpers.
#include "support/text_builder.h"

#include <iconv.h>

#include <cstdarg>
#include <cstdio>
#include <stdexcept>

std::string cp932(std::string_view utf8) {
  iconv_t converter = iconv_open("CP932", "UTF-8");
  if (converter == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error("iconv has no CP932");
  std::string input(utf8);
  std::string output(input.size() * 2 + 16, '\0');
  char* in = input.data();
  std::size_t inLeft = input.size();
  char* out = output.data();
  std::size_t outLeft = output.size();
  const std::size_t result = iconv(converter, &in, &inLeft, &out, &outLeft);
  iconv_close(converter);
  if (result == static_cast<std::size_t>(-1)) throw std::runtime_error("text not representable in CP932");
  output.resize(output.size() - outLeft);
  return output;
}

std::string format(const char* pattern, ...) {
  std::va_list args;
  va_start(args, pattern);
  char buffer[1024];
  const int length = std::vsnprintf(buffer, sizeof buffer, pattern, args);
  va_end(args);
  return std::string(buffer, static_cast<std::size_t>(length));
}

std::string markRow(unsigned value, int width) {
  std::string row;
  for (int bit = width - 1; bit >= 0; --bit) row += (value >> bit & 1) ? "■" : "□";
  return row + "\n";
}

std::string bdfText(int width, const std::vector<BdfGlyph>& glyphs) {
  std::string text = "STARTFONT 2.1\nFONT test\nSIZE 16 75 75\n";
  text += format("FONTBOUNDINGBOX %d 16 0 -2\nCHARS %zu\n", width, glyphs.size());
  for (const BdfGlyph& glyph : glyphs) {
    text += format("STARTCHAR c%d\nENCODING %d\nSWIDTH 960 0\nDWIDTH %d 0\nBBX %d 16 0 -2\nBITMAP\n", glyph.encoding,
                   glyph.encoding, width, width);
    for (unsigned row : glyph.rows) text += format("%0*X\n", width / 4, row);
    text += "ENDCHAR\n";
  }
  return text + "ENDFONT\n";
}
