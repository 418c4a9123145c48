/* twi_timing: I2C transfers that take as long as on the chip, at the bit rate the firmware set. simavr 1.6's TWI
   unit ignores TWBR and TWSR's prescaler: it sets TWINT at once after a start or repeated start and after the
   address byte that follows a start, 9 us (144 cycles at 16 MHz) after any other byte, and ends a stop at once.
   The board times them on an SCL clock of F_CPU / (16 + 2 x TWBR x prescaler), the prescaler 1, 4, 16 or 64 from
   TWPS: a byte written or read, the address byte too, takes 9 SCL periods (8 bits and the acknowledge) before
   TWINT is set; a start or repeated start takes one SCL period; a stop keeps TWSTO set for one SCL period (the
   firmware waits for it to clear). Bus arbitration and clock stretching are not modelled: the board's parts
   never hold SCL. */
#ifndef MASKBURN_BOARD_TWI_TIMING_H
#define MASKBURN_BOARD_TWI_TIMING_H

#include "sim_avr.h"

/* Hooks avr's TWI control register; returns 0, or -1 when the MCU has no TWI unit to hook. */
int twi_timing_attach(avr_t *avr);

#endif
