/* romfont_text: UTF-8 fed a byte at a time, character widths and folding from the code point alone, texts in RAM or
   AVR program memory, and line breaking with the basic kinsoku rules (see romfont_text.h).
   Copyright (c) 2026 The MASKBURN developers; MIT licence (SPDX-License-Identifier: MIT), text in the
   LICENSE file of MASKBURN.
   No ROM is read here. The character sets are comparisons, not tables: romfont keeps no static data, which on AVR
   would be copied into RAM. */
#include "romfont_text.h"

#if defined(__AVR__)
#include <avr/pgmspace.h>
#endif

void romfont_utf8_init(romfont_utf8 *decoder) {
  if (decoder == NULL) return;
  decoder->code_point = 0u;
  decoder->needed = 0u;
  decoder->lower = 0x80u;
  decoder->upper = 0xBFu;
}

uint8_t romfont_utf8_feed(romfont_utf8 *decoder, uint8_t byte, uint32_t out[2]) {
  uint8_t count = 0u;
  if (decoder == NULL || out == NULL) return 0u;
  if (decoder->needed != 0u) {
    if (byte >= decoder->lower && byte <= decoder->upper) {
      decoder->code_point = (decoder->code_point << 6) | ((uint32_t)byte & 0x3Fu);
      decoder->lower = 0x80u;
      decoder->upper = 0xBFu;
      if (--decoder->needed == 0u) out[count++] = decoder->code_point;
      return count;
    }
    decoder->needed = 0u; /* cut short: the sequence is malformed, the byte starts anew */
    out[count++] = ROMFONT_MALFORMED;
  }
  /* As romfont_next_char: the second byte's range depends on the lead byte, which rules out overlong forms,
     surrogates and values above U+10FFFF. */
  decoder->lower = 0x80u;
  decoder->upper = 0xBFu;
  if (byte < 0x80u) {
    out[count++] = byte;
  } else if (byte >= 0xC2u && byte <= 0xDFu) {
    decoder->needed = 1u;
    decoder->code_point = (uint32_t)byte & 0x1Fu;
  } else if (byte >= 0xE0u && byte <= 0xEFu) {
    decoder->needed = 2u;
    decoder->code_point = (uint32_t)byte & 0x0Fu;
    if (byte == 0xE0u) decoder->lower = 0xA0u;
    if (byte == 0xEDu) decoder->upper = 0x9Fu;
  } else if (byte >= 0xF0u && byte <= 0xF4u) {
    decoder->needed = 3u;
    decoder->code_point = (uint32_t)byte & 0x07u;
    if (byte == 0xF0u) decoder->lower = 0x90u;
    if (byte == 0xF4u) decoder->upper = 0x8Fu;
  } else {
    out[count++] = ROMFONT_MALFORMED; /* stray continuation byte, C0, C1 or F5-FF */
  }
  return count;
}

uint8_t romfont_utf8_finish(romfont_utf8 *decoder, uint32_t *out) {
  uint8_t unfinished;
  if (decoder == NULL) return 0u;
  unfinished = decoder->needed != 0u ? 1u : 0u;
  romfont_utf8_init(decoder);
  if (unfinished && out != NULL) *out = ROMFONT_MALFORMED;
  return out != NULL ? unfinished : 0u;
}

uint8_t romfont_char_width(uint32_t code_point) {
  if (code_point < 0x20u || (code_point >= 0x7Fu && code_point <= 0x9Fu)) return 0u;
  if (code_point <= 0x7Eu || (code_point >= 0xFF61u && code_point <= 0xFF9Fu)) return 8u;
  if (code_point == 0xA5u || code_point == 0x203Eu) return 8u;
  return 16u;
}

uint32_t romfont_fold(uint32_t code_point) {
  switch (code_point) {
    case 0x301Cu: return 0xFF5Eu;
    case 0x2212u: return 0xFF0Du;
    case 0x2016u: return 0x2225u;
    case 0x2014u: return 0x2015u;
    case 0xA2u: return 0xFFE0u;
    case 0xA3u: return 0xFFE1u;
    case 0xACu: return 0xFFE2u;
    case 0xA5u: return 0x5Cu;
    case 0x203Eu: return 0x7Eu;
    default: return code_point;
  }
}

/* The byte at position of the text into *byte: 1, or 0 past its end (its length, or its NUL). */
static uint8_t text_byte(const romfont_text *text, uint32_t position, uint8_t *byte) {
  if (text->length != ROMFONT_NUL_TERMINATED && position >= text->length) return 0u;
#if defined(__AVR__)
  if (text->memory == ROMFONT_IN_PROGRAM_MEMORY) {
    *byte = pgm_read_byte(text->bytes + position);
  } else {
    *byte = (uint8_t)text->bytes[position];
  }
#else
  *byte = (uint8_t)text->bytes[position];
#endif
  return text->length != ROMFONT_NUL_TERMINATED || *byte != 0u ? 1u : 0u;
}

uint8_t romfont_text_char(const romfont_text *text, uint32_t position, uint32_t *code_point) {
  romfont_utf8 decoder;
  uint32_t out[2];
  uint8_t taken = 0u;
  uint8_t byte;
  if (text == NULL || text->bytes == NULL || code_point == NULL) return 0u;
  romfont_utf8_init(&decoder);
  /* A sequence is at most 4 bytes: the decoder gives something by the fourth. */
  while (taken < 4u && position + taken >= position && text_byte(text, position + taken, &byte)) {
    const uint8_t under_way = decoder.needed;
    if (romfont_utf8_feed(&decoder, byte, out) != 0u) {
      *code_point = out[0];
      /* a byte that cut a sequence short belongs to the next character */
      return under_way != 0u && out[0] == ROMFONT_MALFORMED ? taken : (uint8_t)(taken + 1u);
    }
    ++taken;
  }
  *code_point = ROMFONT_MALFORMED; /* cut short by the end of the text */
  return taken;
}

uint32_t romfont_text_width(const romfont_text *text) {
  uint32_t position = 0u;
  uint32_t width = 0u;
  uint32_t code_point;
  uint8_t length;
  while ((length = romfont_text_char(text, position, &code_point)) != 0u) {
    width += romfont_char_width(code_point);
    position += length;
  }
  return width;
}

/* Characters no line starts with: closing punctuation and small kana, full-width, half-width and ASCII. Compared as
   16 bits: half the code of 32 on AVR. */
static uint8_t closes(uint32_t c) {
  const uint16_t u = (uint16_t)c;
  if (c > 0xFFFFu) return 0u;
  if ((u >= 0x3041u && u <= 0x3049u) || (u >= 0x30A1u && u <= 0x30A9u)) return (uint8_t)(u & 1u); /* ぁぃぅぇぉ ァィゥェォ */
  if (u >= 0xFF61u && u <= 0xFF70u) return u != 0xFF62u && u != 0xFF66u ? 1u : 0u;             /* ｡｣､･ｧ-ｯｰ */
  switch (u) {
    case 0x3063u: case 0x3083u: case 0x3085u: case 0x3087u:                       /* っゃゅょ */
    case 0x30C3u: case 0x30E3u: case 0x30E5u: case 0x30E7u:                       /* ッャュョ */
    case 0x3001u: case 0x3002u: case 0xFF0Cu: case 0xFF0Eu: case 0x30FBu:         /* 、。，．・ */
    case 0xFF1Au: case 0xFF1Bu: case 0xFF1Fu: case 0xFF01u: case 0x30FCu:         /* ：；？！ー */
    case 0xFF09u: case 0x300Du: case 0x300Fu: case 0x3011u: case 0x3015u:         /* ）」』】〕 */
    case ',': case '.': case ':': case ';': case '?': case '!': case ')':
      return 1u;
    default:
      return 0u;
  }
}

/* Characters no line ends with: opening brackets. */
static uint8_t opens(uint32_t c) {
  const uint16_t u = (uint16_t)c;
  if (c > 0xFFFFu) return 0u;
  return u == 0xFF08u || u == 0x300Cu || u == 0x300Eu || u == 0x3010u || u == 0x3014u || u == 0xFF62u || u == '(' ? 1u : 0u;
}

/* Whether a line may break between before and after, neither of them a space: not inside an ASCII word, not
   before a closing character, not after an opening one. */
static uint8_t may_break(uint32_t before, uint32_t after) {
  if (before > 0x20u && before < 0x7Fu && after > 0x20u && after < 0x7Fu) return 0u;
  return (uint8_t)(closes(after) || opens(before) ? 0u : 1u);
}

/* Past the spaces at position, and past one '\n' right after them. */
static uint32_t skip_spaces(const romfont_text *text, uint32_t position) {
  uint32_t code_point;
  uint8_t length;
  while ((length = romfont_text_char(text, position, &code_point)) != 0u && code_point == ' ') position += length;
  return length != 0u && code_point == '\n' ? position + length : position;
}

romfont_result romfont_next_line(const romfont_text *text, uint32_t start, uint16_t max_width, romfont_line *line) {
  uint32_t position = start;
  uint32_t previous = 0u;
  uint32_t code_point;
  uint16_t width = 0u;
  uint8_t drawn = 0u; /* a character with a width is on the line */
  uint8_t length;
  romfont_line wrap;  /* the last place the line may break, if drawn */
  if (text == NULL || line == NULL) return ROMFONT_BAD_ARGUMENT;
  wrap.start = start;
  wrap.end = start;
  wrap.width = 0u;
  wrap.next = start;
  for (;;) {
    uint8_t advance;
    length = romfont_text_char(text, position, &code_point);
    if (length == 0u && position == start) return ROMFONT_END;
    if (length == 0u || code_point == '\n') break;
    if (drawn && previous != ' ') {
      if (code_point == ' ') {
        wrap.end = position;
        wrap.width = width;
        wrap.next = skip_spaces(text, position);
      } else if (may_break(previous, code_point)) {
        wrap.end = position;
        wrap.width = width;
        wrap.next = position;
      }
    }
    advance = romfont_char_width(code_point);
    if (drawn && (uint32_t)width + advance > max_width) {
      if (wrap.end != start) {
        *line = wrap;
        return ROMFONT_OK;
      }
      /* no place to break: before this character (past it and its fellows, if a space) */
      line->start = start;
      line->end = position;
      line->width = width;
      line->next = code_point == ' ' ? skip_spaces(text, position) : position;
      return ROMFONT_OK;
    }
    width = (uint16_t)(width + advance);
    if (advance != 0u) drawn = 1u;
    previous = code_point;
    position += length;
  }
  line->start = start;
  line->end = position;
  line->width = width;
  line->next = position + length;
  return ROMFONT_OK;
}
