// Text drawing through romfont's UTF-8 walker, the loop firmware runs.
#include "text_picture.h"

#include <algorithm>
#include <cstdio>

namespace {

struct Placed {
  int width;
  bool drawn;
  romfont_char ch;
};

std::string describe(const romfont_char& ch, romfont_result result) {
  char text[96];
  if (result == ROMFONT_BAD_UTF8) {
    std::snprintf(text, sizeof text, "byte %u: malformed UTF-8 (%u byte%s)", static_cast<unsigned>(ch.offset + 1),
                  static_cast<unsigned>(ch.length), ch.length == 1 ? "" : "s");
  } else {
    std::snprintf(text, sizeof text, "byte %u: U+%04X is not in the ROM", static_cast<unsigned>(ch.offset + 1),
                  static_cast<unsigned>(ch.code_point));
  }
  return text;
}

}  // namespace

TextPicture drawText(const romfont& font, std::string_view utf8) {
  TextPicture picture;
  std::vector<Placed> placed;
  romfont_walker walker;
  // Lengths are 32-bit in romfont, and the largest value means "up to a NUL": stay below it.
  const std::size_t length = std::min<std::size_t>(utf8.size(), ROMFONT_NUL_TERMINATED - 1);
  romfont_walk(&walker, &font, utf8.data(), static_cast<std::uint32_t>(length));
  int width = 0;
  for (;;) {
    Placed next{0, false, {}};
    const romfont_result result = romfont_next_char(&walker, &next.ch);
    if (result == ROMFONT_END) break;
    if (result == ROMFONT_BAD_IMAGE || result == ROMFONT_READ_ERROR || result == ROMFONT_BAD_ARGUMENT) {
      char text[96];
      std::snprintf(text, sizeof text, "byte %u: U+%04X: %s", static_cast<unsigned>(next.ch.offset + 1),
                    static_cast<unsigned>(next.ch.code_point), romfont_result_name(result));
      picture.romError = text;
      return picture;
    }
    next.width = next.ch.width;
    next.drawn = result == ROMFONT_OK;
    if (!next.drawn) picture.notes.push_back(describe(next.ch, result));
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
