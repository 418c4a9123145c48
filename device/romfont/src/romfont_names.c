/* romfont_result_name: romfont's results named for logs. Kept apart from the lookups so that firmware that
   never names a result carries none of the strings (avr-gcc keeps constant strings in RAM). */
#include "romfont.h"

const char *romfont_result_name(romfont_result result) {
  switch (result) {
    case ROMFONT_OK: return "ok";
    case ROMFONT_NO_GLYPH: return "no glyph";
    case ROMFONT_BAD_IMAGE: return "bad image";
    case ROMFONT_READ_ERROR: return "read error";
    case ROMFONT_BAD_UTF8: return "bad UTF-8";
    case ROMFONT_END: return "end of string";
    case ROMFONT_BAD_ARGUMENT: return "bad argument";
  }
  return "unknown result";
}
