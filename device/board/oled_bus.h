/* oled_bus: the board's 128x64 SSD1306 OLED, simavr's part, on the AVR's I2C bus at 0x3C. The bus traffic passes
   through here on its way to the part so that horizontal addressing keeps to the column and page window set with
   commands 0x21 and 0x22, as the real controller does (the part takes the window's start only and runs on to
   column 127). */
#ifndef MASKBURN_BOARD_OLED_BUS_H
#define MASKBURN_BOARD_OLED_BUS_H

#include <stdint.h>

#include "sim_avr.h"
#include "ssd1306_virt.h"

typedef struct oled_bus {
  ssd1306_t *oled;
  int selected;          /* the current transfer is addressed to the OLED */
  int control_seen;      /* its control byte has come */
  int data;              /* the control byte said: display data follow (else commands) */
  uint8_t command;       /* the command whose arguments are coming */
  int arguments_left;
  uint8_t arguments[6];
  int argument_count;
  uint8_t first_column, last_column, first_page, last_page;  /* the window */
} oled_bus;

/* Makes the OLED (its memory dark, the display off) and puts it on avr's I2C bus. */
void oled_bus_attach(oled_bus *bus, ssd1306_t *oled, avr_t *avr, int width, int height);

/* One byte the firmware sent to the OLED after the control byte: commands are followed for the window. Returns
   nonzero when the byte is display data, which the caller moves the part's cursor for after the part stored it. */
int oled_bus_follow(oled_bus *bus, uint8_t byte);

/* Where horizontal addressing goes after the byte stored at (page, column): the next column of the window, else
   its first column on the next page, else back to the window's top left. */
void oled_bus_next(const oled_bus *bus, uint8_t *page, uint8_t *column);

#endif
