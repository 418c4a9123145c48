// PrintOled: text laid out on a 128x64 SSD1306 OLED with print() and println(), through romfont's RomfontPrint:
// a '\n', lines wrapped at 128 pixels where Japanese line breaking allows (no line starts with 。 nor ends
// with 「), a character the ROM lacks drawn as the geta mark 〓, F() strings and a number.
//
// The ROM is a maskburn image burned on a W25Q128 SPI flash, wired as for FlashOled (chip select on pin 10;
// maskburn-image makes the image, flashrom burns it); the OLED is on I2C at 0x3C. Built with
// make PROGMEM_ROM=rom.h, it takes the ROM from program memory instead: a header maskburn-subset --c-source
// makes for the text (and 〓).
//
// The Uno has 2 KB of RAM, no room for a 1 KB frame: the screen is drawn in four strips of two pages (256
// bytes), and for each strip the whole text is printed again into it. Layout reads nothing from the ROM, and
// only the glyphs that touch the strip are read, so each glyph is read once or twice (a line spans two strips
// when it does not start on a strip's first row).
#include <SPI.h>
#include <Wire.h>
#include <RomfontPrint.h>
#include <romfont.h>
#include <romfont_image.h>
#if defined(__AVR__)
#include <avr/pgmspace.h>
#include <avr/sleep.h>
#endif

#ifdef PRINT_OLED_ROM
#define MASKBURN_ROM_STORAGE PROGMEM
#include PRINT_OLED_ROM
#endif

static const uint8_t kFlashSelect = 10;
static const uint32_t kFlashSize = 16ul << 20;  // a W25Q128 (FlashOled reads the size from the JEDEC ID)
static const uint8_t kOledAddress = 0x3C;
static const uint8_t kScreenWidth = 128;
static const int16_t kTextX = 0, kTextY = 0;     // where the text starts
static const uint16_t kWrapWidth = 128;          // and the width it wraps at

// The screen's text, printed to the OLED, and to Serial to say what was drawn.
static void writeText(Print &out) {
  out.print(F("室温 "));
  out.print(23.5);      // "23.50"
  out.println(F("℃"));  // "\r\n": '\r' is ignored, '\n' starts a new line
  out.print(F("今日も東雲で表示。森鷗外の作「舞姫」"));  // 。 and 「 move two wraps; 鷗 is not in the ROM
}

static uint8_t strip[2 * kScreenWidth];  // pages 2k and 2k + 1
static const romfont_buffer kStrip = {strip, kScreenWidth, 16, kScreenWidth, ROMFONT_BUFFER_PAGES};

// ---- The ROM: SPI flash, or program memory ----

#ifdef PRINT_OLED_ROM
static uint8_t readRom(void *, uint8_t file, uint32_t offset, uint8_t *buffer, uint16_t length) {
  memcpy_P(buffer, (file == ROMFONT_INDEX_FILE ? fontindex_bin : fontdata_bin) + offset, length);
  return 1;
}
#else
static void selectFlash(bool on) {
#if defined(__AVR__)
  if (on) PORTB &= (uint8_t)~_BV(PB2); else PORTB |= _BV(PB2);  // pin 10, faster than digitalWrite
#else
  digitalWrite(kFlashSelect, on ? LOW : HIGH);
#endif
}

// Command 0x03 (read data), a 24-bit address, then the bytes.
static uint8_t readFlash(void *, uint32_t address, uint8_t *buffer, uint16_t length) {
  selectFlash(true);
  SPI.transfer(0x03);
  SPI.transfer((uint8_t)(address >> 16));
  SPI.transfer((uint8_t)(address >> 8));
  SPI.transfer((uint8_t)address);
  SPI.transfer(buffer, length);
  selectFlash(false);
  return 1;
}
#endif

// ---- The OLED ----

static void oledWrite(uint8_t control, const uint8_t *bytes, uint8_t count) {
  Wire.beginTransmission(kOledAddress);
  Wire.write(control);  // 0x00: commands follow, 0x40: display data
  Wire.write(bytes, count);
  Wire.endTransmission();
}

static void oledBegin() {
  static const uint8_t kInit[] = {0xAE, 0xD5, 0x80, 0xA8, 0x3F, 0xD3, 0x00, 0x40, 0x8D, 0x14, 0x20, 0x00,
                                  0xA1, 0xC8, 0xDA, 0x12, 0x81, 0xCF, 0xD9, 0xF1, 0xDB, 0x40, 0xA4, 0xA6, 0xAF};
  Wire.begin();
  Wire.setClock(400000);
  oledWrite(0x00, kInit, sizeof kInit);  // as FlashOled: 64 rows, charge pump, horizontal addressing, on
}

static void oledSendStrip(uint8_t firstPage) {
  const uint8_t window[] = {0x21, 0, kScreenWidth - 1, 0x22, firstPage, (uint8_t)(firstPage + 1)};
  oledWrite(0x00, window, sizeof window);
  // Wire's buffer holds 32 bytes, the control byte among them
  for (uint16_t sent = 0; sent < sizeof strip; sent += 16) oledWrite(0x40, strip + sent, 16);
}

// ---- Cycle counting: Timer1 at the CPU clock, its overflows counted ----

static volatile uint16_t timerOverflows;
ISR(TIMER1_OVF_vect) { ++timerOverflows; }

static uint32_t cycles() {
  const uint8_t saved = SREG;
  cli();
  const uint16_t low = TCNT1;
  uint16_t high = timerOverflows;
  if ((TIFR1 & _BV(TOV1)) && low < 0x8000) ++high;  // an overflow not yet counted
  SREG = saved;
  return ((uint32_t)high << 16) | low;
}

// ---- The sketch ----

// Draws the whole screen, strip by strip; returns the cycles spent laying out and drawing (sending not counted).
static uint32_t drawScreen(RomfontPrint &display) {
  uint32_t drawing = 0;
  for (uint8_t page = 0; page < 8; page += 2) {
    const uint32_t start = cycles();
    memset(strip, 0, sizeof strip);
    display.setBuffer(&kStrip, 8 * page);  // the strip holds screen rows 8 * page to 8 * page + 15
    display.setCursor(kTextX, kTextY);
    writeText(display);
    display.flush();  // the last line is still pending
    drawing += cycles() - start;
    oledSendStrip(page);
  }
  return drawing;
}

static void finish() {
  Serial.println(F("done"));
  Serial.flush();
  set_sleep_mode(SLEEP_MODE_PWR_DOWN);  // for good, interrupts off: the end of the sketch (and of a simavr run)
  sleep_enable();
  cli();
  sleep_cpu();
}

void setup() {
  Serial.begin(115200);
  oledBegin();
  TCCR1A = 0;
  TCCR1B = _BV(CS10);
  TIMSK1 = _BV(TOIE1);
  romfont font;
#ifdef PRINT_OLED_ROM
  romfont_init_callback(&font, readRom, NULL, FONTINDEX_BIN_SIZE, FONTDATA_BIN_SIZE);
  Serial.println(F("rom: program memory"));
#else
  pinMode(kFlashSelect, OUTPUT);
  digitalWrite(kFlashSelect, HIGH);
  SPI.begin();
  SPI.beginTransaction(SPISettings(8000000, MSBFIRST, SPI_MODE0));  // the flash is the only SPI device
  romfont_image image;
  if (romfont_image_init(&image, &font, readFlash, NULL, 0, kFlashSize) != ROMFONT_IMAGE_OK) {
    Serial.println(F("rom: no image on the flash"));
    finish();
    return;
  }
  Serial.println(F("rom: SPI flash"));
#endif
  // What is drawn, and where: the check draws the same with maskburn-view --screen --width.
  Serial.print(F("text: x "));
  Serial.print(kTextX);
  Serial.print(F(" y "));
  Serial.print(kTextY);
  Serial.print(F(" width "));
  Serial.println(kWrapWidth);
  writeText(Serial);
  Serial.println();
  Serial.println(F("end of text"));
  Serial.flush();

  RomfontPrint display(font);
  display.setWrap(kTextX, kWrapWidth);
  const uint32_t start = cycles();
  const uint32_t drawing = drawScreen(display);
  const uint32_t total = cycles() - start;
  // Once more with every line outside the strip: the layout alone, which each strip pays for.
  const uint32_t layoutStart = cycles();
  display.setBuffer(&kStrip, 1000);
  display.setCursor(kTextX, kTextY);
  writeText(display);
  display.flush();
  const uint32_t layout = cycles() - layoutStart;
  if (display.getWriteError()) Serial.println(F("draw: ROM trouble"));
  if (display.result() == ROMFONT_NO_GLYPH) Serial.println(F("draw: a missing character, drawn as the fallback"));
  Serial.print(F("screen: "));
  Serial.print(drawing);
  Serial.print(F(" cycles to lay out and draw the whole screen, "));
  Serial.print(total);
  Serial.println(F(" with sending it"));
  Serial.print(F("layout: "));
  Serial.print(layout);
  Serial.println(F(" cycles to print the text with nothing to draw"));
  finish();
}

void loop() {}
