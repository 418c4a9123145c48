// Access to the real Shinonome fonts (converted to BDF by the test command) and a plain BDF glyph parser
// for checking the tool against them. Tests skip when the fonts are absent, and fail instead when
// MASKBURN_REQUIRE_REAL_FONTS is set, so CI cannot pass without them.
#pragma once

#include <string>
#include <vector>

// The folder named by MASKBURN_FONT_DIR holding NAME.bdf, or "" (after marking the test skipped or
// failed) when the font is not there. Use: auto path = realFontPath("shnmk16"); if (path.empty()) return;
std::string realFontPath(const std::string& name);

struct ParsedGlyph {
  long encoding = 0;
  std::vector<unsigned long> rows;  // bitmap lines as written
};

// Every character of a BDF file in file order, as written (independent of the tool's reader).
std::vector<ParsedGlyph> parseBdfGlyphs(const std::string& path);
