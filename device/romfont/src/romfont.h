/* romfont: glyph lookup in a maskburn ROM (FONTINDEX.BIN + FONTDATA.BIN) for firmware.
   Copyright (c) 2026 The MASKBURN developers; MIT licence (SPDX-License-Identifier: MIT), text in the
   LICENSE file of MASKBURN.

   WHAT IT DOES

   Finds the bitmap of a character in the two files maskburn writes:
     - half-width glyphs, 8x16, keyed by a one-byte JIS X 0201 code: 16 bytes, one per row, top row first,
       bit 7 = leftmost pixel, set bit = ink;
     - full-width glyphs, 16x16, keyed by a UTF-16 code unit: 32 bytes, two per row (left byte first, bit 7
       of each byte leftmost), top row first;
     - and, walking a UTF-8 string, the glyph of each of its characters.

   The files can sit in memory (a flash-mapped array, a buffer) or in external memory (I2C EEPROM, SPI flash,
   an SD card) that is read through a function you supply. Each lookup reads a few bytes only: at most two
   reads per half-width glyph (index byte, glyph) and three per full-width glyph (block byte, slot number,
   glyph). No heap, no stdio, no globals: only <stdint.h> and <stddef.h>. Every value is of a fixed-width
   type, so the code behaves the same where int is 16 bits. Safe against damaged or foreign files: every
   offset is checked against the sizes you give, so a lookup never reads outside them.

   HOW TO CALL IT

   Add romfont.c to the build. Describe the ROM once:

       romfont font;
       romfont_init_memory(&font, index_bin, index_size, data_bin, data_size);      // images in memory
       romfont_init_callback(&font, read_rom, &my_device, index_size, data_size);   // external memory

   or fill the structure yourself (for a font kept as a constant in flash):

       static const romfont font = { .index = index_bin, .index_size = sizeof index_bin,
                                     .data = data_bin, .data_size = sizeof data_bin };

   (the fields left out, the read function, its context and full_glyph, are NULL: the index is FONTINDEX.BIN's;
   with designated fields GCC's -Wextra does not warn of them, as it does for a positional list). A compact index (a
   version-2 image, romfont_image.h) is opened with romfont_image_init, which fills full_glyph.

   Both init functions return ROMFONT_OK; ROMFONT_BAD_IMAGE when the index size is not that of a ROM index
   (512 bytes times 1 to 256); ROMFONT_BAD_ARGUMENT for a NULL font, a NULL read function, or a NULL image
   with a size. The structure is set up either way, and lookups check every offset whatever init said.

   The read function gets your context, which file (ROMFONT_INDEX_FILE or ROMFONT_DATA_FILE), the offset in
   that file, where to put the bytes and how many (1 to 32). It returns nonzero when all of them were read,
   0 on failure:

       static uint8_t read_rom(void *context, uint8_t file, uint32_t offset, uint8_t *buffer, uint16_t length)
       {
           uint32_t base = file == ROMFONT_INDEX_FILE ? INDEX_ADDRESS : DATA_ADDRESS;
           return eeprom_read(context, base + offset, buffer, length) == 0;
       }

   Lookups copy the glyph into your buffer:

       uint8_t rows[32];
       romfont_half_glyph(&font, 'A', rows);          // 16 bytes
       romfont_full_glyph(&font, 0x6771, rows);       // 32 bytes (U+6771, "東")
       romfont_char_glyph(&font, 0xFF76, &ch);        // by code point, half or full width (see below)

   WHAT THEY RETURN (romfont_result)

       ROMFONT_OK            the glyph was copied
       ROMFONT_NO_GLYPH      the ROM has no glyph for that code (the buffer is zero-filled)
       ROMFONT_BAD_IMAGE     the ROM points outside the sizes given: damaged, truncated or not a ROM
       ROMFONT_READ_ERROR    the read function failed
       ROMFONT_BAD_UTF8      (walker) malformed UTF-8: overlong form, surrogate, above U+10FFFF,
                             truncated sequence or stray continuation byte
       ROMFONT_END           (walker) the string has no more characters
       ROMFONT_BAD_ARGUMENT  a NULL pointer was passed
   On anything but ROMFONT_OK the output buffer is zero-filled.

   WALKING A UTF-8 STRING

   romfont_walk() starts a walk over a string (a length in bytes, or ROMFONT_NUL_TERMINATED);
   romfont_next_char() then gives, one character at a time, a romfont_char: its code point, its width
   in pixels (8 or 16), its glyph bytes and where it sits in the string. U+0020-U+007E come from the
   half-width table under the same code, U+FF61-U+FF9F (half-width katakana) from the half-width table
   under JIS X 0201 codes 0xA1-0xDF; every other code point up to U+FFFF from the full-width table under its
   UTF-16 code unit. Code points above U+FFFF are never in a ROM: ROMFONT_NO_GLYPH, width 16. Malformed
   UTF-8 gives ROMFONT_BAD_UTF8 with code point U+FFFD and width 16, and the walk goes on after the longest
   start of a well-formed sequence (at least one byte), so one bad byte costs one character. Every result
   but ROMFONT_END moves the walk on, so a loop may skip problems or stop at them.

   A FIRMWARE LOOP

       romfont_walker walker;
       romfont_char ch;
       romfont_result result;
       int32_t x = 0;
       romfont_walk(&walker, &font, "東雲フォント ABC", ROMFONT_NUL_TERMINATED);
       while ((result = romfont_next_char(&walker, &ch)) != ROMFONT_END) {
           if (result == ROMFONT_READ_ERROR || result == ROMFONT_BAD_IMAGE) break;   // ROM trouble
           if (result == ROMFONT_OK) draw_bitmap(x, y, ch.width, 16, ch.glyph);   // rows of width/8 bytes
           x += ch.width;                                                          // missing: leave a gap
       }
*/
#ifndef ROMFONT_H
#define ROMFONT_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* Sizes of the two glyph kinds in bytes, and of the index's fixed tables. */
#define ROMFONT_HALF_BYTES 16u
#define ROMFONT_FULL_BYTES 32u
#define ROMFONT_INDEX_BLOCK_BYTES 512u
/* The tables and 255 blocks; unsigned long arithmetic, as 512u * 256u wraps to 0 where int is 16 bits. */
#define ROMFONT_INDEX_MAX_BYTES (ROMFONT_INDEX_BLOCK_BYTES * 256ul)

/* The file argument of the read function. */
#define ROMFONT_INDEX_FILE 0u
#define ROMFONT_DATA_FILE 1u

/* romfont_walk() length for a string that ends at its first NUL byte. */
#define ROMFONT_NUL_TERMINATED 0xFFFFFFFFu

/* The character reported for malformed UTF-8. */
#define ROMFONT_REPLACEMENT_CHARACTER 0xFFFDu

typedef enum romfont_result {
  ROMFONT_OK = 0,
  ROMFONT_NO_GLYPH = 1,
  ROMFONT_BAD_IMAGE = 2,
  ROMFONT_READ_ERROR = 3,
  ROMFONT_BAD_UTF8 = 4,
  ROMFONT_END = 5,
  ROMFONT_BAD_ARGUMENT = 6
} romfont_result;

/* Reads length bytes at offset of the file (ROMFONT_INDEX_FILE or ROMFONT_DATA_FILE) into buffer.
   Returns nonzero when all of them were read, 0 on failure. Offsets and lengths passed lie within the
   sizes given to romfont_init_callback(). */
typedef uint8_t (*romfont_read_fn)(void *context, uint8_t file, uint32_t offset, uint8_t *buffer, uint16_t length);

struct romfont;

/* The full-width lookup of an index laid out otherwise than FONTINDEX.BIN, as romfont_full_glyph behaves:
   romfont_image_init sets one up for a version-2 image (romfont_image.c holds it). */
typedef romfont_result (*romfont_full_fn)(const struct romfont *font, uint16_t key, uint8_t glyph[32]);

/* Where the ROM is. With read == NULL, index and data point at the files' bytes in memory; otherwise every
   byte is read through read(context, ...). The sizes bound every access either way. full_glyph is NULL for
   FONTINDEX.BIN's layout (the init functions set it so); fields are only ever added at the end, so an
   initialiser that leaves them out keeps that meaning. */
typedef struct romfont {
  const uint8_t *index;
  uint32_t index_size;
  const uint8_t *data;
  uint32_t data_size;
  romfont_read_fn read;
  void *context;
  romfont_full_fn full_glyph;
} romfont;

/* One character of a walked string. */
typedef struct romfont_char {
  uint32_t code_point; /* the character; U+FFFD for malformed UTF-8 */
  uint32_t offset;     /* where it starts in the string, in bytes */
  uint8_t length;      /* how many bytes of the string it took: 1 to 4 (0 at the end) */
  uint8_t width;       /* 8 (half-width) or 16 (full-width) pixels; 0 at the end */
  uint8_t glyph[32];   /* width 8: 16 bytes, one per row; width 16: 32 bytes, two per row; zero if none */
} romfont_char;

/* A walk over a UTF-8 string; set up with romfont_walk(), read with romfont_next_char(). */
typedef struct romfont_walker {
  const romfont *font;
  const uint8_t *text;
  uint32_t length;   /* bytes in the string, or ROMFONT_NUL_TERMINATED */
  uint32_t position; /* bytes taken so far */
} romfont_walker;

romfont_result romfont_init_memory(romfont *font, const uint8_t *index, uint32_t index_size, const uint8_t *data,
                                   uint32_t data_size);
romfont_result romfont_init_callback(romfont *font, romfont_read_fn read, void *context, uint32_t index_size,
                                     uint32_t data_size);

/* The 16-byte glyph of a half-width code (0-255). */
romfont_result romfont_half_glyph(const romfont *font, uint8_t code, uint8_t glyph[16]);
/* The 32-byte glyph of a full-width UTF-16 key. */
romfont_result romfont_full_glyph(const romfont *font, uint16_t key, uint8_t glyph[32]);
/* The glyph of a code point, from the table the walker would use; fills code_point, width and glyph
   (offset and length are set to 0). */
romfont_result romfont_char_glyph(const romfont *font, uint32_t code_point, romfont_char *ch);

/* The half-width code of a code point (U+0020-U+007E as they are, U+FF61-U+FF9F as 0xA1-0xDF), or -1 when
   the code point is drawn full-width. */
int16_t romfont_half_code(uint32_t code_point);

void romfont_walk(romfont_walker *walker, const romfont *font, const char *text, uint32_t length);
romfont_result romfont_next_char(romfont_walker *walker, romfont_char *ch);

/* A short English name of a result ("ok", "no glyph", ...), for logs. It lives in romfont_names.c, so firmware
   that never calls it does not carry the names (on AVR they would take RAM). */
const char *romfont_result_name(romfont_result result);

#ifdef __cplusplus
}
#endif

#endif /* ROMFONT_H */
