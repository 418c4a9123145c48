/* romfont_image: opening and checking a maskburn ROM burned as one image (romfont_image.h), and the CRC-32
   both use. Same rules as romfont.c: C99, no heap, no static data, fixed-width arithmetic. */
#include "romfont_image.h"

uint32_t romfont_crc32(uint32_t crc, const uint8_t *bytes, uint32_t count) {
  uint32_t i;
  uint8_t bit;
  crc = ~crc;
  for (i = 0; i < count; ++i) {
    crc ^= bytes[i];
    for (bit = 0; bit < 8u; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  return ~crc;
}
