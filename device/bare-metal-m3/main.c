/* main.c: romfont on a bare-metal Cortex-M3 (qemu's mps2-an385 board) with the full Shinonome ROM in flash.

   The two ROM files are linked in as constant arrays by rom.S, so romfont reads them straight from flash
   with romfont_init_memory(): no file system, no copy in RAM. The program
     1. draws a line of text as text art (one "U+XXXX" header per character, then 16 rows of '#' and '.'),
        the same output maskburn-view --art gives on the PC for the same ROM;
     2. looks up every glyph the ROM could hold: half-width codes 0-255, then full-width keys 0-65535,
        counts those found and computes a CRC-32 over their bytes, in that order;
     3. prints "glyphs HALF FULL crc32 XXXXXXXX" and exits with status 0, or with status 1 when a lookup
        reports a damaged ROM.
   Output goes through newlib's semihosting printf to the emulator's standard output, and exit() ends
   the emulator with the program's status.

   BUILD AND RUN (ROMDIR holds FONTINDEX.BIN and FONTDATA.BIN; tests/device/cortex-m-check.sh does the same)

       arm-none-eabi-gcc -mcpu=cortex-m3 -mthumb -Os -std=c99 -Wall -Wextra -ffunction-sections -fdata-sections \
           -I../romfont/src -IROMDIR startup.c main.c rom.S ../romfont/src/romfont.c ../romfont/src/romfont_names.c -T mps2-an385.ld \
           --specs=nano.specs --specs=rdimon.specs -nostartfiles -Wl,--gc-sections -o bare-metal-m3.elf
       qemu-system-arm -M mps2-an385 -nographic -semihosting -kernel bare-metal-m3.elf

   BUILT WITH -DBARE_METAL_IMAGE, rom.S links in FONTIMAGE.BIN instead, one burnable image (maskburn-image,
   version 1 or the compact version 2) as it would sit on an external chip, and the program opens it with
   romfont_image_init over a read function that copies from that array; the output must be the same.

   On a real board, keep rom.S and the romfont calls; replace startup.c and the linker script with the
   board's own, and printf with its display driver. */
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>

#include "romfont.h"

#ifdef BARE_METAL_IMAGE
#include <string.h>

#include "romfont_image.h"

/* The burnable image and its size in bytes, from rom.S. */
extern const uint8_t fontimage_bin[];
extern const uint32_t fontimage_bin_size;

/* romfont_image's read function over the image in flash: the reads stay within the capacity given to init. */
static uint8_t read_image(void *context, uint32_t address, uint8_t *buffer, uint16_t length) {
  (void)context;
  memcpy(buffer, fontimage_bin + address, length);
  return 1;
}
#else
/* The ROM images and their sizes in bytes, from rom.S. */
extern const uint8_t fontindex_bin[];
extern const uint32_t fontindex_bin_size;
extern const uint8_t fontdata_bin[];
extern const uint32_t fontdata_bin_size;
#endif

static const char art_text[] = "東雲フォントで表示 ABC ｶﾀｶﾅ";

/* Prints one character as text art: its header line, then, when it has a glyph, one line per row,
   '#' for ink and '.' for paper, bit 7 of each byte leftmost, left byte first. */
static void print_char(romfont_result result, const romfont_char *ch) {
  const uint8_t bytes_per_row = (uint8_t)(ch->width / 8u);
  uint8_t row;
  uint8_t column;
  printf("U+%04lX", (unsigned long)ch->code_point);
  if (result != ROMFONT_OK) {
    printf(" %s\n", romfont_result_name(result));
    return;
  }
  printf("\n");
  for (row = 0; row < 16u; ++row) {
    for (column = 0; column < ch->width; ++column) {
      const uint8_t byte = ch->glyph[row * bytes_per_row + column / 8u];
      putchar((byte & (0x80u >> (column % 8u))) != 0u ? '#' : '.');
    }
    putchar('\n');
  }
}

/* CRC-32 as zlib computes it (reflected polynomial 0xEDB88320): start with crc = 0xFFFFFFFF, feed every
   byte, and xor the result with 0xFFFFFFFF at the end. Bit by bit: slow but table-free, fine for a check. */
static uint32_t crc32_update(uint32_t crc, const uint8_t *bytes, uint32_t count) {
  uint32_t i;
  uint8_t bit;
  for (i = 0; i < count; ++i) {
    crc ^= bytes[i];
    for (bit = 0; bit < 8u; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  return crc;
}

/* A lookup may only find its glyph or find none; anything else means the ROM is damaged. */
static void check_lookup(romfont_result result, const char *kind, unsigned long code) {
  if (result == ROMFONT_OK || result == ROMFONT_NO_GLYPH) return;
  printf("%s 0x%04lX: %s\n", kind, code, romfont_result_name(result));
  exit(1);
}

int main(void) {
  romfont font;
  romfont_walker walker;
  romfont_char ch;
  romfont_result result;
  uint8_t glyph[ROMFONT_FULL_BYTES];
  uint32_t half_count = 0;
  uint32_t full_count = 0;
  uint32_t crc = 0xFFFFFFFFu;
  uint32_t code;

#ifdef BARE_METAL_IMAGE
  romfont_image image;
  const romfont_image_result opened = romfont_image_init(&image, &font, read_image, NULL, 0, fontimage_bin_size);
  if (opened != ROMFONT_IMAGE_OK) {
    printf("romfont_image_init: %s\n", romfont_image_result_name(opened));
    return 1;
  }
#else
  result = romfont_init_memory(&font, fontindex_bin, fontindex_bin_size, fontdata_bin, fontdata_bin_size);
  if (result != ROMFONT_OK) {
    printf("romfont_init_memory: %s\n", romfont_result_name(result));
    return 1;
  }
#endif

  /* 1. The text, character by character, as the walker gives it. */
  romfont_walk(&walker, &font, art_text, ROMFONT_NUL_TERMINATED);
  while ((result = romfont_next_char(&walker, &ch)) != ROMFONT_END) print_char(result, &ch);

  /* 2. Every glyph of the ROM, half-width then full-width, in code order. */
  for (code = 0; code <= 0xFFu; ++code) {
    result = romfont_half_glyph(&font, (uint8_t)code, glyph);
    check_lookup(result, "half-width code", code);
    if (result != ROMFONT_OK) continue;
    ++half_count;
    crc = crc32_update(crc, glyph, ROMFONT_HALF_BYTES);
  }
  for (code = 0; code <= 0xFFFFu; ++code) {
    result = romfont_full_glyph(&font, (uint16_t)code, glyph);
    check_lookup(result, "full-width key", code);
    if (result != ROMFONT_OK) continue;
    ++full_count;
    crc = crc32_update(crc, glyph, ROMFONT_FULL_BYTES);
  }

  /* 3. The totals, to compare with the same walk done on the PC over the ROM files. */
  printf("glyphs %lu %lu crc32 %08lX\n", (unsigned long)half_count, (unsigned long)full_count,
         (unsigned long)(crc ^ 0xFFFFFFFFu));
  return 0;
}
