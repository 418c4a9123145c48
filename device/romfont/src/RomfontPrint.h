/* RomfontPrint: Arduino's Print over romfont's text layer (romfont_text.h), so that print, println, F() strings
   and numbers lay UTF-8 text out in lines and draw it with a maskburn ROM.
   Copyright (c) 2026 The MASKBURN developers; MIT licence (SPDX-License-Identifier: MIT), text in the
   LICENSE file of MASKBURN.

   Arduino only (it needs the core's Print.h); the Arduino IDE builds it with the rest of src/, and firmware that
   never makes a RomfontPrint carries none of it (the linker drops what nothing uses).

   WHAT IT DOES
     - Bytes from Print go through romfont's UTF-8 decoder; '\r' is ignored, '\n' starts a new line: the cursor
       goes back to the left margin and 16 pixels down.
     - Lines wrap at the wrap width with romfont_next_line's rule: ASCII words at spaces, Japanese text between
       characters, but no line starts with 、。」 and the like nor ends with 「 and the like (romfont_text.h has the
       sets). The characters of the line under way wait in a buffer of 64 bytes of UTF-8 (no heap) until the line
       is full, a '\n' comes, flush() is called or the cursor, margins or target change: the text is then laid out
       and drawn exactly as romfont_draw_text lays the whole text out (maskburn-view --width draws the same).
       After flush() the text already drawn stays where it is: a later wrap cannot take a character back from it,
       and the next character goes to a new line when it no longer fits. A line of more than 64 bytes of UTF-8
       is drawn in parts in the same way.
     - Glyphs come from the ROM, else from the folded form, else the fallback (the geta mark 〓, or an empty box),
       and are ORed into a romfont_buffer (clipped at its edges; nothing is read for glyphs outside it) or given
       to a draw function (x, y, width, glyph: 16 rows of width / 8 bytes, bit 7 leftmost; not clipped).
     - result() says what drawing met: ROMFONT_OK, ROMFONT_NO_GLYPH or ROMFONT_BAD_UTF8 (the last fallback drawn),
       or ROM trouble (ROMFONT_READ_ERROR, ROMFONT_BAD_IMAGE), which also sets Print's write error.
     - RAM: 100 bytes an object on AVR, and its 12-byte table of virtual functions, which avr-gcc keeps in RAM.

   AN SSD1306 (SH1106, ST7565) IN STRIPS OF TWO PAGES: the whole text is printed once per strip, each time into
   the strip, whose first row is the screen row setBuffer is given. Layout costs no ROM reads; only the glyphs
   that touch the strip are read.

       uint8_t strip[2 * 128];
       const romfont_buffer buffer = {strip, 128, 16, 128, ROMFONT_BUFFER_PAGES};
       RomfontPrint display(font);                 // font: a romfont set up as romfont.h says
       display.setWrap(0, 128);                    // lines start at x 0 and wrap at 128 pixels
       for (uint8_t page = 0; page < 8; page += 2) {
         memset(strip, 0, sizeof strip);
         display.setBuffer(&buffer, 8 * page);     // the strip holds screen rows 8 * page to 8 * page + 15
         display.setCursor(0, 0);
         display.print(F("温度 "));
         display.print(23.5);                      // "23.50"
         display.println(F("℃"));
         display.flush();                          // draws the line under way
         send_pages(page, strip);                  // pages page and page + 1 to the display
       }

   A DRAWBITMAP-STYLE GRAPHICS LIBRARY: a draw function hands each glyph over (romfont's rows are the row-major,
   most-significant-bit-first bitmaps of the common drawBitmap calls). In GFX-style libraries the drawBitmap
   taking a const array reads program memory: give the glyph as uint8_t * to get the one that reads RAM.

       static void drawGlyph(void *context, int32_t x, int32_t y, uint8_t width, const uint8_t *glyph) {
         static_cast<Screen *>(context)->drawBitmap(x, y, const_cast<uint8_t *>(glyph), width, 16, WHITE);
       }
       display.setDrawFunction(drawGlyph, &screen);

   A library with a frame buffer in page format (128 x 64: 8 pages of 128 bytes) takes it whole:
   romfont_buffer buffer = {frame, 128, 64, 128, ROMFONT_BUFFER_PAGES}; display.setBuffer(&buffer). */
#ifndef ROMFONT_PRINT_H
#define ROMFONT_PRINT_H

#include <Print.h>
#include <stdint.h>

#include "romfont.h"
#include "romfont_text.h"

class RomfontPrint : public Print {
 public:
  static const uint8_t kLineHeight = 16;   // pixels from a line to the next
  static const uint8_t kPendingBytes = 64; // UTF-8 bytes of the line under way kept until it is laid out

  // Draws with font (which must live as long as this object); no target yet: setBuffer or setDrawFunction.
  explicit RomfontPrint(const romfont &font);

  // Draws into buffer (which must live while it is drawn into; NULL: nowhere), whose first row is the screen's
  // row top; or hands each glyph to function with context, in screen coordinates. Both draw the line under way
  // first, where it was meant to go.
  void setBuffer(const romfont_buffer *buffer, int16_t top = 0);
  void setDrawFunction(romfont_glyph_fn function, void *context);
  // Glyphs of your own for missing characters (NULL: the geta mark or the box).
  void setFallback(const romfont_fallback *fallback);
  // Lines start at x = left and wrap at width pixels from there (ROMFONT_NO_WRAP: never; the default, with left 0).
  void setWrap(int16_t left, uint16_t width);
  // The top-left pixel of the next character, in screen coordinates.
  void setCursor(int16_t x, int16_t y);
  int16_t cursorX() const { return x_; }
  int16_t cursorY() const { return y_; }
  romfont_result result() const { return (romfont_result)result_; }

  size_t write(uint8_t byte) override;
  using Print::write;
  // Lays out and draws the line under way; the cursor stays after it.
  void flush() override;

 private:
  void take(uint32_t code_point);
  void layOut(bool all);
  void draw(const romfont_text &text, const romfont_line &line);
  void newLine();

  romfont_pen pen_;
  int16_t top_;
  int16_t left_;
  uint16_t width_;
  int16_t x_;
  int16_t y_;
  uint16_t pendingWidth_; // pixels of the pending characters
  romfont_utf8 decoder_;
  uint8_t length_;        // bytes pending
  uint8_t skipping_;      // after a wrap at spaces: spaces, and one '\n' after them, are dropped
  uint8_t result_;
  char pending_[kPendingBytes];
};

#endif  // ROMFONT_PRINT_H
