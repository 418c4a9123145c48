/* spi_flash: the W25Q128FV model behind the board's SPI bus; see spi_flash.h. */
#include "spi_flash.h"

#include <errno.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>

#include "avr_ioport.h"
#include "avr_spi.h"

/* The W25Q128FV's JEDEC ID: Winbond, SPI memory type, 2^0x18 bytes. */
static const uint8_t kJedecId[3] = {0xEF, 0x40, 0x18};

enum { kReadData = 0x03, kFastRead = 0x0B, kJedecIdCommand = 0x9F };

int spi_flash_load(spi_flash *flash, const char *path, char *problem, size_t problem_size) {
  memset(flash, 0, sizeof *flash);
  FILE *file = fopen(path, "rb");
  struct stat status;
  if (file == NULL || fstat(fileno(file), &status) != 0) {
    snprintf(problem, problem_size, "cannot open the chip file %s: %s", path, strerror(errno));
    if (file != NULL) fclose(file);
    return -1;
  }
  if (!S_ISREG(status.st_mode) || status.st_size > (off_t)SPI_FLASH_SIZE) {
    snprintf(problem, problem_size, "the chip file %s is %s", path,
             S_ISREG(status.st_mode) ? "larger than the chip's 16 MiB" : "not a regular file");
    fclose(file);
    return -1;
  }
  flash->memory = malloc(SPI_FLASH_SIZE);
  if (flash->memory == NULL) {
    snprintf(problem, problem_size, "out of memory for the chip's 16 MiB");
    fclose(file);
    return -1;
  }
  memset(flash->memory, 0xFF, SPI_FLASH_SIZE);
  const size_t size = (size_t)status.st_size;
  const size_t got = fread(flash->memory, 1, size, file);
  const int failed = ferror(file);
  fclose(file);
  if (failed || got != size) {
    snprintf(problem, problem_size, "cannot read the chip file %s: %s", path,
             failed ? strerror(errno) : "it got shorter while being read");
    spi_flash_free(flash);
    return -1;
  }
  return 0;
}

void spi_flash_select(spi_flash *flash, int selected) {
  if (selected && !flash->selected) {
    flash->position = 0;
    flash->address = 0;
  }
  flash->selected = selected;
}

/* The answer to the byte at flash->position of a read command whose data start at data_start. */
static uint8_t read_byte(spi_flash *flash, uint8_t in, uint32_t data_start) {
  const uint32_t at = flash->position;
  if (at >= 1 && at <= 3) flash->address = (flash->address << 8 | in) & (SPI_FLASH_SIZE - 1);
  if (at < data_start) return 0xFF;
  const uint8_t out = flash->memory[flash->address];
  flash->address = (flash->address + 1) & (SPI_FLASH_SIZE - 1);
  return out;
}

uint8_t spi_flash_exchange(spi_flash *flash, uint8_t in) {
  if (!flash->selected) return 0xFF;  /* the data line floats high when no chip drives it */
  if (flash->position == 0) flash->command = in;
  uint8_t out = 0xFF;
  switch (flash->command) {
    case kJedecIdCommand:
      if (flash->position >= 1 && flash->position <= 3) out = kJedecId[flash->position - 1];
      break;
    case kReadData:
      out = read_byte(flash, in, 4);
      break;
    case kFastRead:
      out = read_byte(flash, in, 5);
      break;
    default:
      if (flash->position == 0 && !(flash->reported[in / 8] & 1u << in % 8)) {
        flash->reported[in / 8] = (uint8_t)(flash->reported[in / 8] | 1u << in % 8);
        fprintf(stderr, "flash: command 0x%02X not modelled\n", in);
      }
      break;
  }
  if (flash->position < UINT32_MAX) flash->position++;
  return out;
}

static void on_chip_select(struct avr_irq_t *irq, uint32_t value, void *param) {
  (void)irq;
  spi_flash_select(param, value == 0);
}

static void on_spi_output(struct avr_irq_t *irq, uint32_t value, void *param) {
  (void)irq;
  spi_flash *flash = param;
  avr_raise_irq(flash->miso, spi_flash_exchange(flash, (uint8_t)value));
}

void spi_flash_attach(spi_flash *flash, avr_t *avr) {
  flash->miso = avr_io_getirq(avr, AVR_IOCTL_SPI_GETIRQ(0), SPI_IRQ_INPUT);
  avr_irq_register_notify(avr_io_getirq(avr, AVR_IOCTL_SPI_GETIRQ(0), SPI_IRQ_OUTPUT), on_spi_output, flash);
  avr_irq_register_notify(avr_io_getirq(avr, AVR_IOCTL_IOPORT_GETIRQ('B'), IOPORT_IRQ_PIN2), on_chip_select, flash);
}

void spi_flash_free(spi_flash *flash) {
  free(flash->memory);
  flash->memory = NULL;
}
