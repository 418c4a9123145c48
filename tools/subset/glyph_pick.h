// The glyphs a UTF-8 text needs, taken from a ROM through romfont's walker, so that each character comes from
// the table firmware drawing the text would use.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "romfont.h"

struct GlyphPick {
  std::map<std::uint8_t, std::array<std::uint8_t, 16>> half;   // by half-width code
  std::map<std::uint16_t, std::array<std::uint8_t, 32>> full;  // by UTF-16 key
  std::size_t characters = 0;         // characters of the text other than line ends and control characters
  std::vector<std::string> problems;  // malformed UTF-8, and each character the ROM lacks (once), in text order
  std::string romError;               // set when the ROM itself failed (damaged, unreadable): nothing picked
};

// Line ends and other control characters (U+0000-U+001F, U+007F-U+009F) are no glyphs and are passed over, as
// is a byte order mark (U+FEFF) at the start.
GlyphPick pickGlyphs(const romfont& font, std::string_view utf8);
