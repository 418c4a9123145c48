/* spi_timing: the SPI byte time of the real chip; see spi_timing.h. */
#include "spi_timing.h"

#include <string.h>

#include "avr_spi.h"
#include "sim_cycle_timers.h"
#include "sim_io.h"
#include "sim_regbit.h"

/* Clock dividers for SPR1:SPR0 = 0 to 3; SPI2X halves them. */
static const avr_cycle_count_t kDividers[4] = {4, 16, 64, 128};

/* Runs after the SPI unit's own handler of the same write, which has just scheduled the byte's completion with
   its own delay: the completion is found among the cycle timers by its parameter, the SPI unit, and scheduled
   again 8 SPI clock periods from now. */
static void on_data_write(avr_t *avr, avr_io_addr_t address, uint8_t value, void *param) {
  (void)address;
  (void)value;
  avr_spi_t *spi = param;
  for (avr_cycle_timer_slot_p slot = avr->cycle_timers.timer; slot != NULL; slot = slot->next) {
    if (slot->param != spi) continue;
    const avr_cycle_timer_t complete = slot->timer;
    const unsigned select = (unsigned)(avr_regbit_get(avr, spi->spr[1]) << 1 | avr_regbit_get(avr, spi->spr[0]));
    const avr_cycle_count_t divider = kDividers[select] >> avr_regbit_get(avr, spi->spr[2]);
    avr_cycle_timer_cancel(avr, complete, spi);
    avr_cycle_timer_register(avr, 8 * divider, complete, spi);
    return;
  }
}

int spi_timing_attach(avr_t *avr) {
  for (avr_io_t *io = avr->io_port; io != NULL; io = io->next) {
    if (io->kind != NULL && strcmp(io->kind, "spi") == 0) {
      avr_spi_t *spi = (avr_spi_t *)io;  /* the unit's state starts with its avr_io_t */
      avr_register_io_write(avr, spi->r_spdr, on_data_write, spi);
      return 0;
    }
  }
  return -1;
}
