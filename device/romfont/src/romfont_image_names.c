/* romfont_image_result_name: the results of opening and checking a ROM image, named for logs. Kept apart
   from romfont_image.c so that firmware that never names a result carries none of the strings (avr-gcc keeps
   constant strings in RAM). */
#include "romfont_image.h"

const char *romfont_image_result_name(romfont_image_result result) {
  switch (result) {
    case ROMFONT_IMAGE_OK: return "ok";
    case ROMFONT_IMAGE_BLANK: return "blank chip";
    case ROMFONT_IMAGE_ZEROS: return "all zeros";
    case ROMFONT_IMAGE_FOREIGN: return "foreign image";
    case ROMFONT_IMAGE_NEWER: return "newer version";
    case ROMFONT_IMAGE_BAD_SIZES: return "sizes do not fit";
    case ROMFONT_IMAGE_BAD_CRC: return "CRC mismatch";
    case ROMFONT_IMAGE_READ_ERROR: return "read error";
    case ROMFONT_IMAGE_BAD_ARGUMENT: return "bad argument";
  }
  return "unknown result";
}
