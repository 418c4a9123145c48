// DrawText: draws a Japanese and ASCII UTF-8 string with romfont from a font ROM kept in program memory,
// and prints each character's glyph on Serial as text art (U+XXXX, then 16 rows of '#' ink and '.' paper).
// shinonome_subset.h holds only the glyphs of kText; to draw other text, make your own with
//   maskburn-subset --text "your text" --c-source shinonome_subset.h
#if defined(__AVR__)
#include <avr/pgmspace.h>  // elsewhere Arduino.h brings PROGMEM and memcpy_P
#include <avr/sleep.h>
#endif
#include <stdio.h>
#include <string.h>
#include <romfont.h>

#define MASKBURN_ROM_STORAGE PROGMEM  // the ROM stays in flash: the Uno has 2 KB of RAM
#include "shinonome_subset.h"

// The walker reads the string from RAM, so it is not kept in PROGMEM.
static const char kText[] = "東雲フォントで表示 ABC ｶﾀｶﾅ";

// Copies ROM bytes out of flash. romfont has already checked that offset + length lies within the
// sizes given to romfont_init_callback, i.e. within the arrays.
static uint8_t readRom(void *context, uint8_t file, uint32_t offset, uint8_t *buffer, uint16_t length) {
  (void)context;
  const uint8_t *bytes = file == ROMFONT_INDEX_FILE ? fontindex_bin : fontdata_bin;
  memcpy_P(buffer, bytes + offset, length);
  return 1;
}

// Prints one character: its code point, then its rows (width/8 bytes each, bit 7 leftmost) or why it has none.
static void printChar(const romfont_char &ch, romfont_result result) {
  char line[20];
  snprintf(line, sizeof line, "U+%04lX", (unsigned long)ch.code_point);
  Serial.print(line);
  if (result != ROMFONT_OK) {
    Serial.print(' ');
    Serial.print(romfont_result_name(result));
    Serial.print('\n');
    return;
  }
  Serial.print('\n');
  const uint8_t bytesPerRow = ch.width / 8;
  for (uint8_t row = 0; row < 16; ++row) {
    for (uint8_t x = 0; x < ch.width; ++x) {
      const uint8_t bits = ch.glyph[row * bytesPerRow + x / 8];
      line[x] = (bits & (0x80 >> (x % 8))) ? '#' : '.';
    }
    line[ch.width] = '\n';
    line[ch.width + 1] = '\0';
    Serial.print(line);
  }
}

void setup() {
  Serial.begin(115200);
  romfont font;
  romfont_result result = romfont_init_callback(&font, readRom, NULL, FONTINDEX_BIN_SIZE, FONTDATA_BIN_SIZE);
  if (result != ROMFONT_OK) {  // the index is not of a ROM's size: a wrong or damaged header
    Serial.print("romfont_init_callback: ");
    Serial.print(romfont_result_name(result));
    Serial.print('\n');
  } else {
    romfont_walker walker;
    romfont_char ch;
    romfont_walk(&walker, &font, kText, ROMFONT_NUL_TERMINATED);
    while ((result = romfont_next_char(&walker, &ch)) != ROMFONT_END) printChar(ch, result);
  }

  // Done: let the last bytes go out, then sleep for good (this also ends a simavr run).
  Serial.flush();
#if defined(__AVR__)
  set_sleep_mode(SLEEP_MODE_PWR_DOWN);
  sleep_enable();
  cli();
  sleep_cpu();
#endif
}

void loop() {}
