/* oled_bus: the SSD1306's I2C traffic, followed for the address window and passed to simavr's part; see
   oled_bus.h. */
#include "oled_bus.h"

#include <fcntl.h>
#include <stdio.h>
#include <unistd.h>

#include "avr_twi.h"
#include "sim_io.h"

/* How many argument bytes follow an SSD1306 command byte. */
static int argument_count(uint8_t command) {
  switch (command) {
    case 0x26: case 0x27: return 6;                   /* horizontal scroll set-up */
    case 0x29: case 0x2A: return 5;                   /* vertical and horizontal scroll set-up */
    case 0x21: case 0x22: case 0xA3: return 2;        /* column window, page window, vertical scroll area */
    case 0x20: case 0x81: case 0x8D: case 0xA8: case 0xD3: case 0xD5: case 0xD9: case 0xDA: case 0xDB:
      return 1;                                       /* addressing mode, contrast, charge pump, timing ... */
    default: return 0;
  }
}

int oled_bus_follow(oled_bus *bus, uint8_t byte) {
  if (bus->data) return 1;
  if (bus->arguments_left == 0) {
    bus->command = byte;
    bus->argument_count = 0;
    bus->arguments_left = argument_count(byte);
    return 0;
  }
  bus->arguments[bus->argument_count++] = byte;
  if (--bus->arguments_left > 0) return 0;
  if (bus->command == 0x21) {
    bus->first_column = bus->arguments[0] & 0x7F;
    bus->last_column = bus->arguments[1] & 0x7F;
  } else if (bus->command == 0x22) {
    bus->first_page = bus->arguments[0] & 0x07;
    bus->last_page = bus->arguments[1] & 0x07;
  }
  return 0;
}

void oled_bus_next(const oled_bus *bus, uint8_t *page, uint8_t *column) {
  if (*column < bus->last_column) {
    ++*column;
    return;
  }
  *column = bus->first_column;
  *page = *page < bus->last_page ? (uint8_t)(*page + 1) : bus->first_page;
}

/* A message of the AVR's I2C unit: followed here, then handed to the part; after a data byte in horizontal mode
   the part's cursor is moved to where the controller's would be. */
static void on_bus_message(struct avr_irq_t *irq, uint32_t value, void *param) {
  (void)irq;
  oled_bus *bus = param;
  avr_twi_msg_irq_t message;
  message.u.v = value;
  if (message.u.twi.msg & (TWI_COND_START | TWI_COND_STOP)) {
    bus->selected = 0;
    bus->control_seen = 0;
  }
  if (message.u.twi.msg & TWI_COND_START) {
    bus->selected = (message.u.twi.addr >> 1) == SSD1306_I2C_ADDRESS && !(message.u.twi.addr & 1);
  }
  const int written = bus->selected && (message.u.twi.msg & TWI_COND_WRITE);
  int data = 0;
  if (written && !bus->control_seen) {
    bus->control_seen = 1;
    bus->data = (message.u.twi.data & 0x40) != 0;
  } else if (written) {
    data = oled_bus_follow(bus, (uint8_t)message.u.twi.data);
  }
  ssd1306_t *oled = bus->oled;
  uint8_t page = oled->cursor.page, column = oled->cursor.column;
  avr_raise_irq(oled->irq + IRQ_SSD1306_TWI_OUT, value);
  if (data && oled->addr_mode == SSD1306_ADDR_MODE_HORZ) {
    oled_bus_next(bus, &page, &column);
    oled->cursor.page = page;
    oled->cursor.column = column;
  }
}

void oled_bus_attach(oled_bus *bus, ssd1306_t *oled, avr_t *avr, int width, int height) {
  *bus = (oled_bus){.oled = oled, .last_column = 127, .last_page = 7};
  /* The part announces its timing on standard output when made: kept off the firmware's lines. */
  fflush(stdout);
  const int kept = dup(STDOUT_FILENO);
  const int null = open("/dev/null", O_WRONLY);
  if (kept >= 0 && null >= 0) dup2(null, STDOUT_FILENO);
  ssd1306_init(avr, oled, width, height);
  fflush(stdout);
  if (kept >= 0 && null >= 0) dup2(kept, STDOUT_FILENO);
  if (kept >= 0) close(kept);
  if (null >= 0) close(null);
  /* Its reset pin is left unconnected, high, as on the common 4-pin modules. */
  avr_irq_register_notify(avr_io_getirq(avr, AVR_IOCTL_TWI_GETIRQ(0), TWI_IRQ_OUTPUT), on_bus_message, bus);
  avr_connect_irq(oled->irq + IRQ_SSD1306_TWI_IN, avr_io_getirq(avr, AVR_IOCTL_TWI_GETIRQ(0), TWI_IRQ_INPUT));
}
