/* A program that uses only romfont's walker (init through a read function, walk, next char), for any target:
   device/bench/run.sh links it with -ffunction-sections -fdata-sections -Wl,--gc-sections and reads from the link
   map what of romfont.o (and of the C library on its behalf) such a firmware keeps. Never run. */
#include "romfont.h"

volatile uint8_t sink; /* stands for a device register, so that nothing is optimised away */

static uint8_t read_port(void *context, uint8_t file, uint32_t offset, uint8_t *buffer, uint16_t length) {
  volatile uint8_t *port = (volatile uint8_t *)context;
  while (length-- != 0u) *buffer++ = (uint8_t)(*port ^ file ^ (uint8_t)offset);
  return 1u;
}

int main(void) {
  romfont font;
  romfont_walker walker;
  romfont_char ch;
  romfont_init_callback(&font, read_port, (void *)&sink, 1024u, 4096u);
  romfont_walk(&walker, &font, "ABC", ROMFONT_NUL_TERMINATED);
  while (romfont_next_char(&walker, &ch) != ROMFONT_END) sink = ch.glyph[0];
  for (;;) {
  }
}
