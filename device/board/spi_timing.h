/* spi_timing: SPI transfers that take as long as on the chip. simavr 1.6 completes every byte 100 us after the
   firmware writes SPDR, whatever the SPI clock (1,600 cycles at 16 MHz where an 8 MHz clock takes 16), so the
   board moves that completion to 8 SPI clock periods: 8 x the divider that SPR1:SPR0 and SPI2X select. */
#ifndef MASKBURN_BOARD_SPI_TIMING_H
#define MASKBURN_BOARD_SPI_TIMING_H

#include "sim_avr.h"

/* Hooks avr's SPI data register; returns 0, or -1 when the MCU has no SPI unit to hook. */
int spi_timing_attach(avr_t *avr);

#endif
