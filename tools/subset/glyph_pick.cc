// Picking the glyphs of a text: one walk through romfont, each glyph kept once under its code or key.
#include "glyph_pick.h"

#include <algorithm>
#include <set>

#include "text_walk.h"

namespace {

bool isControl(std::uint32_t codePoint) { return codePoint < 0x20 || (codePoint >= 0x7F && codePoint <= 0x9F); }

}  // namespace

GlyphPick pickGlyphs(const romfont& font, std::string_view utf8) {
  GlyphPick pick;
  std::set<std::uint32_t> missing;
  romfont_walker walker;
  walkText(walker, font, utf8);
  romfont_char ch;
  for (romfont_result result; (result = romfont_next_char(&walker, &ch)) != ROMFONT_END;) {
    if (result != ROMFONT_BAD_UTF8 && isControl(ch.code_point)) continue;
    if (ch.code_point == 0xFEFF && ch.offset == 0) continue;  // a byte order mark
    ++pick.characters;
    if (isRomFailure(result)) {
      pick.romError = describeRomFailure(ch, result);
      pick.half.clear();
      pick.full.clear();
      return pick;
    }
    if (result == ROMFONT_BAD_UTF8 || (result == ROMFONT_NO_GLYPH && missing.insert(ch.code_point).second)) {
      pick.problems.push_back(describeMissing(ch, result));
    }
    if (result != ROMFONT_OK) continue;
    const std::int16_t half = romfont_half_code(ch.code_point);
    if (half >= 0) {
      std::copy_n(ch.glyph, 16, pick.half[static_cast<std::uint8_t>(half)].begin());
    } else {
      std::copy_n(ch.glyph, 32, pick.full[static_cast<std::uint16_t>(ch.code_point)].begin());
    }
  }
  return pick;
}
