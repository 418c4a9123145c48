// A UTF-8 text drawn as the device draws it: glyph after glyph from the left, half-width 8 pixels wide,
// full-width 16, black ink on white paper, 16 pixels high.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "canvas.h"
#include "romfont.h"

struct TextPicture {
  Canvas canvas{0, 0, Color::Paper};
  std::vector<std::string> notes;  // characters the ROM lacks and malformed UTF-8, one line each
  std::string romError;            // set when the ROM itself failed (damaged, unreadable): nothing is drawn
};

// Characters the ROM lacks, and malformed UTF-8, are drawn as the ROM's own middle dot (U+30FB full-width,
// JIS X 0201 0xA5 half-width) or, when the ROM has none, as an empty box of the character's width.
TextPicture drawText(const romfont& font, std::string_view utf8);
