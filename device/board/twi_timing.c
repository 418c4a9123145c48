/* twi_timing: the I2C byte, start and stop times of the real chip; see twi_timing.h. */
#include "twi_timing.h"

#include <string.h>

#include "avr_twi.h"
#include "sim_cycle_timers.h"
#include "sim_io.h"
#include "sim_regbit.h"

/* One SCL period in CPU cycles, from TWBR and the prescaler TWPS selects (4 to the power TWPS). */
static avr_cycle_count_t scl_period(avr_t *avr, const avr_twi_t *twi) {
  const avr_cycle_count_t prescaler = (avr_cycle_count_t)1 << (2 * avr_regbit_get(avr, twi->twps));
  return 16 + 2 * (avr_cycle_count_t)avr->data[twi->r_twbr] * prescaler;
}

/* Whether the byte written to TWCR has the bit regbit names. */
static int written_bit(uint8_t value, avr_regbit_t regbit) {
  return (value >> regbit.bit & regbit.mask) != 0;
}

/* The end of a stop condition: TWSTO clears, as the chip clears it once the stop is on the bus. */
static avr_cycle_count_t on_stop_done(avr_t *avr, avr_cycle_count_t when, void *param) {
  (void)when;
  avr_twi_t *twi = param;
  avr_regbit_clear(avr, twi->twsto);
  return 0;
}

/* Runs after the TWI unit's own handler of the same write. A write with TWINT set starts the next step on the bus:
   a start (TWSTA), a stop (TWSTO alone), or a byte. For a start or a byte the unit has just scheduled TWINT with
   its own delay: that timer, found among the cycle timers by its parameter, the unit, is scheduled again one SCL
   period (start) or 9 (byte) from now. For a stop the unit has already cleared TWSTO; it is set again until one
   SCL period has passed. */
static void on_control_write(avr_t *avr, avr_io_addr_t address, uint8_t value, void *param) {
  (void)address;
  avr_twi_t *twi = param;
  avr_cycle_timer_cancel(avr, on_stop_done, twi);
  if (!written_bit(value, twi->twi.raised) || !written_bit(value, twi->twen)) return;
  const avr_cycle_count_t period = scl_period(avr, twi);
  const int start = written_bit(value, twi->twsta);
  if (!start && written_bit(value, twi->twsto)) {
    avr_regbit_set(avr, twi->twsto);
    avr_cycle_timer_register(avr, period, on_stop_done, twi);
    return;
  }
  for (avr_cycle_timer_slot_p slot = avr->cycle_timers.timer; slot != NULL; slot = slot->next) {
    if (slot->param != twi) continue;
    const avr_cycle_timer_t complete = slot->timer;
    avr_cycle_timer_cancel(avr, complete, twi);
    avr_cycle_timer_register(avr, start ? period : 9 * period, complete, twi);
    return;
  }
}

int twi_timing_attach(avr_t *avr) {
  for (avr_io_t *io = avr->io_port; io != NULL; io = io->next) {
    if (io->kind != NULL && strcmp(io->kind, "twi") == 0) {
      avr_twi_t *twi = (avr_twi_t *)io;  /* the unit's state starts with its avr_io_t */
      avr_register_io_write(avr, twi->r_twcr, on_control_write, twi);
      return 0;
    }
  }
  return -1;
}
