/* romfont_text: text on a display with romfont: UTF-8 fed a byte at a time, widths without reading the ROM,
   line breaking (at '\n', at spaces, between Japanese characters with the basic kinsoku rules), the glyph to
   show for any character (the ROM's, a folded form's, or a fallback mark), and drawing into a display's memory.
   Copyright (c) 2026 The MASKBURN developers; MIT licence (SPDX-License-Identifier: MIT), text in the
   LICENSE file of MASKBURN.

   These calls live in romfont_text.c and romfont_draw.c, apart from the lookups of romfont.h: firmware that only
   looks glyphs up carries none of them. Same rules as romfont.c: C99, no heap, no static data (no tables even in
   flash: every set below is code), fixed-width arithmetic (correct where int is 16 bits), no library calls.

   A SCREEN OF TEXT, IN STRIPS OF TWO PAGES (SSD1306, SH1106, ST7565)

       uint8_t strip[2 * 128];                                        // pages 2k and 2k+1, 128 columns each
       romfont_buffer buffer = {strip, 128, 16, 128, ROMFONT_BUFFER_PAGES};
       romfont_pen pen = {&font, NULL, &buffer, NULL, NULL};          // default fallback, into the buffer
       romfont_text text = {(const char *)F("温度 23.5℃。次の行\n改行"), ROMFONT_NUL_TERMINATED,
                            ROMFONT_IN_PROGRAM_MEMORY};
       for (uint8_t page = 0; page < 8; page += 2) {
           memset(strip, 0, sizeof strip);
           // the screen's row 0 is the strip's row -8 * page: glyphs wholly off the strip are not read
           romfont_result r = romfont_draw_text(&pen, 0, -8 * (int32_t)page, &text, 128, 16);
           if (r == ROMFONT_READ_ERROR || r == ROMFONT_BAD_IMAGE) break;   // ROM trouble
           send_pages(page, strip);
       }

   Or line by line, to centre each one (the widths need no ROM reads):

       romfont_line line;
       uint32_t at = 0;
       int32_t y = 0;
       while (romfont_next_line(&text, at, 128, &line) == ROMFONT_OK) {
           romfont_draw_line(&pen, (128 - (int32_t)line.width) / 2, y, &text, &line);
           at = line.next;
           y += 16;
       }

   CHARACTERS AND WIDTHS (from the code point alone: no ROM is read to know a width)

     - 8 pixels: U+0020-U+007E, U+FF61-U+FF9F (half-width katakana), U+00A5 (yen) and U+203E (overline);
     - 0 pixels: control characters U+0000-U+001F and U+007F-U+009F, '\n' among them: never drawn, skipped;
     - 16 pixels: everything else, code points above U+FFFF (never in a ROM) and malformed UTF-8 included.

   FOLDING: what the ROM holds instead (its full-width keys follow code page 932's mapping of JIS X 0208,
   while Mac and Linux input methods type the characters of the other common mapping)

       asked for                      when                  the glyph drawn
       U+301C WAVE DASH               the ROM lacks it      U+FF5E FULLWIDTH TILDE
       U+2212 MINUS SIGN              the ROM lacks it      U+FF0D FULLWIDTH HYPHEN-MINUS
       U+2016 DOUBLE VERTICAL LINE    the ROM lacks it      U+2225 PARALLEL TO
       U+2014 EM DASH                 the ROM lacks it      U+2015 HORIZONTAL BAR
       U+00A2 CENT SIGN               the ROM lacks it      U+FFE0 FULLWIDTH CENT SIGN
       U+00A3 POUND SIGN              the ROM lacks it      U+FFE1 FULLWIDTH POUND SIGN
       U+00AC NOT SIGN                the ROM lacks it      U+FFE2 FULLWIDTH NOT SIGN
       U+00A5 YEN SIGN                always                half-width table, JIS X 0201 code 0x5C
       U+203E OVERLINE                always                half-width table, JIS X 0201 code 0x7E

   Yen and overline are half-width characters: a width must be known without reading the ROM, so they always
   come from the half-width table, where a JIS X 0201 font (Shinonome's shnm8x16r) draws them at 0x5C and 0x7E.
   The same font draws '\' and '~' (U+005C, U+007E) as yen and overline too: it has no other glyphs for them.

   THE GLYPH SHOWN (romfont_text_glyph): the ROM's glyph of the character; else its folded form's; else the
   fallback: for a full-width character (or malformed UTF-8) the ROM's geta mark U+3013, or when the ROM has none,
   and for a half-width character, an empty box: the outline of columns 1 to width-2 and rows 1 to 14 of the
   cell. A romfont_fallback replaces either with glyph bytes of your own.

   LINE BREAKING (romfont_next_line)
     - A line ends at '\n' (taken with the line, not drawn), and before the character that would make it wider
       than the width given. Every line takes at least one character, so a width below a glyph's gives one
       character a line; no line is wider than the width unless its single character is.
     - ASCII words (runs of U+0021-U+007E) wrap at spaces (U+0020): the spaces at a wrap are dropped, from the
       end of the line and from the start of the next, with a '\n' right after them. Spaces elsewhere, leading
       ones included, are kept. A word wider than the width is broken between characters.
     - Anywhere else, a line may break between any two characters, except (the basic kinsoku rules):
         - no line starts with one of these (closing punctuation and small kana):
             、。，．・：；？！ー）」』】〕  U+3001 U+3002 U+FF0C U+FF0E U+30FB U+FF1A U+FF1B U+FF1F U+FF01
                                            U+30FC U+FF09 U+300D U+300F U+3011 U+3015
             ぁぃぅぇぉっゃゅょ          U+3041 U+3043 U+3045 U+3047 U+3049 U+3063 U+3083 U+3085 U+3087
             ァィゥェォッャュョ          U+30A1 U+30A3 U+30A5 U+30A7 U+30A9 U+30C3 U+30E3 U+30E5 U+30E7
             ｡｣､･ｧｨｩｪｫｬｭｮｯｰ           U+FF61 U+FF63-U+FF65 U+FF67-U+FF70
             , . : ; ? ! )              (ASCII: these matter after non-ASCII text, as within a word no
                                        break is made anyway)
         - no line ends with one of these (opening brackets):
             （「『【〔 ｢ (               U+FF08 U+300C U+300E U+3010 U+3014 U+FF62 U+0028
       The break moves back to the last place these allow ("oidashi": the character before a closing one goes
       down with it, an opening bracket goes down with what follows). Where no such place is on the line, it
       breaks before the character that does not fit.
     - Malformed UTF-8 breaks as a Japanese character does; control characters take no width.

   DISPLAY MEMORY (romfont_buffer): glyphs are ORed in (set bits are ink; nothing is cleared), clipped at the
   buffer's edges, so x and y may be negative or beyond the buffer:
     - ROMFONT_BUFFER_PAGES: 8 vertical pixels per byte, bit 0 the top row of the page; byte of pixel (x, y) at
       (y / 8) * stride + x (stride >= width): the memory of SSD1306, SH1106, ST7565 controllers;
     - ROMFONT_BUFFER_ROWS: row-major, 1 bit per pixel, most significant bit leftmost; byte of pixel (x, y) at
       y * stride + x / 8 (stride >= (width + 7) / 8): the order of the common drawBitmap calls.
   The buffer's memory must hold stride bytes for each page (height / 8, rounded up) or row.

   FIRMWARE NOTES
     - Re-entrant: no globals, no static data. Each call works on what it is given, so two tasks may lay out and
       draw at once with their own pens, texts and buffers (sharing one romfont is fine: it is only read).
     - Glyphs are read through the font's read function as they are drawn (at most 9 reads per character: the
       character, its folded form, the geta mark; 2 or 3 for a character the ROM has). On a bus shared with
       the display or others (SPI), the read function must take the bus for itself on each call (an SPI
       transaction: beginTransaction, chip select low, the read, chip select high, endTransaction) and leave it
       free when it returns, so a display transfer may come between two reads.
     - Do not call the drawing calls from an interrupt handler when the read function blocks (waits for a bus,
       a DMA, another task). Decoding, widths and layout never read the ROM and never block.
     - Stack, in bytes: the deepest chain of -fstack-usage frames under each call (-Os; avr-gcc 5.4 for the
       ATmega328P, arm-none-eabi-gcc 12 for Cortex-M0 and M3; device/bench/run.sh prints the deepest), with the read
       function's own frame on top for the calls that read the ROM:
                                  AVR   Cortex-M0   Cortex-M3
         romfont_draw_text        188     352         320      (the deepest: down to a ROM lookup)
         romfont_draw_line        140     288         248
         romfont_draw_char        105     240         192
         romfont_text_glyph        40     144         104
         romfont_draw_bitmap       33      64          56
         romfont_next_line         95     164         152
         romfont_text_width        58     100          80
         romfont_utf8_feed          6      20           8 */
#ifndef ROMFONT_TEXT_H
#define ROMFONT_TEXT_H

#include <stdint.h>

#include "romfont.h"

#ifdef __cplusplus
extern "C" {
#endif

/* The code point given for malformed UTF-8 (above U+10FFFF, so never a character): it is 16 pixels wide and
   is drawn as a missing full-width character (romfont_text_glyph gives ROMFONT_BAD_UTF8). */
#define ROMFONT_MALFORMED UINT32_C(0x110000)

/* ---- UTF-8, a byte at a time (for Arduino's Print::write) ----

   Decodes as romfont_next_char does: overlong forms, surrogates, values above U+10FFFF, stray continuation
   bytes and bytes that never start a character are malformed, each maximal start of a well-formed sequence
   (at least one byte) giving one ROMFONT_MALFORMED. A byte that cuts a sequence short gives ROMFONT_MALFORMED
   for the sequence and then counts as the start of the next one. */
typedef struct romfont_utf8 {
  uint32_t code_point; /* the bits of the sequence under way */
  uint8_t needed;      /* continuation bytes it still needs; 0: none under way */
  uint8_t lower;       /* the range the next continuation byte must lie in */
  uint8_t upper;
} romfont_utf8;

/* Sets up (or resets) a decoder. */
void romfont_utf8_init(romfont_utf8 *decoder);
/* Takes one byte; writes 0, 1 or 2 code points (or ROMFONT_MALFORMED) to out[] and returns how many. */
uint8_t romfont_utf8_feed(romfont_utf8 *decoder, uint8_t byte, uint32_t out[2]);
/* At the end of the input: a sequence left unfinished gives ROMFONT_MALFORMED in *out and 1; else 0. The
   decoder is ready for new input either way. */
uint8_t romfont_utf8_finish(romfont_utf8 *decoder, uint32_t *out);

/* ---- Characters and texts ---- */

/* The width in pixels: 8, 16, or 0 for a control character (see CHARACTERS AND WIDTHS). */
uint8_t romfont_char_width(uint32_t code_point);
/* What the ROM holds for code_point instead (the table of FOLDING), or code_point itself when nothing. */
uint32_t romfont_fold(uint32_t code_point);

/* Where a text's bytes are. */
#define ROMFONT_IN_RAM 0u
#define ROMFONT_IN_PROGRAM_MEMORY 1u /* AVR: read with pgm_read_byte (the first 64 KiB); elsewhere as RAM */

/* A UTF-8 text: bytes, how many (or ROMFONT_NUL_TERMINATED: up to the first NUL, nothing after it is read),
   and where they are. In a NUL-terminated text a NUL cuts a sequence short as any other byte would. */
typedef struct romfont_text {
  const char *bytes;
  uint32_t length;
  uint8_t memory; /* ROMFONT_IN_RAM or ROMFONT_IN_PROGRAM_MEMORY */
} romfont_text;

/* The character at byte position of the text: its code point (or ROMFONT_MALFORMED) in *code_point, and how
   many bytes it takes (1 to 4) as the return value; 0 at the end of the text (a NULL text or bytes included). */
uint8_t romfont_text_char(const romfont_text *text, uint32_t position, uint32_t *code_point);
/* The width in pixels of the whole text: the sum of its characters' widths ('\n' counts 0). */
uint32_t romfont_text_width(const romfont_text *text);

/* ---- Line breaking ---- */

/* One line of a text. */
typedef struct romfont_line {
  uint32_t start; /* its first byte */
  uint32_t end;   /* one past its last byte drawn: the '\n' and the spaces at a wrap lie outside */
  uint32_t next;  /* where the next line starts: the start to give romfont_next_line for it */
  uint16_t width; /* pixels from start to end */
} romfont_line;

/* The greatest width romfont_next_line takes: lines are broken at 65,535 pixels at the latest. */
#define ROMFONT_NO_WRAP 0xFFFFu

/* The line starting at byte start of text, at most max_width pixels wide (see LINE BREAKING): ROMFONT_OK and
   *line, or ROMFONT_END (start at or past the end of the text: no line); ROMFONT_BAD_ARGUMENT for NULL
   pointers. A text ending in '\n' has no empty line after it; "\n" is one empty line. */
romfont_result romfont_next_line(const romfont_text *text, uint32_t start, uint16_t max_width, romfont_line *line);

/* ---- Glyphs to show ---- */

/* Glyphs of your own for characters the ROM cannot give; NULL fields keep the default (see THE GLYPH SHOWN). */
typedef struct romfont_fallback {
  const uint8_t *half; /* 16 bytes (8x16), for a missing half-width character */
  const uint8_t *full; /* 32 bytes (16x16), for a missing full-width character and malformed UTF-8 */
} romfont_fallback;

/* The glyph to draw for code_point: fills ch (code_point as given, width as romfont_char_width, glyph; offset
   and length 0) and returns
     ROMFONT_OK          drawn from the ROM: the character's glyph or its folded form's; for a control character
                         (width 0) nothing to draw: the glyph is zero and nothing is read
     ROMFONT_NO_GLYPH    the ROM has neither: the glyph is the fallback
     ROMFONT_BAD_UTF8    code_point is ROMFONT_MALFORMED: the glyph is the full-width fallback
     ROMFONT_BAD_IMAGE, ROMFONT_READ_ERROR   ROM trouble (on any lookup, the geta mark's included): glyph zero
     ROMFONT_BAD_ARGUMENT                    a NULL font or ch
   fallback may be NULL (the default). */
romfont_result romfont_text_glyph(const romfont *font, uint32_t code_point, const romfont_fallback *fallback,
                                  romfont_char *ch);

/* ---- Drawing ---- */

#define ROMFONT_BUFFER_PAGES 0u /* 8 vertical pixels a byte, bit 0 on top (SSD1306, SH1106, ST7565) */
#define ROMFONT_BUFFER_ROWS 1u  /* a row after another, 1 bit a pixel, most significant bit leftmost */

/* Caller-owned display memory (see DISPLAY MEMORY). */
typedef struct romfont_buffer {
  uint8_t *bytes;
  uint16_t width;  /* pixels across */
  uint16_t height; /* pixels down (a page buffer's height need not be a multiple of 8) */
  uint16_t stride; /* bytes from a page (ROMFONT_BUFFER_PAGES) or a row (ROMFONT_BUFFER_ROWS) to the next */
  uint8_t format;  /* ROMFONT_BUFFER_PAGES or ROMFONT_BUFFER_ROWS */
} romfont_buffer;

/* ORs a glyph of 16 rows (width 1 to 16 pixels; each row (width + 7) / 8 bytes, bit 7 leftmost, as romfont gives
   them) into the buffer with its top-left pixel at (x, y), clipped at the buffer's edges. ROMFONT_OK, or
   ROMFONT_BAD_ARGUMENT (nothing drawn) for NULL pointers, a width of 0 or above 16, an unknown format, or a
   stride too small for the width. */
romfont_result romfont_draw_bitmap(const romfont_buffer *buffer, int32_t x, int32_t y, uint8_t width,
                                   const uint8_t *glyph);

/* Called for each glyph drawn when the pen has no buffer: top-left pixel (x, y), width 8 or 16, 16 rows of
   width / 8 bytes (bit 7 leftmost). Not clipped: the display does that. */
typedef void (*romfont_glyph_fn)(void *context, int32_t x, int32_t y, uint8_t width, const uint8_t *glyph);

/* Where and how text is drawn: the font, the fallback (NULL: the default), and either a buffer or, with buffer
   NULL, a function called for each glyph with context. */
typedef struct romfont_pen {
  const romfont *font;
  const romfont_fallback *fallback;
  const romfont_buffer *buffer;
  romfont_glyph_fn draw;
  void *context;
} romfont_pen;

/* Draws the glyph romfont_text_glyph gives for code_point at (x, y) and returns its result (nothing is drawn on
   ROM trouble). Into a buffer, a glyph that would lie wholly outside it is not looked up: ROMFONT_OK. Control
   characters draw nothing. Advance x by romfont_char_width(code_point). */
romfont_result romfont_draw_char(const romfont_pen *pen, int32_t x, int32_t y, uint32_t code_point);

/* Draws the characters of a line (from line->start to line->end of text) from (x, y) on: ROMFONT_OK when every
   glyph came from the ROM; ROMFONT_NO_GLYPH or ROMFONT_BAD_UTF8 when a fallback was drawn (the last such);
   ROMFONT_BAD_IMAGE or ROMFONT_READ_ERROR at once on ROM trouble (the characters before it are drawn);
   ROMFONT_BAD_ARGUMENT for NULL pointers. Into a buffer, it stops at the buffer's right edge. */
romfont_result romfont_draw_line(const romfont_pen *pen, int32_t x, int32_t y, const romfont_text *text,
                                 const romfont_line *line);

/* Lays the whole text out in lines of at most max_width pixels and draws them from (x, y) down, line_height
   pixels apart; the result as romfont_draw_line's, over all lines. Into a buffer, lines wholly above or below it
   are laid out but not drawn (nothing read). */
romfont_result romfont_draw_text(const romfont_pen *pen, int32_t x, int32_t y, const romfont_text *text,
                                 uint16_t max_width, uint16_t line_height);

#ifdef __cplusplus
}
#endif

#endif /* ROMFONT_TEXT_H */
