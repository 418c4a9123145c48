// A UTF-8 text as text art: each character's glyph as rows of '#' (ink) and '.' (paper), the form firmware
// prints on a serial port to show what it draws.
#pragma once

#include <string>
#include <string_view>

#include "romfont.h"

struct TextArt {
  std::string art;       // the whole art, every line ending in "\n"
  bool romFailed = false;  // a character met a damaged or unreadable ROM (its header names the result)
};

// For each character romfont's walker gives: "U+XXXX", then either 16 rows of its glyph, 8 or 16 characters
// wide, top row first, or, when the ROM gives no glyph, a space and romfont's name of the result on the same
// line and no rows.
TextArt drawTextArt(const romfont& font, std::string_view utf8);
