// The glyphs a UTF-8 text needs, taken from a ROM through romfont's walker, so that each character comes from
// the table firmware drawing the text would use.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
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
// is a byte order mark (U+FEFF) at the start. A character is taken as romfont_text_glyph draws it (romfont_text.h):
// U+00A5 and U+203E by the half-width codes 0x5C and 0x7E, and one the ROM lacks by its folded form (romfont_fold)
// when the ROM has that, kept under the folded form's key (U+301C as U+FF5E, U+2212 as U+FF0D, ...).
GlyphPick pickGlyphs(const romfont& font, std::string_view utf8);

// What a pick allows, said through say as maskburn-subset and maskburn-image say it: the ROM's failure, or the
// text's problems (the first 20, then how many more). Returns the exit status of a run that must write nothing
// (kExitFailure: the ROM failed; kExitUsage: no characters but line ends and control characters; kExitMissing:
// none of the characters is in the ROM), or kExitSuccess when the cut is to be written.
int judgePick(const GlyphPick& pick, const std::function<void(const std::string&)>& say);

// Lays the picked glyphs out in the converter's ROM image (rom/rom_image.h) as maskburn lays out fonts holding
// just those glyphs; rom/rom_files.h then gives the two files' bytes.
void buildPickedRom(const GlyphPick& pick);
