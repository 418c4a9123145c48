// Walking a text through romfont, and notes on the characters the ROM could not give.
#include "text_walk.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>

void walkText(romfont_walker& walker, const romfont& font, std::string_view utf8) {
  const std::size_t length = std::min<std::size_t>(utf8.size(), ROMFONT_NUL_TERMINATED - 1);
  romfont_walk(&walker, &font, utf8.data(), static_cast<std::uint32_t>(length));
}

std::string describeMissing(const romfont_char& ch, romfont_result result) {
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

std::string describeRomFailure(const romfont_char& ch, romfont_result result) {
  char text[96];
  std::snprintf(text, sizeof text, "byte %u: U+%04X: %s", static_cast<unsigned>(ch.offset + 1),
                static_cast<unsigned>(ch.code_point), romfont_result_name(result));
  return text;
}

bool isRomFailure(romfont_result result) {
  return result == ROMFONT_BAD_IMAGE || result == ROMFONT_READ_ERROR || result == ROMFONT_BAD_ARGUMENT;
}
