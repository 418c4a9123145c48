/* uart_lines: what the firmware sends on UART0 (Arduino's Serial), passed on to a stream as plain text, a line
   at a time, in place of simavr's own coloured echo. */
#ifndef MASKBURN_BOARD_UART_LINES_H
#define MASKBURN_BOARD_UART_LINES_H

#include <stdio.h>

#include "sim_avr.h"

typedef struct uart_lines {
  FILE *out;
  int mid_line;  /* bytes of an unfinished line have been written */
} uart_lines;

/* Takes over UART0's output: simavr's echo is switched off and every byte goes to out, carriage returns dropped,
   the stream flushed at each line end. */
void uart_lines_attach(uart_lines *lines, avr_t *avr, FILE *out);

/* Ends an unfinished last line. */
void uart_lines_finish(uart_lines *lines);

#endif
