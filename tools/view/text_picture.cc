// Text drawing through romfont's UTF-8 walker, the loop firmware runs, and the marks for what the ROM lacks.
#include "text_picture.h"

#include "text_walk.h"

std::string placeText(const romfont& font, std::string_view utf8, std::vector<PlacedChar>& placed,
                      std::vector<std::string>& notes) {
  romfont_walker walker;
  walkText(walker, font, utf8);
  for (;;) {
    PlacedChar next{0, false, {}};
    const romfont_result result = romfont_next_char(&walker, &next.ch);
    if (result == ROMFONT_END) return "";
    if (isRomFailure(result)) return describeRomFailure(next.ch, result);
    next.width = next.ch.width;
    next.drawn = result == ROMFONT_OK;
    if (!next.drawn) notes.push_back(describeMissing(next.ch, result));
    placed.push_back(next);
  }
}

MissingMark findMissingMark(const romfont& font) {
  MissingMark mark;
  mark.hasGeta = romfont_full_glyph(&font, 0x3013, mark.geta) == ROMFONT_OK;
  return mark;
}

void drawMissing(Canvas& canvas, int x, int y, int width, const MissingMark& mark, Color ink) {
  if (width == 16 && mark.hasGeta) {
    drawGlyph(canvas, x, y, 16, mark.geta, ink);
  } else {
    drawBox(canvas, x + 1, y + 1, width - 2, 14, ink);
  }
}

void drawPlaced(Canvas& canvas, int x, int y, const std::vector<PlacedChar>& placed, const MissingMark& mark,
                Color ink) {
  for (const PlacedChar& item : placed) {
    if (item.drawn) {
      drawGlyph(canvas, x, y, item.width, item.ch.glyph, ink);
    } else {
      drawMissing(canvas, x, y, item.width, mark, ink);
    }
    x += item.width;
  }
}

TextPicture drawText(const romfont& font, std::string_view utf8) {
  TextPicture picture;
  std::vector<PlacedChar> placed;
  picture.romError = placeText(font, utf8, placed, picture.notes);
  if (!picture.romError.empty()) return picture;
  int width = 0;
  for (const PlacedChar& item : placed) width += item.width;
  picture.canvas = Canvas(width, 16, Color::Paper);
  drawPlaced(picture.canvas, 0, 0, placed, findMissingMark(font), Color::Ink);
  return picture;
}
