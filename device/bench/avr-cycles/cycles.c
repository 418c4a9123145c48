/* Measuring firmware for device/bench/run.sh (ATmega328P, run in simavr): CPU cycles and stack bytes of romfont's
   half-width and full-width lookups with the ROM in program memory, read through romfont_init_callback and a
   read function built on memcpy_P. Timer1 counts CPU cycles (prescaler 1); TCNT1 is read around each call and
   the cost of an empty measurement is taken off. Every glyph the ROM holds is looked up several times and the
   worst count kept; also romfont_crc32 over 32 bytes in RAM, as romfont_image_check runs it. Results go out
   on USART0 as "name value" lines; the run ends asleep with interrupts off.
   The same full-width lookups again through the ROM's version-2 image (the compact index) in program memory,
   opened with romfont_image_init and a memcpy_P read function.
   The build supplies tiny_rom.h (the ROM as C arrays, and tiny_image, its version-2 image) and tiny_keys.h (the
   codes that have a glyph). */
#include <avr/interrupt.h>
#include <avr/io.h>
#include <avr/pgmspace.h>
#include <avr/sleep.h>
#include <stdlib.h>

#include "romfont.h"
#include "romfont_image.h"

#define MASKBURN_ROM_STORAGE PROGMEM
#include "tiny_rom.h"
#include "tiny_keys.h" /* half_codes[], full_keys[] */

#define REPEATS 4u      /* calls per glyph; the worst one counts */
#define STACK_PAINT 0xC5u

extern uint8_t __heap_start; /* first byte above .data and .bss: the stack may grow down to here */

static uint8_t failed; /* a lookup of a glyph the ROM holds did not give ROMFONT_OK */

/* The image read function for the version-2 image in program memory. */
static uint8_t read_image(void *context, uint32_t address, uint8_t *buffer, uint16_t length) {
  (void)context;
  memcpy_P(buffer, tiny_image + (uint16_t)address, length);
  return 1u;
}

/* The read function of the manual, for a ROM kept in program memory. Offsets fit 16 bits on this part. */
static uint8_t read_progmem(void *context, uint8_t file, uint32_t offset, uint8_t *buffer, uint16_t length) {
  const uint8_t *base = file == ROMFONT_INDEX_FILE ? fontindex_bin : fontdata_bin;
  (void)context;
  memcpy_P(buffer, base + (uint16_t)offset, length);
  return 1u;
}

static void put_char(char c) {
  while (!(UCSR0A & _BV(UDRE0))) {
  }
  UDR0 = (uint8_t)c;
}

static void put_record(const char *name, uint16_t value) {
  char digits[6];
  const char *p;
  for (p = name; *p != '\0'; ++p) put_char(*p);
  put_char(' ');
  utoa(value, digits, 10);
  for (p = digits; *p != '\0'; ++p) put_char(*p);
  put_char('\n');
}

/* Fills the free stack below the caller's frame with a known byte, so that the deepest byte a later call
   changes shows how far down it went. */
static void __attribute__((noinline)) paint_stack(void) {
  uint8_t *p = &__heap_start;
  uint8_t *end = (uint8_t *)SP;
  while (p < end) *p++ = STACK_PAINT;
}

/* Bytes of stack used below top (the stack pointer at the call) since paint_stack(). */
static uint16_t stack_used(uint16_t top) {
  const uint8_t *p = &__heap_start;
  while (*p == STACK_PAINT) ++p;
  return (uint16_t)(top - (uint16_t)p + 1u);
}

/* Cycles spent between two reads of TCNT1 around STATEMENT, into CYCLES. */
#define TIMED(cycles, statement)     \
  do {                               \
    uint16_t start_ = TCNT1;         \
    statement;                       \
    (cycles) = TCNT1 - start_;       \
  } while (0)

int main(void) {
  static romfont font;
  static romfont compact;
  static romfont_image image;
  uint8_t glyph[32];
  uint16_t empty, cycles, worst_half = 0u, worst_full = 0u, worst_compact = 0u, copy, crc, half_stack = 0u,
           full_stack = 0u, top;
  uint8_t i, r, init, compact_init;

  cli();
  UBRR0 = 8u; /* 115200 baud at 16 MHz */
  UCSR0B = _BV(TXEN0);
  UCSR0C = _BV(UCSZ01) | _BV(UCSZ00);
  TCCR1A = 0u;
  TCCR1B = _BV(CS10); /* Timer1 at the CPU clock */

  /* Its result is reported, not required: the structure is set up either way and lookups check offsets. */
  init = (uint8_t)romfont_init_callback(&font, read_progmem, NULL, FONTINDEX_BIN_SIZE, FONTDATA_BIN_SIZE);

  TIMED(empty, (void)0);
  for (i = 0u; i < sizeof half_codes; ++i) {
    for (r = 0u; r < REPEATS; ++r) {
      romfont_result result;
      TIMED(cycles, result = romfont_half_glyph(&font, half_codes[i], glyph));
      if (result != ROMFONT_OK) failed = 1u;
      if (cycles - empty > worst_half) worst_half = cycles - empty;
    }
    paint_stack();
    top = SP;
    romfont_half_glyph(&font, half_codes[i], glyph);
    if (stack_used(top) > half_stack) half_stack = stack_used(top);
  }
  for (i = 0u; i < sizeof full_keys / sizeof full_keys[0]; ++i) {
    for (r = 0u; r < REPEATS; ++r) {
      romfont_result result;
      TIMED(cycles, result = romfont_full_glyph(&font, full_keys[i], glyph));
      if (result != ROMFONT_OK) failed = 1u;
      if (cycles - empty > worst_full) worst_full = cycles - empty;
    }
    paint_stack();
    top = SP;
    romfont_full_glyph(&font, full_keys[i], glyph);
    if (stack_used(top) > full_stack) full_stack = stack_used(top);
  }
  compact_init = (uint8_t)romfont_image_init(&image, &compact, read_image, NULL, 0u, TINY_IMAGE_SIZE);
  for (i = 0u; i < sizeof full_keys / sizeof full_keys[0]; ++i) {
    for (r = 0u; r < REPEATS; ++r) {
      romfont_result result;
      TIMED(cycles, result = romfont_full_glyph(&compact, full_keys[i], glyph));
      if (result != ROMFONT_OK) failed = 1u;
      if (cycles - empty > worst_compact) worst_compact = cycles - empty;
    }
  }
  TIMED(copy, memcpy_P(glyph, fontdata_bin, 32u));
  TIMED(crc, glyph[0] ^= (uint8_t)romfont_crc32(0u, glyph, 32u));

  put_record("empty", empty);
  put_record("half_cycles", worst_half);
  put_record("full_cycles", worst_full);
  put_record("compact_cycles", worst_compact);
  put_record("compact_init", compact_init);
  put_record("memcpy_P_32", copy - empty);
  put_record("crc32_32", crc - empty);
  put_record("half_stack", half_stack);
  put_record("full_stack", full_stack);
  put_record("lookups", (uint16_t)((sizeof half_codes + sizeof full_keys / sizeof full_keys[0]) * REPEATS));
  put_record("failed", failed);
  put_record("init", init);
  cli();
  sleep_enable();
  sleep_cpu();
  return 0;
}
