/* romfont_draw: the glyph to show for a character (the ROM's, its folded form's, or a fallback mark) and drawing
   glyphs, lines and texts into page-format or row-major display memory, clipped, or through a per-glyph function
   (see romfont_text.h).
   Copyright (c) 2026 The MASKBURN developers; MIT licence (SPDX-License-Identifier: MIT), text in the
   LICENSE file of MASKBURN. */
#include "romfont_text.h"

#define GETA_MARK 0x3013u /* 〓, drawn for a full-width character the ROM lacks */

/* The empty box in a cell of width 8 or 16: the outline of columns 1 to width-2 and rows 1 to 14. */
static void put_box(uint8_t *glyph, uint8_t width) {
  uint8_t row;
  for (row = 0u; row < 16u; ++row) {
    uint16_t bits = 0u;
    if (row == 1u || row == 14u) bits = width == 16u ? 0x7FFEu : 0x7E00u;
    if (row > 1u && row < 14u) bits = width == 16u ? 0x4002u : 0x4200u;
    if (width == 16u) {
      glyph[2u * row] = (uint8_t)(bits >> 8);
      glyph[2u * row + 1u] = (uint8_t)bits;
    } else {
      glyph[row] = (uint8_t)(bits >> 8);
      glyph[16u + row] = 0u;
    }
  }
}

romfont_result romfont_text_glyph(const romfont *font, uint32_t code_point, const romfont_fallback *fallback,
                                  romfont_char *ch) {
  const uint8_t width = romfont_char_width(code_point);
  const uint32_t folded = romfont_fold(code_point);
  const uint8_t *own = NULL;
  romfont_result result = ROMFONT_NO_GLYPH;
  romfont_result missing = ROMFONT_NO_GLYPH; /* what a fallback glyph is reported as */
  uint8_t i;
  if (ch == NULL) return ROMFONT_BAD_ARGUMENT;
  if (font == NULL || width == 0u) {
    for (i = 0u; i < ROMFONT_FULL_BYTES; ++i) ch->glyph[i] = 0u;
    result = font == NULL ? ROMFONT_BAD_ARGUMENT : ROMFONT_OK;
  } else if (code_point == ROMFONT_MALFORMED) {
    missing = ROMFONT_BAD_UTF8;
  } else {
    /* yen and overline go straight to the half-width table: their width says so */
    result = romfont_char_glyph(font, width == 8u ? folded : code_point, ch);
    if (result == ROMFONT_NO_GLYPH && folded != code_point) result = romfont_char_glyph(font, folded, ch);
  }
  if (result == ROMFONT_NO_GLYPH && fallback != NULL) own = width == 8u ? fallback->half : fallback->full;
  if (own != NULL) {
    for (i = 0u; i < ROMFONT_FULL_BYTES; ++i) ch->glyph[i] = i < 2u * width ? own[i] : 0u;
    result = missing;
  } else if (result == ROMFONT_NO_GLYPH) {
    result = width == 16u ? romfont_full_glyph(font, GETA_MARK, ch->glyph) : ROMFONT_NO_GLYPH;
    if (result == ROMFONT_NO_GLYPH) put_box(ch->glyph, width);
    if (result == ROMFONT_NO_GLYPH || result == ROMFONT_OK) result = missing;
  }
  ch->code_point = code_point;
  ch->offset = 0u;
  ch->length = 0u;
  ch->width = width;
  return result;
}

/* Whether the buffer can be drawn into: its bytes given, a known format, a stride that holds a page or a row. */
static uint8_t usable(const romfont_buffer *buffer) {
  if (buffer == NULL || buffer->bytes == NULL) return 0u;
  if (buffer->format == ROMFONT_BUFFER_PAGES) return buffer->stride >= buffer->width ? 1u : 0u;
  if (buffer->format == ROMFONT_BUFFER_ROWS) return buffer->stride >= (buffer->width + 7u) / 8u ? 1u : 0u;
  return 0u;
}

/* Whether a cell of width x 16 pixels at (x, y) lies wholly outside the buffer. */
static uint8_t outside(const romfont_buffer *buffer, int32_t x, int32_t y, uint8_t width) {
  return x >= (int32_t)buffer->width || y >= (int32_t)buffer->height || x <= -(int32_t)width || y <= -16 ? 1u : 0u;
}

romfont_result romfont_draw_bitmap(const romfont_buffer *buffer, int32_t x, int32_t y, uint8_t width,
                                   const uint8_t *glyph) {
  uint8_t row, first_row, end_row, first_column, end_column;
  const uint8_t row_bytes = (uint8_t)((width + 7u) / 8u);
  if (!usable(buffer) || glyph == NULL || width == 0u || width > 16u) return ROMFONT_BAD_ARGUMENT;
  if (outside(buffer, x, y, width)) return ROMFONT_OK;
  /* The part of the glyph inside the buffer: rows first_row to end_row - 1, columns likewise. */
  first_column = x < 0 ? (uint8_t)-x : 0u;
  end_column = (int32_t)buffer->width - x < (int32_t)width ? (uint8_t)((int32_t)buffer->width - x) : width;
  first_row = y < 0 ? (uint8_t)-y : 0u;
  end_row = (int32_t)buffer->height - y < 16 ? (uint8_t)((int32_t)buffer->height - y) : 16u;
  for (row = first_row; row < end_row; ++row) {
    const uint16_t pixel_y = (uint16_t)(y + row);
    const uint16_t pixel_x = (uint16_t)(x + first_column);
    uint16_t bits = (uint16_t)((uint16_t)glyph[row * row_bytes] << 8);
    uint8_t column;
    uint8_t *at;
    uint8_t mask;
    if (row_bytes == 2u) bits = (uint16_t)(bits | glyph[2u * row + 1u]);
    bits = (uint16_t)(bits << first_column); /* the leftmost pixel drawn in bit 15 */
    if (buffer->format == ROMFONT_BUFFER_PAGES) {
      at = buffer->bytes + (uint32_t)(pixel_y >> 3) * buffer->stride + pixel_x;
      mask = (uint8_t)(1u << (pixel_y & 7u));
      for (column = first_column; column < end_column; ++column, ++at) {
        if (bits & 0x8000u) *at |= mask;
        bits = (uint16_t)(bits << 1);
      }
    } else {
      at = buffer->bytes + (uint32_t)pixel_y * buffer->stride + (pixel_x >> 3);
      mask = (uint8_t)(0x80u >> (pixel_x & 7u));
      for (column = first_column; column < end_column; ++column) {
        if (bits & 0x8000u) *at |= mask;
        bits = (uint16_t)(bits << 1);
        mask = (uint8_t)(mask >> 1);
        if (mask == 0u) {
          mask = 0x80u;
          ++at;
        }
      }
    }
  }
  return ROMFONT_OK;
}

romfont_result romfont_draw_char(const romfont_pen *pen, int32_t x, int32_t y, uint32_t code_point) {
  romfont_char ch;
  romfont_result result;
  const uint8_t width = romfont_char_width(code_point);
  if (pen == NULL || (pen->buffer == NULL && pen->draw == NULL)) return ROMFONT_BAD_ARGUMENT;
  if (pen->buffer != NULL && !usable(pen->buffer)) return ROMFONT_BAD_ARGUMENT;
  if (width == 0u || (pen->buffer != NULL && outside(pen->buffer, x, y, width))) return ROMFONT_OK;
  result = romfont_text_glyph(pen->font, code_point, pen->fallback, &ch);
  if (result == ROMFONT_OK || result == ROMFONT_NO_GLYPH || result == ROMFONT_BAD_UTF8) {
    if (pen->buffer != NULL) {
      romfont_draw_bitmap(pen->buffer, x, y, width, ch.glyph);
    } else {
      pen->draw(pen->context, x, y, width, ch.glyph);
    }
  }
  return result;
}

/* Whether a result means that drawing cannot go on: ROM trouble or a bad argument. */
static uint8_t stops(romfont_result result) {
  return result == ROMFONT_BAD_IMAGE || result == ROMFONT_READ_ERROR || result == ROMFONT_BAD_ARGUMENT ? 1u : 0u;
}

romfont_result romfont_draw_line(const romfont_pen *pen, int32_t x, int32_t y, const romfont_text *text,
                                 const romfont_line *line) {
  romfont_result result = ROMFONT_OK;
  uint32_t position;
  uint32_t code_point;
  uint8_t length;
  if (pen == NULL || text == NULL || line == NULL) return ROMFONT_BAD_ARGUMENT;
  for (position = line->start; position < line->end; position += length) {
    romfont_result drawn;
    length = romfont_text_char(text, position, &code_point);
    /* past the buffer's right edge nothing more shows; x must not overflow */
    if (length == 0u || (pen->buffer != NULL && x >= (int32_t)pen->buffer->width) || x > INT32_MAX - 16) break;
    drawn = romfont_draw_char(pen, x, y, code_point);
    if (stops(drawn)) return drawn;
    if (drawn != ROMFONT_OK) result = drawn;
    x += romfont_char_width(code_point);
  }
  return result;
}

romfont_result romfont_draw_text(const romfont_pen *pen, int32_t x, int32_t y, const romfont_text *text,
                                 uint16_t max_width, uint16_t line_height) {
  romfont_result result = ROMFONT_OK;
  romfont_line line;
  uint32_t start = 0u;
  if (pen == NULL || text == NULL) return ROMFONT_BAD_ARGUMENT;
  while (romfont_next_line(text, start, max_width, &line) == ROMFONT_OK) {
    if (pen->buffer != NULL && y >= (int32_t)pen->buffer->height) break; /* lines below a buffer never show */
    if (pen->buffer == NULL || y > -16) {
      const romfont_result drawn = romfont_draw_line(pen, x, y, text, &line);
      if (stops(drawn)) return drawn;
      if (drawn != ROMFONT_OK) result = drawn;
    }
    start = line.next;
    if (y > INT32_MAX - (int32_t)line_height) break;
    y += line_height;
  }
  return result;
}
