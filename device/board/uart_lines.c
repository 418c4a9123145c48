/* uart_lines: the firmware's serial output as plain lines; see uart_lines.h. */
#include "uart_lines.h"

#include <stdint.h>

#include "avr_uart.h"
#include "sim_io.h"

static void on_uart_byte(struct avr_irq_t *irq, uint32_t value, void *param) {
  (void)irq;
  uart_lines *lines = param;
  const int byte = (int)(value & 0xFF);
  if (byte == '\r') return;
  putc(byte, lines->out);
  lines->mid_line = byte != '\n';
  if (byte == '\n') fflush(lines->out);
}

void uart_lines_attach(uart_lines *lines, avr_t *avr, FILE *out) {
  lines->out = out;
  lines->mid_line = 0;
  uint32_t flags = 0;
  avr_ioctl(avr, AVR_IOCTL_UART_GET_FLAGS('0'), &flags);
  flags &= ~(uint32_t)AVR_UART_FLAG_STDIO;
  avr_ioctl(avr, AVR_IOCTL_UART_SET_FLAGS('0'), &flags);
  avr_irq_register_notify(avr_io_getirq(avr, AVR_IOCTL_UART_GETIRQ('0'), UART_IRQ_OUTPUT), on_uart_byte, lines);
}

void uart_lines_finish(uart_lines *lines) {
  if (lines->mid_line) putc('\n', lines->out);
  lines->mid_line = 0;
  fflush(lines->out);
}
