// Picking the glyphs of a text: one walk through romfont, each glyph kept once under its code or key, folded as
// romfont's text layer folds; what the pick allows, and the ROM laid out of it.
#include "glyph_pick.h"

#include <algorithm>
#include <set>

#include "driver/exit_status.h"
#include "font/glyph_store.h"
#include "rom/rom_image.h"
#include "romfont_text.h"
#include "text_walk.h"

namespace {

constexpr std::size_t kProblemsShown = 20;

}  // namespace

GlyphPick pickGlyphs(const romfont& font, std::string_view utf8) {
  GlyphPick pick;
  std::set<std::uint32_t> missing;
  romfont_walker walker;
  walkText(walker, font, utf8);
  romfont_char ch;
  for (romfont_result result; (result = romfont_next_char(&walker, &ch)) != ROMFONT_END;) {
    if (result != ROMFONT_BAD_UTF8 && romfont_char_width(ch.code_point) == 0) continue;  // a control character
    if (ch.code_point == 0xFEFF && ch.offset == 0) continue;                             // a byte order mark
    ++pick.characters;
    // The glyph romfont_text_glyph draws: yen and overline (half-width) always from the half-width table's
    // 0x5C and 0x7E, the others' folded forms when the ROM lacks them. It is kept under the key it came from,
    // so the cut ROM draws the character as the whole one does.
    romfont_char shown = ch;
    const std::uint32_t folded = romfont_fold(ch.code_point);
    if (folded != ch.code_point && (romfont_char_width(ch.code_point) == 8 || result == ROMFONT_NO_GLYPH)) {
      result = romfont_char_glyph(&font, folded, &shown);
    }
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
    const std::int16_t half = romfont_half_code(shown.code_point);
    if (half >= 0) {
      std::copy_n(shown.glyph, 16, pick.half[static_cast<std::uint8_t>(half)].begin());
    } else {
      std::copy_n(shown.glyph, 32, pick.full[static_cast<std::uint16_t>(shown.code_point)].begin());
    }
  }
  return pick;
}

int judgePick(const GlyphPick& pick, const std::function<void(const std::string&)>& say) {
  if (!pick.romError.empty()) {
    say("the ROM is damaged or unreadable at " + pick.romError + "; nothing written");
    return kExitFailure;
  }
  for (std::size_t i = 0; i < pick.problems.size() && i < kProblemsShown; ++i) say(pick.problems[i]);
  if (pick.problems.size() > kProblemsShown) {
    say("... and " + std::to_string(pick.problems.size() - kProblemsShown) + " more");
  }
  if (pick.characters == 0) {
    say("the text has no characters to draw, only line ends or control characters; nothing written");
    return kExitUsage;
  }
  if (pick.half.empty() && pick.full.empty()) {
    say("none of the text's characters is in the ROM; nothing written");
    return kExitMissing;
  }
  return kExitSuccess;
}

void buildPickedRom(const GlyphPick& pick) {
  resetRomImage();
  clearGlyphStore();
  for (const auto& [code, rows] : pick.half) {
    std::uint8_t bitmap[16];
    std::copy(rows.begin(), rows.end(), bitmap);
    commitHalfGlyph(code, bitmap);
  }
  for (const auto& [key, rows] : pick.full) {
    std::uint8_t bitmap[32];
    std::copy(rows.begin(), rows.end(), bitmap);
    commitFullGlyph(key, bitmap);
  }
  buildRomImage();
  releaseGlyphStore();
}
