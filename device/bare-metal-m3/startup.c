/* startup.c: what runs before main on the Cortex-M3 with newlib's semihosting library (rdimon): the vector
   table, the reset handler that sets up memory and the C library, and the empty _init/_fini that newlib
   refers to when the program is linked with -nostartfiles (no crt0). */
#include <stdint.h>
#include <stdlib.h>

/* From the linker script (mps2-an385.ld). */
extern uint32_t __stack_top;
extern uint32_t __data_start, __data_end, __data_load;
extern uint32_t __bss_start, __bss_end;

/* newlib's rdimon: opens stdin, stdout and stderr on the debugger's (here qemu's) console. */
extern void initialise_monitor_handles(void);
extern int main(void);

void _init(void);
void _fini(void);
void Reset_Handler(void);

/* Called by newlib around constructors and destructors; this program has none to run. */
void _init(void) {}
void _fini(void) {}

/* Runs at power-on: copies .data from flash to RAM, clears .bss, opens the console, runs main. */
void Reset_Handler(void) {
  const uint32_t *from = &__data_load;
  uint32_t *to;
  for (to = &__data_start; to < &__data_end; ++to) *to = *from++;
  for (to = &__bss_start; to < &__bss_end; ++to) *to = 0u;
  initialise_monitor_handles();
  exit(main());
}

/* Any fault or unexpected interrupt ends the run with status 2 rather than hanging the emulator. */
static void fault_handler(void) {
  _Exit(2);
}

/* The Cortex-M3 system vectors: initial stack pointer, then reset, NMI, the fault handlers, SVCall,
   debug monitor, PendSV and SysTick. The board's own interrupts are never enabled, so they are left out. */
typedef void (*vector)(void);
__attribute__((section(".vectors"), used)) static const vector vector_table[16] = {
    (vector)(uintptr_t)&__stack_top, /* 0: initial SP (the top of RAM) */
    Reset_Handler,                   /* 1: reset */
    fault_handler,                   /* 2: NMI */
    fault_handler,                   /* 3: HardFault */
    fault_handler,                   /* 4: MemManage */
    fault_handler,                   /* 5: BusFault */
    fault_handler,                   /* 6: UsageFault */
    0, 0, 0, 0,                      /* 7-10: reserved */
    fault_handler,                   /* 11: SVCall */
    fault_handler,                   /* 12: debug monitor */
    0,                               /* 13: reserved */
    fault_handler,                   /* 14: PendSV */
    fault_handler,                   /* 15: SysTick */
};
