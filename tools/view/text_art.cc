// Text art through romfont's walker, the same loop firmware runs.
#include "text_art.h"

#include <cstdio>

#include "text_walk.h"

TextArt drawTextArt(const romfont& font, std::string_view utf8) {
  TextArt result;
  romfont_walker walker;
  walkText(walker, font, utf8);
  romfont_char ch;
  for (romfont_result found; (found = romfont_next_char(&walker, &ch)) != ROMFONT_END;) {
    char header[48];
    std::snprintf(header, sizeof header, "U+%04X%s%s\n", static_cast<unsigned>(ch.code_point),
                  found == ROMFONT_OK ? "" : " ", found == ROMFONT_OK ? "" : romfont_result_name(found));
    result.art += header;
    result.romFailed = result.romFailed || isRomFailure(found);
    if (found != ROMFONT_OK) continue;
    const int bytesPerRow = ch.width / 8;
    for (int row = 0; row < 16; ++row) {
      for (int x = 0; x < ch.width; ++x) {
        const std::uint8_t byte = ch.glyph[row * bytesPerRow + x / 8];
        result.art += (byte >> (7 - x % 8)) & 1 ? '#' : '.';
      }
      result.art += '\n';
    }
  }
  return result;
}
