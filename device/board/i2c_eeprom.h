/* i2c_eeprom: the board's 2-Mbit I2C EEPROM, a 24xx part such as the AT24CM02 (262,144 bytes), on the AVR's I2C bus
   beside the OLED. Its device addresses are 0x50 to 0x53: the low two bits carry address bits 17 and 16, and the
   16 bits below follow as two bytes (high first) after the device address in a write. A read continues from the
   address set so (random read: the two address bytes written, then a repeated start with the read bit) or from
   where the last read stopped (current-address read), one byte after the other across the whole memory,
   wrapping to 0 at the end. It holds a file's contents, read once; data bytes written after the address are
   acknowledged and dropped, as by a part whose write-protect pin is tied high. */
#ifndef MASKBURN_BOARD_I2C_EEPROM_H
#define MASKBURN_BOARD_I2C_EEPROM_H

#include <stddef.h>
#include <stdint.h>

#include "sim_avr.h"
#include "sim_irq.h"

#define I2C_EEPROM_SIZE (256ul * 1024)
#define I2C_EEPROM_ADDRESS 0x50u  /* the 7-bit device address with A17:A16 zero */

typedef struct i2c_eeprom {
  uint8_t memory[I2C_EEPROM_SIZE];  /* the file, then 0xFF past its end */
  int selected;                     /* the current transfer is addressed to the EEPROM */
  int reading;                      /* ... with the read bit */
  int address_bytes;                /* word address bytes received in this write (0 to 2, then data) */
  uint32_t address;                 /* the next byte read, 0 to I2C_EEPROM_SIZE - 1 */
  avr_irq_t *bus_input;             /* the MCU's I2C input: acknowledgements and the bytes read */
} i2c_eeprom;

/* Reads the file whole into the EEPROM. Returns 0, or -1 with problem filled (no such file, unreadable, larger
   than the part). */
int i2c_eeprom_load(i2c_eeprom *eeprom, const char *path, char *problem, size_t problem_size);

/* Puts the EEPROM on avr's I2C bus. */
void i2c_eeprom_attach(i2c_eeprom *eeprom, avr_t *avr);

#endif
