/* spi_flash: the board's SPI NOR flash, a Winbond W25Q128FV (16 MiB) seen from its pins: JEDEC ID (0x9F), read
   (0x03) and fast read (0x0B), on the AVR's SPI with chip select on Arduino pin D10 (PB2). It reads its
   contents from a chip file once and never writes it. */
#ifndef MASKBURN_BOARD_SPI_FLASH_H
#define MASKBURN_BOARD_SPI_FLASH_H

#include <stddef.h>
#include <stdint.h>

#include "sim_avr.h"
#include "sim_irq.h"

#define SPI_FLASH_SIZE (16ul * 1024 * 1024)

typedef struct spi_flash {
  uint8_t *memory;        /* SPI_FLASH_SIZE bytes: the chip file, then 0xFF (erased) past its end */
  int selected;           /* chip select is low: a command is in progress */
  uint32_t position;      /* bytes of the current command exchanged so far */
  uint8_t command;        /* its first byte */
  uint32_t address;       /* the read address, gathered from bytes 1 to 3, then advancing */
  uint8_t reported[32];   /* one bit per command byte already reported as not modelled */
  avr_irq_t *miso;        /* the MCU's SPI input: the byte the flash shifts out in each exchange */
} spi_flash;

/* Reads the chip file whole. Returns 0, or -1 with problem filled (no such file, unreadable, larger than the
   chip, out of memory). */
int spi_flash_load(spi_flash *flash, const char *path, char *problem, size_t problem_size);

/* Connects the flash to avr's SPI and to pin PB2 as its chip select. */
void spi_flash_attach(spi_flash *flash, avr_t *avr);

/* Chip select: a falling edge starts a command, a rising edge ends it. */
void spi_flash_select(spi_flash *flash, int selected);

/* One SPI exchange: the byte the MCU shifts in, and the byte the flash answers with at the same time. */
uint8_t spi_flash_exchange(spi_flash *flash, uint8_t in);

void spi_flash_free(spi_flash *flash);

#endif
