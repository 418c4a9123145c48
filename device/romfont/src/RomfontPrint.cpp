/* RomfontPrint: the line under way kept as UTF-8, laid out with romfont_next_line when it is full, at '\n' and
   on flush(), and drawn with romfont_draw_line (see RomfontPrint.h).
   Copyright (c) 2026 The MASKBURN developers; MIT licence (SPDX-License-Identifier: MIT), text in the
   LICENSE file of MASKBURN. */
// Arduino builds only: other builds that take every file of src/ (PlatformIO for ESP-IDF, say) have no Print.h.
#if defined(ARDUINO)
#include "RomfontPrint.h"

#include <string.h>

static const int16_t kLastCoordinate = 32767;  // cursors stop here rather than wrap round

// The UTF-8 bytes of a code point from the decoder; ROMFONT_MALFORMED becomes 0xFF, which romfont decodes as
// malformed again.
static uint8_t encode(uint32_t code_point, char *out) {
  if (code_point < 0x80u) {
    out[0] = (char)code_point;
    return 1;
  }
  if (code_point >= ROMFONT_MALFORMED) {
    out[0] = (char)0xFF;
    return 1;
  }
  const uint8_t length = code_point < 0x800u ? 2 : code_point < 0x10000u ? 3 : 4;
  for (uint8_t i = (uint8_t)(length - 1); i > 0; --i, code_point >>= 6) out[i] = (char)(0x80u | (code_point & 0x3Fu));
  out[0] = (char)((uint8_t)(0xFF00u >> length) | code_point);  // lead bits: 2: 0xC0, 3: 0xE0, 4: 0xF0
  return length;
}

RomfontPrint::RomfontPrint(const romfont &font)
    : pen_{&font, NULL, NULL, NULL, NULL}, top_(0), left_(0), width_(ROMFONT_NO_WRAP), x_(0), y_(0),
      pendingWidth_(0), length_(0), skipping_(0), result_(ROMFONT_OK) {
  romfont_utf8_init(&decoder_);
}

void RomfontPrint::setBuffer(const romfont_buffer *buffer, int16_t top) {
  flush();
  pen_.buffer = buffer;
  top_ = top;
}

void RomfontPrint::setDrawFunction(romfont_glyph_fn function, void *context) {
  flush();
  pen_.buffer = NULL;
  pen_.draw = function;
  pen_.context = context;
  top_ = 0;
}

void RomfontPrint::setFallback(const romfont_fallback *fallback) {
  flush();
  pen_.fallback = fallback;
}

void RomfontPrint::setWrap(int16_t left, uint16_t width) {
  flush();
  left_ = left;
  width_ = width;
}

void RomfontPrint::setCursor(int16_t x, int16_t y) {
  flush();
  x_ = x;
  y_ = y;
  skipping_ = 0;
}

size_t RomfontPrint::write(uint8_t byte) {
  uint32_t code_points[2];
  const uint8_t count = romfont_utf8_feed(&decoder_, byte, code_points);
  for (uint8_t i = 0; i < count; ++i) take(code_points[i]);
  return 1;
}

void RomfontPrint::flush() { layOut(true); }

// One character from the decoder.
void RomfontPrint::take(uint32_t code_point) {
  if (code_point == '\r') return;
  if (skipping_) {  // as romfont_next_line skips them after a wrap at spaces
    if (code_point == ' ') return;
    skipping_ = 0;
    if (code_point == '\n') return;
  }
  if (code_point == '\n') {
    layOut(true);
    newLine();
    return;
  }
  char bytes[4];
  const uint8_t length = encode(code_point, bytes);
  if (length_ + length > kPendingBytes) layOut(true);  // a line longer than the buffer: drawn in parts
  memcpy(pending_ + length_, bytes, length);
  length_ = (uint8_t)(length_ + length);
  pendingWidth_ = (uint16_t)(pendingWidth_ + romfont_char_width(code_point));
  // Only a pending text wider than the room left can hold a full line.
  if ((int32_t)x_ - left_ + pendingWidth_ > (int32_t)width_) layOut(false);
}

// Draws the pending lines that are complete: those that end before the pending text does (the next character
// did not fit, so the whole text would break there too), and with all, the rest as well, leaving the cursor
// after it on the same line.
void RomfontPrint::layOut(bool all) {
  for (;;) {
    const romfont_text text = {pending_, length_, ROMFONT_IN_RAM};
    const int32_t room = (int32_t)width_ - ((int32_t)x_ - left_);
    const uint16_t fits = room <= 0 ? 0 : room >= ROMFONT_NO_WRAP ? ROMFONT_NO_WRAP : (uint16_t)room;
    romfont_line line;
    if (romfont_next_line(&text, 0, fits, &line) != ROMFONT_OK) return;  // nothing pending
    const bool full = line.end < length_;
    if (!full && !all) return;
    if (line.width > fits && x_ > left_) {  // text drawn before leaves no room for the first character
      newLine();
      continue;
    }
    draw(text, line);
    skipping_ = full && line.next == length_;  // the wrap took every space pending: more may follow
    // What follows the line's end up to the next is spaces (a '\n' never waits here), 8 pixels each.
    pendingWidth_ = (uint16_t)(pendingWidth_ - line.width - 8u * (line.next - line.end));
    length_ = (uint8_t)(length_ - line.next);
    memmove(pending_, pending_ + line.next, length_);
    if (!full) return;
    newLine();
  }
}

void RomfontPrint::draw(const romfont_text &text, const romfont_line &line) {
  const int32_t y = (int32_t)y_ - top_;
  // A line wholly above or below the buffer is not walked (a strip sees most lines go by).
  if (pen_.buffer == NULL || (y > -kLineHeight && y < (int32_t)pen_.buffer->height)) {
    const romfont_result drawn = romfont_draw_line(&pen_, x_, y, &text, &line);
    if (drawn != ROMFONT_OK) result_ = drawn;
    if (drawn == ROMFONT_READ_ERROR || drawn == ROMFONT_BAD_IMAGE) setWriteError();
  }
  const int32_t x = (int32_t)x_ + line.width;
  x_ = x > kLastCoordinate ? kLastCoordinate : (int16_t)x;
}

void RomfontPrint::newLine() {
  x_ = left_;
  y_ = y_ > kLastCoordinate - kLineHeight ? kLastCoordinate : (int16_t)(y_ + kLineHeight);
}

#endif  // ARDUINO
