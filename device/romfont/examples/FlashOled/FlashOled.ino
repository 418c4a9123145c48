// FlashOled: Japanese text on a 128x64 SSD1306 OLED, read glyph by glyph from a maskburn ROM image burned on
// a W25Q-series SPI NOR flash (maskburn-image makes the image; flashrom writes it at address 0), or, built with
// FLASHOLED_EEPROM defined (make FLASHOLED_EEPROM=1), on a 2-Mbit 24xx I2C EEPROM such as the AT24CM02.
//
// Wiring (Arduino Uno): the flash on the hardware SPI pins (SCK 13, MISO 12, MOSI 11) with chip select on
// pin 10, through a level shifter, as the chip runs at 3.3 V; the OLED on I2C (SDA A4, SCL A5) at 0x3C.
// The EEPROM shares that I2C bus at 0x50 (its A1 and A2 pins low; 0x50-0x53 select the four 64 KiB blocks).
// 262,144 bytes hold the full Shinonome ROM as a version-2 image (maskburn-image --compact, 235,968 bytes).
//
// At start-up it reads the flash's JEDEC ID, opens the image with romfont_image_init and checks both parts'
// CRC-32s, then draws kLines. The screen is written in strips of two pages (16 rows, 256 bytes of RAM)
// instead of from a 1 KB frame buffer: the Uno has 2 KB of RAM. A character the ROM lacks is drawn as the
// geta mark (U+3013), or an empty box when the ROM has none. When the chip holds no usable image, the
// screen says why in glyphs kept in program memory (ascii_rom.h), and so does Serial.
#include <SPI.h>
#include <Wire.h>
#include <romfont.h>
#include <romfont_image.h>
#if defined(__AVR__)
#include <avr/pgmspace.h>  // elsewhere Arduino.h brings PROGMEM and memcpy_P
#include <avr/sleep.h>
#endif

#define MASKBURN_ROM_STORAGE PROGMEM
#include "ascii_rom.h"  // maskburn-subset of the printable ASCII characters, for the error screen

static const uint8_t kFlashSelect = 10;
static const uint8_t kOledAddress = 0x3C;
static const uint32_t kImageAddress = 0;
static const uint8_t kScreenWidth = 128;
#if defined(FLASHOLED_EEPROM)
static const uint8_t kEepromAddress = 0x50;         // with address bits 17:16 in its low two bits
static const uint32_t kEepromCapacity = 262144ul;   // 2 Mbit
#endif

// What the screen shows: x, then the top row (a multiple of 16), then the UTF-8 text.
struct Line {
  int16_t x;
  uint8_t y;
  const char *text;
};
static const Line kLines[] = {
  {0, 0, "東雲フォント表示"},
  {0, 16, "ひらがなも漢字も"},
  {0, 32, "ﾊﾝｶｸｶﾀｶﾅ ASCII!"},
  {0, 48, "23.5℃ 欠字→𠮷"},
};

static uint8_t strip[2][kScreenWidth];  // the two pages being drawn

// ---- The flash ----

#if !defined(FLASHOLED_EEPROM)

static const SPISettings kFlashSpi(8000000, MSBFIRST, SPI_MODE0);

static void selectFlash(bool on) {
#if defined(__AVR__)
  // A port write is a couple of cycles where digitalWrite takes about fifty, three times per glyph.
  if (on) PORTB &= (uint8_t)~_BV(PB2); else PORTB |= _BV(PB2);
#else
  digitalWrite(kFlashSelect, on ? LOW : HIGH);
#endif
}

static void readJedecId(uint8_t id[3]) {
  selectFlash(true);
  SPI.transfer(0x9F);
  for (uint8_t i = 0; i < 3; ++i) id[i] = SPI.transfer(0);
  selectFlash(false);
}

// romfont's read function: command 0x03 (read data) with a 24-bit address, then the bytes.
static uint8_t readFlash(void *context, uint32_t address, uint8_t *buffer, uint16_t length) {
  (void)context;
  selectFlash(true);
#if defined(__AVR__)
  // Straight on the SPI registers: each byte is sent the moment the last one is in, so the bus rests a few
  // cycles per byte only (SPI.transfer spends about a third as long again around each byte).
  const uint8_t command[4] = {0x03, (uint8_t)(address >> 16), (uint8_t)(address >> 8), (uint8_t)address};
  SPDR = command[0];
  for (uint8_t i = 1; i < 4; ++i) {
    const uint8_t next = command[i];
    while (!(SPSR & _BV(SPIF))) {}
    SPDR = next;
  }
  uint8_t *const last = buffer + length - 1;
  while (!(SPSR & _BV(SPIF))) {}
  SPDR = 0;
  for (; buffer != last; ++buffer) {
    while (!(SPSR & _BV(SPIF))) {}
    const uint8_t in = SPDR;
    SPDR = 0;
    *buffer = in;
  }
  while (!(SPSR & _BV(SPIF))) {}
  *buffer = SPDR;
#else
  SPI.transfer(0x03);
  SPI.transfer((uint8_t)(address >> 16));
  SPI.transfer((uint8_t)(address >> 8));
  SPI.transfer((uint8_t)address);
  SPI.transfer(buffer, length);
#endif
  selectFlash(false);
  return 1;
}
#endif

// ---- The EEPROM ----

#if defined(FLASHOLED_EEPROM)
// romfont's read function: random reads (the device address carrying address bits 17:16, the two low address
// bytes written, then a repeated start and the bytes read), at most 32 bytes each as Wire buffers no more, and
// none across a 64 KiB block, whose bits sit in the device address.
static uint8_t readEeprom(void *context, uint32_t address, uint8_t *buffer, uint16_t length) {
  (void)context;
  while (length > 0) {
    uint8_t chunk = length < 32 ? (uint8_t)length : 32;
    const uint32_t blockLeft = 0x10000ul - (address & 0xFFFFul);
    if (chunk > blockLeft) chunk = (uint8_t)blockLeft;
    const uint8_t device = (uint8_t)(kEepromAddress | ((address >> 16) & 3u));
    Wire.beginTransmission(device);
    Wire.write((uint8_t)(address >> 8));
    Wire.write((uint8_t)address);
    if (Wire.endTransmission(false) != 0) return 0;  // no acknowledgement: no EEPROM, or a busy one
    if (Wire.requestFrom(device, chunk) != chunk) return 0;
    for (uint8_t i = 0; i < chunk; ++i) buffer[i] = (uint8_t)Wire.read();
    buffer += chunk;
    address += chunk;
    length -= chunk;
  }
  return 1;
}
#endif

// ---- The error screen's ROM, in program memory ----

static uint8_t readProgmemRom(void *context, uint8_t file, uint32_t offset, uint8_t *buffer, uint16_t length) {
  (void)context;
  memcpy_P(buffer, (file == ROMFONT_INDEX_FILE ? fontindex_bin : fontdata_bin) + offset, length);
  return 1;
}

// ---- The OLED ----

static void oledCommands(const uint8_t *commands, uint8_t count) {
  Wire.beginTransmission(kOledAddress);
  Wire.write(0x00);  // control byte: commands follow
  Wire.write(commands, count);
  Wire.endTransmission();
}

static void oledBegin() {
  static const uint8_t kInit[] = {
    0xAE,        // display off
    0xD5, 0x80,  // clock
    0xA8, 0x3F,  // 64 rows
    0xD3, 0x00,  // no offset
    0x40,        // start line 0
    0x8D, 0x14,  // charge pump on
    0x20, 0x00,  // horizontal addressing
    0xA1, 0xC8,  // column 0 on the left, page 0 at the top, as modules are mounted
    0xDA, 0x12,  // COM pins
    0x81, 0xCF,  // contrast
    0xD9, 0xF1,  // pre-charge
    0xDB, 0x40,  // VCOMH
    0xA4, 0xA6,  // show RAM, not inverted
    0xAF,        // display on
  };
  Wire.begin();
  Wire.setClock(400000);
  oledCommands(kInit, sizeof kInit);
}

// Sends the strip to pages firstPage and firstPage + 1, all columns.
static void oledSendStrip(uint8_t firstPage) {
  const uint8_t window[] = {0x21, 0, kScreenWidth - 1, 0x22, firstPage, (uint8_t)(firstPage + 1)};
  oledCommands(window, sizeof window);
  const uint8_t *bytes = &strip[0][0];
  for (uint16_t sent = 0; sent < sizeof strip;) {
    const uint8_t chunk = sizeof strip - sent < 30 ? sizeof strip - sent : 30;  // Wire's buffer holds 32
    Wire.beginTransmission(kOledAddress);
    Wire.write(0x40);  // control byte: display data follows
    Wire.write(bytes + sent, chunk);
    Wire.endTransmission();
    sent += chunk;
  }
}

// ---- Drawing into the strip ----

// ORs a glyph (16 rows of width/8 bytes, bit 7 leftmost) into the strip at column x, turned into page
// format (a byte per column and page, bit 0 the top row). Columns off the screen are skipped.
static void putGlyph(int16_t x, uint8_t width, const uint8_t *glyph) {
  const uint8_t bytesPerRow = width / 8;
  for (uint8_t column = 0; column < width; ++column) {
    const int16_t at = x + column;
    if (at < 0 || at >= kScreenWidth) continue;
    const uint8_t *source = glyph + column / 8;
    const uint8_t mask = 0x80 >> (column % 8);
    uint8_t top = 0, bottom = 0;
    for (uint8_t row = 0; row < 8; ++row) {
      if (source[row * bytesPerRow] & mask) top |= (uint8_t)(1u << row);
      if (source[(row + 8) * bytesPerRow] & mask) bottom |= (uint8_t)(1u << row);
    }
    strip[0][at] |= top;
    strip[1][at] |= bottom;
  }
}

// The outline of an empty box inside a character cell: columns 1 to width-2, rows 1 to 14.
static void putBox(int16_t x, uint8_t width) {
  for (uint8_t column = 1; column + 1 < width; ++column) {
    const int16_t at = x + column;
    if (at < 0 || at >= kScreenWidth) continue;
    const bool side = column == 1 || column + 2 == width;
    strip[0][at] |= side ? 0xFE : 0x02;
    strip[1][at] |= side ? 0x7F : 0x40;
  }
}

// Draws one line of text into the strip; returns ROMFONT_OK, or the ROM's failure.
static romfont_result drawLine(const romfont &font, int16_t x, const char *text) {
  romfont_walker walker;
  romfont_char ch;
  romfont_result result;
  romfont_walk(&walker, &font, text, ROMFONT_NUL_TERMINATED);
  while ((result = romfont_next_char(&walker, &ch)) != ROMFONT_END) {
    if (result == ROMFONT_READ_ERROR || result == ROMFONT_BAD_IMAGE) return result;
    const uint8_t width = ch.width;
    if (result != ROMFONT_OK && width == 16) result = romfont_char_glyph(&font, 0x3013, &ch);  // the geta mark
    if (result == ROMFONT_OK) {
      putGlyph(x, width, ch.glyph);
    } else {
      putBox(x, width);
    }
    x += width;
  }
  return ROMFONT_OK;
}

// ---- Cycle counting (Timer1 at the CPU clock, with its overflows counted) ----

#if defined(__AVR__)
static volatile uint16_t timerOverflows;
ISR(TIMER1_OVF_vect) { ++timerOverflows; }

static void startCycleCounter() {
  TCCR1A = 0;
  TCCR1B = _BV(CS10);
  TIMSK1 = _BV(TOIE1);
}

static uint32_t cycles() {
  uint8_t saved = SREG;
  cli();
  uint16_t low = TCNT1;
  uint16_t high = timerOverflows;
  if ((TIFR1 & _BV(TOV1)) && low < 0x8000) ++high;  // an overflow not yet counted
  SREG = saved;
  return ((uint32_t)high << 16) | low;
}
#else
static void startCycleCounter() {}
static uint32_t cycles() { return micros() * (F_CPU / 1000000ul); }
#endif

// ---- The sketch ----

#if !defined(FLASHOLED_EEPROM)
static void printHex(uint8_t value) {
  if (value < 0x10) Serial.print('0');
  Serial.print(value, HEX);
}
#endif

// Draws an error screen with the reason in ASCII from program memory, and prints it on Serial.
static void showError(const char *what, const char *reason) {
  Serial.print(what);
  Serial.print(F(": "));
  Serial.println(reason);
  romfont ascii;
  romfont_init_callback(&ascii, readProgmemRom, NULL, FONTINDEX_BIN_SIZE, FONTDATA_BIN_SIZE);
  for (uint8_t page = 0; page < 8; page += 2) {
    memset(strip, 0, sizeof strip);
    if (page == 0) drawLine(ascii, 0, "ROM error:");
    if (page == 2) drawLine(ascii, 0, reason);
    oledSendStrip(page);
  }
}

// Opens the image on the flash (or the EEPROM) and checks it; returns false after showing why it cannot be used.
static bool openRom(romfont_image &image, romfont &font) {
#if defined(FLASHOLED_EEPROM)
  Wire.beginTransmission(kEepromAddress);
  if (Wire.endTransmission() != 0) {
    showError("eeprom", "no EEPROM");
    return false;
  }
  romfont_image_result result = romfont_image_init(&image, &font, readEeprom, NULL, kImageAddress, kEepromCapacity);
#else
  uint8_t id[3];
  readJedecId(id);
  Serial.print(F("flash: JEDEC ID "));
  for (uint8_t i = 0; i < 3; ++i) {
    printHex(id[i]);
    Serial.print(i < 2 ? ' ' : '\n');
  }
  if ((id[0] == 0xFF && id[1] == 0xFF && id[2] == 0xFF) || (id[0] == 0 && id[1] == 0 && id[2] == 0) ||
      id[2] < 0x10 || id[2] > 0x1F) {
    showError("flash", "no flash chip");
    return false;
  }
  const uint32_t capacity = 1ul << id[2];  // W25Q parts give log2 of their size in bytes
  romfont_image_result result = romfont_image_init(&image, &font, readFlash, NULL, kImageAddress, capacity);
#endif
  const uint32_t start = cycles();
  if (result == ROMFONT_IMAGE_OK) result = romfont_image_check(&image);
  const uint32_t spent = cycles() - start;
  if (result != ROMFONT_IMAGE_OK) {
    showError("image", romfont_image_result_name(result));
    return false;
  }
  Serial.print(F("image: ok, version "));
  Serial.print(image.version);
  Serial.print(F(", index "));
  Serial.print(image.index_size);
  Serial.print(F(" bytes, data "));
  Serial.print(image.data_size);
  Serial.print(F(" bytes, CRC-32s match ("));
  Serial.print(spent);
  Serial.println(F(" cycles)"));
  return true;
}

// Cycles per full-width glyph read from the memory: the lookups of the first line, timed alone.
static void measureGlyphReads(const romfont_image &image, const romfont &font) {
  romfont_walker walker;
  romfont_char ch;
  uint32_t codes[16];
  uint8_t count = 0;
  romfont_walk(&walker, &font, kLines[0].text, ROMFONT_NUL_TERMINATED);
  while (count < 16 && romfont_next_char(&walker, &ch) != ROMFONT_END) {
    if (ch.width == 16) codes[count++] = ch.code_point;
  }
  // Timed so that neither Serial nor millis() adds its cycles to the lookups: with interrupts off, or, as Wire
  // needs its interrupt, with millis()'s timer interrupt off and Serial's output drained.
  Serial.flush();
#if defined(FLASHOLED_EEPROM) && defined(__AVR__)
  const uint8_t timer0 = TIMSK0;
  TIMSK0 = 0;
#else
  noInterrupts();
#endif
  const uint32_t start = cycles();
  for (uint8_t i = 0; i < count; ++i) romfont_char_glyph(&font, codes[i], &ch);
  const uint32_t spent = cycles() - start;
#if defined(FLASHOLED_EEPROM) && defined(__AVR__)
  TIMSK0 = timer0;
#else
  interrupts();
#endif
  // Each lookup makes three reads: the block byte, then the slot number (version 1, 2 bytes) or the group
  // (version 2, 6 bytes), then the glyph.
  const uint16_t readBytes = 1 + (image.version == 1 ? 2 : ROMFONT_COMPACT_GROUP_BYTES) + ROMFONT_FULL_BYTES;
  Serial.print(F("glyph: "));
  Serial.print(count ? spent / count : 0);
#if defined(FLASHOLED_EEPROM)
  // Per read: a start, the device address, two address bytes, a repeated start, the device address, the bytes
  // and a stop: 9 bits a byte with its acknowledgement, a bit time each for start, repeated start and stop;
  // a bit is 40 cycles at 400 kHz.
  const uint16_t busBits = (3 * 4 + readBytes) * 9 + 3 * 3;
  Serial.print(F(" cycles per full-width glyph from the EEPROM; bus floor "));
  Serial.print(busBits * 40u);
  Serial.print(F(" ("));
  Serial.print(busBits);
  Serial.println(F(" bits at 400 kHz)"));
#else
  // Per read: the command and a 3-byte address, then the bytes; a byte is 16 cycles at 8 MHz.
  const uint16_t busBytes = 3 * 4 + readBytes;
  Serial.print(F(" cycles per full-width glyph from flash; bus floor "));
  Serial.print(busBytes * 16u);
  Serial.print(F(" ("));
  Serial.print(busBytes);
  Serial.println(F(" bytes at 8 MHz)"));
#endif
}

static void finish() {
  Serial.println(F("done"));
  Serial.flush();
#if defined(__AVR__)
  // Sleep for good with interrupts off: the end of the sketch (and of a simavr run).
  set_sleep_mode(SLEEP_MODE_PWR_DOWN);
  sleep_enable();
  cli();
  sleep_cpu();
#endif
}

void setup() {
  Serial.begin(115200);
#if !defined(FLASHOLED_EEPROM)
  pinMode(kFlashSelect, OUTPUT);
  digitalWrite(kFlashSelect, HIGH);
  SPI.begin();
  SPI.beginTransaction(kFlashSpi);  // the flash is the only SPI device: keep its settings
#endif
  oledBegin();
  startCycleCounter();

  romfont_image image;
  romfont font;
  if (openRom(image, font)) {
    const uint32_t start = cycles();
    romfont_result result = ROMFONT_OK;
    for (uint8_t page = 0; page < 8; page += 2) {
      memset(strip, 0, sizeof strip);
      for (const Line &line : kLines) {
        if (line.y / 8 == page && result == ROMFONT_OK) result = drawLine(font, line.x, line.text);
      }
      oledSendStrip(page);
    }
    const uint32_t spent = cycles() - start;
    if (result != ROMFONT_OK) {
      showError("draw", romfont_result_name(result));
    } else {
      Serial.print(F("draw: "));
      Serial.print(spent);
      Serial.println(F(" cycles for the whole screen"));
      measureGlyphReads(image, font);
    }
  }
  finish();
}

void loop() {}
