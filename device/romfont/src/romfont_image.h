/* romfont_image: a maskburn ROM burned as one image (a header, the index, the data) on an SPI flash chip, an
   EEPROM or an SD card, opened and checked by firmware through one read function.
   Copyright (c) 2026 The MASKBURN developers; MIT licence (SPDX-License-Identifier: MIT), text in the
   LICENSE file of MASKBURN.

   THE IMAGE (maskburn-image writes it; every number little-endian)

       offset  size  field
       0       8     magic: the ASCII bytes "MASKBURN"
       8       2     format version: 1, or 2 for a compact index (below)
       10      2     header size in bytes: 36
       12      4     index offset, from the image's start: 4096
       16      4     index size: that of FONTINDEX.BIN
       20      4     data offset: the index's end rounded up to a multiple of 4096
       24      4     data size: that of FONTDATA.BIN
       28      4     CRC-32 of the index
       32      4     CRC-32 of the data
       36 ...        0xFF (erased flash) up to the index, and from the index's end up to the data

   The index and the data are the two ROM files byte for byte, each starting on a 4 KiB boundary, so either
   can be erased and rewritten alone on a chip of 4 KiB sectors. The image ends with the data. The CRC-32 is
   the common one of zlib, PNG and Ethernet (reflected polynomial 0xEDB88320, initial value and final XOR
   0xFFFFFFFF; "123456789" gives 0xCBF43926).

   VERSION 2: A COMPACT INDEX

   The same header, the index and data parts replaced. Version 1's index spends 512 bytes on each block (high
   byte of a key) however few keys it holds; version 2's spends 48, and the full Shinonome index takes 4,976
   bytes instead of 48,128. Its index part:

       offset           size  content
       0                256   half-width glyph number (from 1) for each code 0-255; 0 = no glyph
       256              256   block number (from 1) for each high byte of a key; 0 = no glyph with that high byte
       512 + 48(b - 1)  48    block b: 8 groups of 32 low bytes; group g (low bytes 32g to 32g + 31) at 6g:
                                2 bytes  the slot of the group's first key with a glyph
                                4 bytes  presence: bit i of this 32-bit number is set when low byte 32g + i
                                         has a glyph

   so the index is 512 + 48 x blocks bytes (0 to 255 blocks). The data
   part: half-width glyph k (from 1) at (k - 1) x 16, numbered in code order; then full-width slot s at s x 32,
   one per key with a glyph, in key order, from the first slot after the half-width glyphs (slot 0 when there
   are none). Key u: block b = index[256 + (u >> 8)], group g = (u & 0xFF) >> 5, bit i = u & 31; the key has a
   glyph when b != 0 and bit i of the group's presence is set, and its slot is the group's first slot plus
   the number of presence bits below bit i. Two index reads (block byte, group) and the glyph: three reads, as
   in version 1; half-width glyphs take two. The glyphs are those of the version-1 ROM it was made from, code for
   code. maskburn-image writes the parts on 4 KiB boundaries as in version 1 (the full Shinonome image: 235,968
   bytes, within a 2-Mbit EEPROM's 262,144); for firmware arrays maskburn-subset packs them right after the
   header and each other, which init accepts as well.

   HOW TO CALL IT

       static uint8_t read_flash(void *context, uint32_t address, uint8_t *buffer, uint16_t length);

       romfont_image image;       // must live as long as font: font reads through it
       romfont font;
       romfont_image_result r = romfont_image_init(&image, &font, read_flash, NULL, 0, 16ul * 1024 * 1024);
       if (r == ROMFONT_IMAGE_OK) r = romfont_image_check(&image);    // optional, at boot: reads everything
       if (r != ROMFONT_IMAGE_OK) show_error(romfont_image_result_name(r));

   The read function reads length bytes (1 to 36) at an absolute address of the memory, returning nonzero
   when all of them were read. romfont_image_init reads the header at base, checks it, and sets up font so
   that the lookups of romfont.h (romfont_full_glyph, the walker, ...) read the image's parts through it.
   On any result but ROMFONT_IMAGE_OK, font is set up with no index and no data, so every lookup gives
   ROMFONT_BAD_IMAGE. capacity is how many bytes the memory holds from base: the image's parts must end
   within it.

   A version-2 image is opened the same way: init sets font up to find slots through the compact index.

   These calls, and the compact index's lookup, live in romfont_image.c: firmware that keeps its ROM another
   way does not carry them. */
#ifndef ROMFONT_IMAGE_H
#define ROMFONT_IMAGE_H

#include <stdint.h>

#include "romfont.h"

#ifdef __cplusplus
extern "C" {
#endif

/* The header's fields: where each sits and what version 1 holds. */
#define ROMFONT_IMAGE_MAGIC "MASKBURN"
#define ROMFONT_IMAGE_MAGIC_BYTES 8u
#define ROMFONT_IMAGE_VERSION 1u
/* The version with the compact index, the highest this romfont reads; its index's sizes. */
#define ROMFONT_IMAGE_COMPACT_VERSION 2u
#define ROMFONT_COMPACT_TABLES_BYTES 512u
#define ROMFONT_COMPACT_BLOCK_BYTES 48u
#define ROMFONT_COMPACT_GROUP_BYTES 6u
#define ROMFONT_COMPACT_GROUP_KEYS 32u
#define ROMFONT_COMPACT_MAX_BYTES (ROMFONT_COMPACT_TABLES_BYTES + ROMFONT_COMPACT_BLOCK_BYTES * 255ul)
#define ROMFONT_IMAGE_HEADER_BYTES 36u
#define ROMFONT_IMAGE_VERSION_AT 8u
#define ROMFONT_IMAGE_HEADER_SIZE_AT 10u
#define ROMFONT_IMAGE_INDEX_OFFSET_AT 12u
#define ROMFONT_IMAGE_INDEX_SIZE_AT 16u
#define ROMFONT_IMAGE_DATA_OFFSET_AT 20u
#define ROMFONT_IMAGE_DATA_SIZE_AT 24u
#define ROMFONT_IMAGE_INDEX_CRC_AT 28u
#define ROMFONT_IMAGE_DATA_CRC_AT 32u
/* Parts start on boundaries of this many bytes, the erase sector of common SPI NOR flash. */
#define ROMFONT_IMAGE_ALIGNMENT 4096u

typedef enum romfont_image_result {
  ROMFONT_IMAGE_OK = 0,
  ROMFONT_IMAGE_BLANK = 1,        /* the header's bytes are all 0xFF: an erased chip */
  ROMFONT_IMAGE_ZEROS = 2,        /* the header's bytes are all 0x00: a zeroed chip, or none answering */
  ROMFONT_IMAGE_FOREIGN = 3,      /* no maskburn magic (or version 0): something else is on the chip */
  ROMFONT_IMAGE_NEWER = 4,        /* a format version above the one this romfont reads */
  ROMFONT_IMAGE_BAD_SIZES = 5,    /* offsets and sizes that do not fit: a header shorter than 36 bytes, an
                                     index not of a ROM's size (version 2: 512 + 48 x 0 to 255), parts
                                     that overlap the header or each other,
                                     or that end beyond capacity (a capacity below 36 bytes: nothing
                                     is read) */
  ROMFONT_IMAGE_BAD_CRC = 6,      /* (check) a part's CRC-32 differs: damaged, half-written, or mixed ROMs */
  ROMFONT_IMAGE_READ_ERROR = 7,   /* the read function failed */
  ROMFONT_IMAGE_BAD_ARGUMENT = 8  /* a NULL image, font or read function */
} romfont_image_result;

/* Reads length bytes at address into buffer; nonzero when all were read. */
typedef uint8_t (*romfont_image_read_fn)(void *context, uint32_t address, uint8_t *buffer, uint16_t length);

/* An opened image: what romfont_image_init read from the header. Fill it only through that call. */
typedef struct romfont_image {
  romfont_image_read_fn read;
  void *context;
  uint32_t base;         /* where the image starts in the memory */
  uint32_t index_offset; /* from base */
  uint32_t index_size;
  uint32_t data_offset;  /* from base */
  uint32_t data_size;
  uint32_t index_crc;
  uint32_t data_crc;
  uint16_t version;
} romfont_image;

romfont_image_result romfont_image_init(romfont_image *image, romfont *font, romfont_image_read_fn read,
                                        void *context, uint32_t base, uint32_t capacity);

/* Reads both parts whole and compares their CRC-32s with the header's: ROMFONT_IMAGE_OK, ROMFONT_IMAGE_BAD_CRC,
   ROMFONT_IMAGE_READ_ERROR, or ROMFONT_IMAGE_BAD_ARGUMENT for an image that was not opened. */
romfont_image_result romfont_image_check(const romfont_image *image);

/* The CRC-32 of count bytes, continuing from crc (give 0 to start): romfont_crc32(0, "123456789", 9) is
   0xCBF43926. A nibble at a time, with a 64-byte table built on the stack, as romfont keeps no static data. */
uint32_t romfont_crc32(uint32_t crc, const uint8_t *bytes, uint32_t count);

/* A short English name of a result ("ok", "blank chip", ...), for logs. It lives in romfont_image_names.c, so
   firmware that never calls it does not carry the names. */
const char *romfont_image_result_name(romfont_image_result result);

#ifdef __cplusplus
}
#endif

#endif /* ROMFONT_IMAGE_H */
