/* romfont_image: a maskburn ROM burned as one image (a header, the index, the data) on an SPI flash chip, an
   EEPROM or an SD card, opened and checked by firmware through one read function.
   Copyright (c) 2026 The MASKBURN developers; MIT licence (SPDX-License-Identifier: MIT), text in the
   LICENSE file of MASKBURN.

   THE IMAGE (maskburn-image writes it; every number little-endian)

       offset  size  field
       0       8     magic: the ASCII bytes "MASKBURN"
       8       2     format version: 1
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

   These calls live in romfont_image.c: firmware that keeps its ROM another way does not carry them. */
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
                                     index not of a ROM's size, parts that overlap the header or each other,
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
