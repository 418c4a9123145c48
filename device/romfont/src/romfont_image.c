/* romfont_image: opening and checking a maskburn ROM burned as one image (romfont_image.h), and the CRC-32
   both use. Same rules as romfont.c: C99, no heap, no static data, fixed-width arithmetic. */
#include "romfont_image.h"

#define CHECK_CHUNK_BYTES 32u /* bytes per read while checking: a stack buffer of this size */

/* The CRC-32 register after four bit steps from each of the 16 values of its low nibble. Built on the stack
   when needed, as romfont keeps no static data: 64 bytes that make the CRC about three times faster on AVR. */
static void crc_nibble_table(uint32_t table[16]) {
  uint8_t i;
  uint8_t bit;
  for (i = 0; i < 16u; ++i) {
    uint32_t c = i;
    for (bit = 0; bit < 4u; ++bit) c = (c >> 1) ^ (0xEDB88320u & (0u - (c & 1u)));
    table[i] = c;
  }
}

/* Runs the CRC-32 register (not inverted) over count bytes, a nibble at a time. Kept out of line: inlined in
   both callers it would cost about 250 bytes more of AVR flash. */
#if defined(__GNUC__)
__attribute__((noinline))
#endif
static uint32_t crc_update(const uint32_t table[16], uint32_t crc, const uint8_t *bytes, uint32_t count) {
  uint32_t i;
  for (i = 0; i < count; ++i) {
    crc ^= bytes[i];
    crc = (crc >> 4) ^ table[crc & 15u];
    crc = (crc >> 4) ^ table[crc & 15u];
  }
  return crc;
}

uint32_t romfont_crc32(uint32_t crc, const uint8_t *bytes, uint32_t count) {
  uint32_t table[16];
  crc_nibble_table(table);
  return ~crc_update(table, ~crc, bytes, count);
}

/* The little-endian number of count (up to 4) bytes. */
static uint32_t little_endian(const uint8_t *bytes, uint8_t count) {
  uint32_t value = 0u;
  while (count != 0u) value = (value << 8) | bytes[--count];
  return value;
}

/* The read function romfont gets, its context the image: bytes of the index or the data at offset within
   that part. romfont asks only for ranges within the part sizes, and init made sure the parts lie within the
   memory, so no address wraps. */
static uint8_t read_part(void *context, uint8_t file, uint32_t offset, uint8_t *buffer, uint16_t length) {
  const romfont_image *image = (const romfont_image *)context;
  const uint32_t start = file == ROMFONT_INDEX_FILE ? image->index_offset : image->data_offset;
  return image->read(image->context, image->base + start + offset, buffer, length);
}

/* On AVR each call of a reading helper costs dozens of cycles of saved registers, three times per glyph: inlined
   there, a full-width glyph through the compact index stays under a thousand cycles. Elsewhere size wins. */
#if defined(__AVR__) && defined(__GNUC__)
#define COMPACT_READ_ATTRIBUTES __attribute__((always_inline)) inline
#else
#define COMPACT_READ_ATTRIBUTES
#endif

/* The number of set bits of a byte. */
static COMPACT_READ_ATTRIBUTES uint8_t bits_set(uint8_t bits) {
  bits = (uint8_t)(bits - ((bits >> 1) & 0x55u));
  bits = (uint8_t)((bits & 0x33u) + ((bits >> 2) & 0x33u));
  bits = (uint8_t)(bits + (bits >> 4));
  return (uint8_t)(bits & 0x0Fu);
}

/* Reads count bytes at offset of a part (start and size as in the header) straight through the image's read
   function, refusing any range that does not lie wholly within the part. */
static COMPACT_READ_ATTRIBUTES romfont_result part_bytes(const romfont_image *image, uint32_t start, uint32_t size,
                                                         uint32_t offset, uint8_t *buffer, uint16_t count) {
  if (offset > size || size - offset < (uint32_t)count) return ROMFONT_BAD_IMAGE;
  return image->read(image->context, image->base + start + offset, buffer, count) != 0u ? ROMFONT_OK
                                                                                      : ROMFONT_READ_ERROR;
}

/* The glyph of a full-width key through a version-2 index (romfont_image.h): the block byte, then the key's
   group of 32 (its first slot and presence bits), whose first slot plus the presence bits below the key's is the
   key's slot; then the glyph. The output is cleared when the lookup fails. */
static romfont_result compact_glyph(const romfont *font, uint16_t key, uint8_t glyph[32]) {
  const romfont_image *image = (const romfont_image *)font->context;
  uint8_t block;
  uint8_t group[ROMFONT_COMPACT_GROUP_BYTES];
  const uint8_t low = (uint8_t)(key & 0xFFu);
  const uint8_t at = (uint8_t)((low & 31u) >> 3); /* the presence byte of the key's bit */
  const uint8_t bit = (uint8_t)(1u << (low & 7u));
  uint8_t count;
  /* The block table lies within every index init accepts (512 bytes or more): no bounds check needed there. */
  romfont_result result =
      image->read(image->context, image->base + image->index_offset + ROMFONT_COMPACT_TABLES_BYTES / 2u + (key >> 8),
                  &block, 1u) != 0u ? ROMFONT_OK : ROMFONT_READ_ERROR;
  if (result == ROMFONT_OK && block == 0u) result = ROMFONT_NO_GLYPH;
  /* Block numbers are at most 255, so the group's offset stays below 2^14: 16-bit arithmetic, quicker on AVR. */
  if (result == ROMFONT_OK) {
    result = part_bytes(image, image->index_offset, image->index_size,
                        (uint16_t)(ROMFONT_COMPACT_TABLES_BYTES + (uint16_t)(block - 1u) * ROMFONT_COMPACT_BLOCK_BYTES +
                                   (uint16_t)(low >> 5) * ROMFONT_COMPACT_GROUP_BYTES),
                        group, ROMFONT_COMPACT_GROUP_BYTES);
  }
  if (result == ROMFONT_OK && (group[2u + at] & bit) == 0u) result = ROMFONT_NO_GLYPH;
  if (result == ROMFONT_OK) {
    count = bits_set((uint8_t)(group[2u + at] & (bit - 1u)));
    if (at > 0u) count = (uint8_t)(count + bits_set(group[2]));
    if (at > 1u) count = (uint8_t)(count + bits_set(group[3]));
    if (at > 2u) count = (uint8_t)(count + bits_set(group[4]));
    /* first slot plus count: below 2^17, so the offset stays below 2^22 */
    result = part_bytes(image, image->data_offset, image->data_size,
                        (((uint32_t)group[0] | ((uint32_t)group[1] << 8)) + count) * ROMFONT_FULL_BYTES, glyph,
                        ROMFONT_FULL_BYTES);
  }
  if (result != ROMFONT_OK) {
    for (count = 0u; count < ROMFONT_FULL_BYTES; ++count) glyph[count] = 0u;
  }
  return result;
}

/* Whether a part of size bytes at offset starts at from or later and ends within capacity; tested so that no
   sum wraps. */
static uint8_t part_fits(uint32_t offset, uint32_t size, uint32_t from, uint32_t capacity) {
  return offset >= from && offset <= capacity && capacity - offset >= size;
}

/* Judges the header's bytes and fills image from them; all but the index size, which romfont_init_callback
   judges. capacity counts the memory's bytes from image->base, and no address past it wraps. */
static romfont_image_result open_header(romfont_image *image, const uint8_t *header, uint32_t capacity) {
  uint8_t i;
  uint8_t all_ones = 0xFFu;
  uint8_t any_ones = 0u;
  uint32_t header_size;
  for (i = 0; i < ROMFONT_IMAGE_HEADER_BYTES; ++i) {
    all_ones &= header[i];
    any_ones |= header[i];
  }
  if (all_ones == 0xFFu) return ROMFONT_IMAGE_BLANK;
  if (any_ones == 0u) return ROMFONT_IMAGE_ZEROS;
  image->version = (uint16_t)little_endian(header + ROMFONT_IMAGE_VERSION_AT, 2u);
  /* "MASK" and "BURN" read as little-endian numbers: no string kept in RAM to compare with */
  if (little_endian(header, 4u) != 0x4B53414Du || little_endian(header + 4, 4u) != 0x4E525542u || image->version == 0u) {
    return ROMFONT_IMAGE_FOREIGN;
  }
  if (image->version > ROMFONT_IMAGE_COMPACT_VERSION) return ROMFONT_IMAGE_NEWER;
  header_size = little_endian(header + ROMFONT_IMAGE_HEADER_SIZE_AT, 2u);
  image->index_offset = little_endian(header + ROMFONT_IMAGE_INDEX_OFFSET_AT, 4u);
  image->index_size = little_endian(header + ROMFONT_IMAGE_INDEX_SIZE_AT, 4u);
  image->data_offset = little_endian(header + ROMFONT_IMAGE_DATA_OFFSET_AT, 4u);
  image->data_size = little_endian(header + ROMFONT_IMAGE_DATA_SIZE_AT, 4u);
  image->index_crc = little_endian(header + ROMFONT_IMAGE_INDEX_CRC_AT, 4u);
  image->data_crc = little_endian(header + ROMFONT_IMAGE_DATA_CRC_AT, 4u);
  /* The index lies after the header, the data after the index (maskburn-image writes them in that order). */
  if (header_size < ROMFONT_IMAGE_HEADER_BYTES ||
      !part_fits(image->index_offset, image->index_size, header_size, capacity) ||
      !part_fits(image->data_offset, image->data_size, image->index_offset + image->index_size, capacity)) {
    return ROMFONT_IMAGE_BAD_SIZES;
  }
  /* a compact index: the two tables and 0 to 255 blocks (version 1's size romfont_init_callback judges) */
  if (image->version == ROMFONT_IMAGE_COMPACT_VERSION &&
      (image->index_size < ROMFONT_COMPACT_TABLES_BYTES || image->index_size > ROMFONT_COMPACT_MAX_BYTES ||
       (image->index_size - ROMFONT_COMPACT_TABLES_BYTES) % ROMFONT_COMPACT_BLOCK_BYTES != 0u)) {
    return ROMFONT_IMAGE_BAD_SIZES;
  }
  return ROMFONT_IMAGE_OK;
}

romfont_image_result romfont_image_init(romfont_image *image, romfont *font, romfont_image_read_fn read,
                                        void *context, uint32_t base, uint32_t capacity) {
  uint8_t header[ROMFONT_IMAGE_HEADER_BYTES];
  romfont_image_result result = ROMFONT_IMAGE_BAD_ARGUMENT;
  if (image != NULL && font != NULL && read != NULL) {
    image->read = read;
    image->context = context;
    image->base = base;
    /* Addresses are 32 bits: a memory reaching past the last one ends there. */
    if (base != 0u && capacity > 0u - base) capacity = 0u - base;
    if (capacity < ROMFONT_IMAGE_HEADER_BYTES) {
      result = ROMFONT_IMAGE_BAD_SIZES; /* not even the header fits: nothing is read */
    } else {
      result = read(context, base, header, ROMFONT_IMAGE_HEADER_BYTES) == 0u ? ROMFONT_IMAGE_READ_ERROR
                                                                             : open_header(image, header, capacity);
    }
  }
  /* romfont_init_callback refuses a version-1 index not of a ROM's size (512 bytes times 1 to 256) */
  if (result == ROMFONT_IMAGE_OK) {
    const romfont_result setup = romfont_init_callback(font, read_part, image, image->index_size, image->data_size);
    if (image->version == ROMFONT_IMAGE_COMPACT_VERSION) {
      font->full_glyph = compact_glyph;
    } else if (setup != ROMFONT_OK) {
      result = ROMFONT_IMAGE_BAD_SIZES;
    }
  }
  if (result != ROMFONT_IMAGE_OK) {
    /* Sizes 0: every lookup fails its bounds check with ROMFONT_BAD_IMAGE before anything is read; and
       romfont_image_check refuses an image without its read function. A NULL font is left alone. */
    if (image != NULL) image->read = NULL;
    (void)romfont_init_callback(font, read_part, image, 0u, 0u);
  }
  return result;
}

romfont_image_result romfont_image_check(const romfont_image *image) {
  uint8_t buffer[CHECK_CHUNK_BYTES];
  uint8_t file;
  uint16_t length;
  uint32_t address;
  uint32_t left;
  uint32_t crc;
  uint32_t table[16];
  if (image == NULL || image->read == NULL) return ROMFONT_IMAGE_BAD_ARGUMENT;
  crc_nibble_table(table);
  for (file = ROMFONT_INDEX_FILE; file <= ROMFONT_DATA_FILE; ++file) {
    address = image->base + (file == ROMFONT_INDEX_FILE ? image->index_offset : image->data_offset);
    left = file == ROMFONT_INDEX_FILE ? image->index_size : image->data_size;
    crc = 0xFFFFFFFFu;
    for (; left != 0u; left -= length, address += length) {
      length = left < CHECK_CHUNK_BYTES ? (uint16_t)left : (uint16_t)CHECK_CHUNK_BYTES;
      if (image->read(image->context, address, buffer, length) == 0u) return ROMFONT_IMAGE_READ_ERROR;
      crc = crc_update(table, crc, buffer, length);
    }
    if (~crc != (file == ROMFONT_INDEX_FILE ? image->index_crc : image->data_crc)) return ROMFONT_IMAGE_BAD_CRC;
  }
  return ROMFONT_IMAGE_OK;
}
