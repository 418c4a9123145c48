/* i2c_eeprom: the 24xx 2-Mbit EEPROM model behind the board's I2C bus; see i2c_eeprom.h. */
#include "i2c_eeprom.h"

#include <errno.h>
#include <stdio.h>
#include <string.h>
#include <sys/stat.h>

#include "avr_twi.h"
#include "sim_io.h"

int i2c_eeprom_load(i2c_eeprom *eeprom, const char *path, char *problem, size_t problem_size) {
  memset(eeprom, 0, sizeof *eeprom);
  memset(eeprom->memory, 0xFF, sizeof eeprom->memory);
  FILE *file = fopen(path, "rb");
  struct stat status;
  if (file == NULL || fstat(fileno(file), &status) != 0) {
    snprintf(problem, problem_size, "cannot open the EEPROM file %s: %s", path, strerror(errno));
    if (file != NULL) fclose(file);
    return -1;
  }
  if (!S_ISREG(status.st_mode) || status.st_size > (off_t)I2C_EEPROM_SIZE) {
    snprintf(problem, problem_size, "the EEPROM file %s is %s", path,
             S_ISREG(status.st_mode) ? "larger than the EEPROM's 262144 bytes" : "not a regular file");
    fclose(file);
    return -1;
  }
  const size_t size = (size_t)status.st_size;
  const size_t got = fread(eeprom->memory, 1, size, file);
  const int failed = ferror(file);
  fclose(file);
  if (failed || got != size) {
    snprintf(problem, problem_size, "cannot read the EEPROM file %s: %s", path,
             failed ? strerror(errno) : "it got shorter while being read");
    return -1;
  }
  return 0;
}

/* A message of the AVR's I2C unit. A start names the device (8-bit form: the 7-bit address, then the read bit);
   the EEPROM answers its own four addresses only, so the OLED's traffic passes by. */
static void on_bus_message(struct avr_irq_t *irq, uint32_t value, void *param) {
  (void)irq;
  i2c_eeprom *eeprom = param;
  avr_twi_msg_irq_t message;
  message.u.v = value;
  const uint8_t device = message.u.twi.addr;
  if (message.u.twi.msg & (TWI_COND_START | TWI_COND_STOP)) eeprom->selected = 0;
  if (message.u.twi.msg & TWI_COND_START) {
    if ((device >> 3) != (I2C_EEPROM_ADDRESS >> 2)) return;
    eeprom->selected = 1;
    eeprom->reading = device & 1;
    eeprom->address_bytes = 0;
    /* Bits 17 and 16 of the address come with every device address, read or write. */
    eeprom->address = (uint32_t)((device >> 1) & 3u) << 16 | (eeprom->address & 0xFFFFu);
    avr_raise_irq(eeprom->bus_input, avr_twi_irq_msg(TWI_COND_ACK, device, 1));
    return;
  }
  if (!eeprom->selected) return;
  if ((message.u.twi.msg & TWI_COND_WRITE) && !eeprom->reading) {
    const uint8_t byte = message.u.twi.data;
    if (eeprom->address_bytes == 0) {
      eeprom->address = (eeprom->address & 0x30000u) | (uint32_t)byte << 8;
    } else if (eeprom->address_bytes == 1) {
      eeprom->address |= byte;
    }
    if (eeprom->address_bytes < 2) ++eeprom->address_bytes;
    avr_raise_irq(eeprom->bus_input, avr_twi_irq_msg(TWI_COND_ACK, device, 1));
  } else if ((message.u.twi.msg & TWI_COND_READ) && eeprom->reading) {
    avr_raise_irq(eeprom->bus_input, avr_twi_irq_msg(TWI_COND_READ, device, eeprom->memory[eeprom->address]));
    eeprom->address = (eeprom->address + 1) % I2C_EEPROM_SIZE;
  }
}

void i2c_eeprom_attach(i2c_eeprom *eeprom, avr_t *avr) {
  eeprom->bus_input = avr_io_getirq(avr, AVR_IOCTL_TWI_GETIRQ(0), TWI_IRQ_INPUT);
  avr_irq_register_notify(avr_io_getirq(avr, AVR_IOCTL_TWI_GETIRQ(0), TWI_IRQ_OUTPUT), on_bus_message, eeprom);
}
