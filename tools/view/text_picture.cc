// Text drawing through romfont's UTF-8 walker, the loop firmware runs.
#include "text_picture.h"

#include "text_walk.h"

namespace {

struct Placed {
  int width;
  bool drawn;
  romfont_char ch;
};

}  // namespace

TextPicture drawText(const romfont& font, std::string_view utf8) {
  TextPicture picture;
  std::vector<Placed> placed;
  romfont_walker walker;
  walkText(walker, font, utf8);
  int width = 0;
  for (;;) {
    Placed next{0, false, {}};
    const romfont_result result = romfont_next_char(&walker, &next.ch);
    if (result == ROMFONT_END) break;
    if (isRomFailure(result)) {
      picture.romError = describeRomFailure(next.ch, result);
      return picture;
    }
    next.width = next.ch.width;
    next.drawn = result == ROMFONT_OK;
    if (!next.drawn) picture.notes.push_back(describeMissing(next.ch, result));
    placed.push_back(next);
    width += next.width;
  }

  // The ROM's own marks for what it lacks, looked up once.
  std::uint8_t halfDot[16];
  std::uint8_t fullDot[32];
  const bool hasHalfDot = romfont_half_glyph(&font, 0xA5, halfDot) == ROMFONT_OK;
  const bool hasFullDot = romfont_full_glyph(&font, 0x30FB, fullDot) == ROMFONT_OK;

  picture.canvas = Canvas(width, 16, Color::Paper);
  int x = 0;
  for (const Placed& item : placed) {
    if (item.drawn) {
      drawGlyph(picture.canvas, x, 0, item.width, item.ch.glyph, Color::Ink);
    } else if (item.width == 8 && hasHalfDot) {
      drawGlyph(picture.canvas, x, 0, 8, halfDot, Color::Ink);
    } else if (item.width == 16 && hasFullDot) {
      drawGlyph(picture.canvas, x, 0, 16, fullDot, Color::Ink);
    } else {
      drawBox(picture.canvas, x + 1, 1, item.width - 2, 14, Color::Ink);
    }
    x += item.width;
  }
  return picture;
}
