/* romfont: glyph lookup in a maskburn ROM, from memory or through a read function, and a UTF-8 walker.
   Copyright (c) 2026 The MASKBURN developers; MIT licence (SPDX-License-Identifier: MIT), text in the
   LICENSE file of MASKBURN.
   Written for firmware: C99, no heap, no static data, no library calls of its own (a compiler may still turn
   the clearing loop into a memset call, as GCC does at -Os on ARM), fixed-width arithmetic (correct where int
   is 16 bits), and every file offset checked against the sizes the caller gave before anything is read.
   Output buffers are cleared only when a lookup fails: on success every byte is copied from the ROM. */
#include "romfont.h"

#define HALF_TABLE_BYTES 256u  /* half-width glyph numbers, one per code */
#define BLOCK_TABLE_OFFSET 256u /* block numbers, one per high byte of a key */

/* On AVR, a call to fetch costs about a hundred cycles of saved registers, three times per full-width glyph:
   inlined there, a glyph from program memory stays well under a thousand cycles. Elsewhere size wins. */
#if defined(__AVR__) && defined(__GNUC__)
#define ROMFONT_FETCH_ATTRIBUTES __attribute__((always_inline)) inline
#else
#define ROMFONT_FETCH_ATTRIBUTES
#endif

static void clear_bytes(uint8_t *bytes, uint16_t count) {
  uint16_t i;
  for (i = 0; i < count; ++i) bytes[i] = 0;
}

/* Clears the output of a failed lookup and passes its result on. */
static romfont_result failed(uint8_t *glyph, uint16_t count, romfont_result result) {
  clear_bytes(glyph, count);
  return result;
}

/* Reads count bytes at offset of one of the two files, refusing any range that does not lie wholly
   within the size given for that file. */
static ROMFONT_FETCH_ATTRIBUTES romfont_result fetch(const romfont *font, uint8_t file, uint32_t offset, uint8_t *buffer, uint16_t count) {
  const uint32_t size = file == ROMFONT_INDEX_FILE ? font->index_size : font->data_size;
  const uint8_t *source;
  uint16_t i;
  if (offset > size || size - offset < (uint32_t)count) return ROMFONT_BAD_IMAGE;
  if (font->read != NULL) {
    return font->read(font->context, file, offset, buffer, count) != 0u ? ROMFONT_OK : ROMFONT_READ_ERROR;
  }
  source = file == ROMFONT_INDEX_FILE ? font->index : font->data;
  if (source == NULL) return ROMFONT_BAD_ARGUMENT;
  for (i = 0; i < count; ++i) buffer[i] = source[offset + (uint32_t)i];
  return ROMFONT_OK;
}

static romfont_result check_index_size(uint32_t size) {
  if (size < ROMFONT_INDEX_BLOCK_BYTES || size > ROMFONT_INDEX_MAX_BYTES || size % ROMFONT_INDEX_BLOCK_BYTES != 0u) {
    return ROMFONT_BAD_IMAGE;
  }
  return ROMFONT_OK;
}

romfont_result romfont_init_memory(romfont *font, const uint8_t *index, uint32_t index_size, const uint8_t *data,
                                   uint32_t data_size) {
  if (font == NULL) return ROMFONT_BAD_ARGUMENT;
  font->index = index;
  font->index_size = index_size;
  font->data = data;
  font->data_size = data_size;
  font->read = NULL;
  font->context = NULL;
  font->full_glyph = NULL;
  if ((index == NULL && index_size != 0u) || (data == NULL && data_size != 0u)) return ROMFONT_BAD_ARGUMENT;
  return check_index_size(index_size);
}

romfont_result romfont_init_callback(romfont *font, romfont_read_fn read, void *context, uint32_t index_size,
                                     uint32_t data_size) {
  if (font == NULL) return ROMFONT_BAD_ARGUMENT;
  font->index = NULL;
  font->index_size = index_size;
  font->data = NULL;
  font->data_size = data_size;
  font->read = read;
  font->context = context;
  font->full_glyph = NULL;
  if (read == NULL) return ROMFONT_BAD_ARGUMENT;
  return check_index_size(index_size);
}

romfont_result romfont_half_glyph(const romfont *font, uint8_t code, uint8_t glyph[16]) {
  uint8_t number;
  romfont_result result;
  if (glyph == NULL) return ROMFONT_BAD_ARGUMENT;
  if (font == NULL) return failed(glyph, ROMFONT_HALF_BYTES, ROMFONT_BAD_ARGUMENT);
  result = fetch(font, ROMFONT_INDEX_FILE, (uint32_t)code, &number, 1u);
  if (result == ROMFONT_OK && number == 0u) result = ROMFONT_NO_GLYPH;
  if (result == ROMFONT_OK) {
    result = fetch(font, ROMFONT_DATA_FILE, ((uint32_t)number - 1u) * ROMFONT_HALF_BYTES, glyph, ROMFONT_HALF_BYTES);
  }
  /* a failed read may have left part of the glyph */
  return result == ROMFONT_OK ? ROMFONT_OK : failed(glyph, ROMFONT_HALF_BYTES, result);
}

/* The full-width lookup in FONTINDEX.BIN's layout. Kept out of line so that romfont_full_glyph, choosing between
   it and another layout's lookup, saves no registers of its own: on AVR that would cost the other lookup about
   80 cycles. */
#if defined(__GNUC__)
__attribute__((noinline))
#endif
static romfont_result plain_full_glyph(const romfont *font, uint16_t key, uint8_t glyph[32]) {
  uint8_t block;
  uint8_t slot_bytes[2];
  uint32_t slot = 0u;
  romfont_result result;
  if (glyph == NULL) return ROMFONT_BAD_ARGUMENT;
  if (font == NULL) return failed(glyph, ROMFONT_FULL_BYTES, ROMFONT_BAD_ARGUMENT);
  result = fetch(font, ROMFONT_INDEX_FILE, BLOCK_TABLE_OFFSET + ((uint32_t)key >> 8), &block, 1u);
  if (result == ROMFONT_OK && block == 0u) result = ROMFONT_NO_GLYPH;
  /* Block numbers are at most 255, so the entry offset stays below 2^17. */
  if (result == ROMFONT_OK) {
    result = fetch(font, ROMFONT_INDEX_FILE, (uint32_t)block * ROMFONT_INDEX_BLOCK_BYTES + 2u * ((uint32_t)key & 0xFFu),
                   slot_bytes, 2u);
  }
  if (result == ROMFONT_OK) slot = (uint32_t)slot_bytes[0] | ((uint32_t)slot_bytes[1] << 8);
  if (result == ROMFONT_OK && slot == 0u) result = ROMFONT_NO_GLYPH;
  if (result == ROMFONT_OK) result = fetch(font, ROMFONT_DATA_FILE, slot * ROMFONT_FULL_BYTES, glyph, ROMFONT_FULL_BYTES);
  return result == ROMFONT_OK ? ROMFONT_OK : failed(glyph, ROMFONT_FULL_BYTES, result);
}

romfont_result romfont_full_glyph(const romfont *font, uint16_t key, uint8_t glyph[32]) {
  if (font != NULL && glyph != NULL && font->full_glyph != NULL) return font->full_glyph(font, key, glyph);
  return plain_full_glyph(font, key, glyph);
}

int16_t romfont_half_code(uint32_t code_point) {
  if (code_point >= 0x20u && code_point <= 0x7Eu) return (int16_t)code_point;
  if (code_point >= 0xFF61u && code_point <= 0xFF9Fu) return (int16_t)(code_point - 0xFF61u + 0xA1u);
  return -1;
}

romfont_result romfont_char_glyph(const romfont *font, uint32_t code_point, romfont_char *ch) {
  int16_t half;
  if (ch == NULL) return ROMFONT_BAD_ARGUMENT;
  ch->code_point = code_point;
  ch->offset = 0u;
  ch->length = 0u;
  half = romfont_half_code(code_point);
  if (half >= 0) {
    ch->width = 8u;
    clear_bytes(ch->glyph + ROMFONT_HALF_BYTES, ROMFONT_FULL_BYTES - ROMFONT_HALF_BYTES);
    return romfont_half_glyph(font, (uint8_t)half, ch->glyph);
  }
  ch->width = 16u;
  if (code_point > 0xFFFFu) {
    return failed(ch->glyph, ROMFONT_FULL_BYTES, font == NULL ? ROMFONT_BAD_ARGUMENT : ROMFONT_NO_GLYPH);
  }
  return romfont_full_glyph(font, (uint16_t)code_point, ch->glyph);
}

void romfont_walk(romfont_walker *walker, const romfont *font, const char *text, uint32_t length) {
  if (walker == NULL) return;
  walker->font = font;
  walker->text = (const uint8_t *)text;
  walker->length = text == NULL ? 0u : length;
  walker->position = 0u;
}

/* Whether the string has a byte at position + ahead; a NUL-terminated string ends at its first NUL, which
   the walk only ever reaches byte by byte, so nothing past it is read. */
static int8_t has_byte(const romfont_walker *walker, uint32_t ahead) {
  if (walker->text == NULL) return 0;
  if (walker->length == ROMFONT_NUL_TERMINATED) return walker->text[walker->position + ahead] != 0u ? 1 : 0;
  return walker->length - walker->position > ahead ? 1 : 0;
}

romfont_result romfont_next_char(romfont_walker *walker, romfont_char *ch) {
  uint8_t lead;
  uint8_t needed;
  uint8_t taken;
  uint8_t lower = 0x80u;
  uint8_t upper = 0xBFu;
  uint32_t code_point;
  romfont_result result;
  if (ch == NULL) return ROMFONT_BAD_ARGUMENT;
  ch->code_point = 0u;
  ch->length = 0u;
  ch->width = 0u;
  ch->offset = walker == NULL ? 0u : walker->position;
  if (walker == NULL) return failed(ch->glyph, ROMFONT_FULL_BYTES, ROMFONT_BAD_ARGUMENT);
  if (!has_byte(walker, 0u)) return failed(ch->glyph, ROMFONT_FULL_BYTES, ROMFONT_END);

  /* Decoding in the manner of the Unicode "maximal subpart" practice: the allowed range of the second byte
     depends on the lead byte, which rules out overlong forms, surrogates and values above U+10FFFF. */
  lead = walker->text[walker->position];
  if (lead < 0x80u) {
    needed = 0u;
    code_point = lead;
  } else if (lead >= 0xC2u && lead <= 0xDFu) {
    needed = 1u;
    code_point = (uint32_t)lead & 0x1Fu;
  } else if (lead >= 0xE0u && lead <= 0xEFu) {
    needed = 2u;
    code_point = (uint32_t)lead & 0x0Fu;
    if (lead == 0xE0u) lower = 0xA0u;
    if (lead == 0xEDu) upper = 0x9Fu;
  } else if (lead >= 0xF0u && lead <= 0xF4u) {
    needed = 3u;
    code_point = (uint32_t)lead & 0x07u;
    if (lead == 0xF0u) lower = 0x90u;
    if (lead == 0xF4u) upper = 0x8Fu;
  } else {
    needed = 0u;
    code_point = 0xFFFFFFFFu; /* stray continuation byte, C0, C1 or F5-FF */
  }

  for (taken = 1u; taken <= needed; ++taken) {
    uint8_t next;
    if (!has_byte(walker, taken)) break;
    next = walker->text[walker->position + taken];
    if (next < lower || next > upper) break;
    code_point = (code_point << 6) | ((uint32_t)next & 0x3Fu);
    lower = 0x80u;
    upper = 0xBFu;
  }
  walker->position += taken;
  ch->length = taken;

  if (code_point == 0xFFFFFFFFu || taken <= needed) {
    ch->code_point = ROMFONT_REPLACEMENT_CHARACTER;
    ch->width = 16u;
    return failed(ch->glyph, ROMFONT_FULL_BYTES, ROMFONT_BAD_UTF8);
  }
  result = romfont_char_glyph(walker->font, code_point, ch);
  ch->offset = walker->position - taken;
  ch->length = taken;
  return result;
}
