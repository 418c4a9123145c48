/* maskburn-board: an emulated Arduino Uno board for the chip-to-screen demo. An ATmega328P at 16 MHz (simavr) runs
   a firmware ELF with a W25Q128FV SPI NOR flash on D10-D13 (its contents from a chip file, read only), a
   128x64 SSD1306 OLED on I2C address 0x3C (simavr's part) and, given a file for it, a 2-Mbit 24xx EEPROM on the
   same I2C bus at 0x50-0x53 (read only); what the firmware prints on Serial comes out on
   standard output, and once it sleeps with interrupts off the OLED's picture is written or checked as PNG.
   The program links simavr (GPL-3.0-or-later), so the executable as built is under the GPL; it is built from
   source for the project's own checks and never installed or packaged. */
#include <errno.h>
#include <inttypes.h>
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "sim_avr.h"
#include "sim_elf.h"
#include "ssd1306_virt.h"

#include "i2c_eeprom.h"
#include "oled_bus.h"
#include "screen_png.h"
#include "spi_flash.h"
#include "spi_timing.h"
#include "twi_timing.h"
#include "uart_lines.h"

enum { kExitSuccess = 0, kExitFailure = 1, kExitUsage = 2 };
enum { kOledWidth = 128, kOledHeight = 64 };

static const char kUsage[] =
    "usage: maskburn-board [--flash CHIP.bin] [--eeprom EEPROM.bin] [--png OUT.png] [--scale N]\n"
    "                      [--expect EXPECTED.png] [--max-cycles N] FIRMWARE.elf\n"
    "Runs FIRMWARE.elf on an emulated Arduino Uno (ATmega328P, 16 MHz) with a W25Q128FV SPI flash (chip select\n"
    "D10) holding CHIP.bin (read only; past its end the chip reads 0xFF) and a 128x64 SSD1306 OLED on I2C 0x3C,\n"
    "until the firmware sleeps with interrupts off. What it prints on Serial goes to standard output; the cycle\n"
    "count goes to standard error. Give --flash, --eeprom or both.\n"
    "  --eeprom EEPROM.bin  a 2-Mbit I2C EEPROM (24xx, e.g. AT24CM02; 0x50-0x53 with address bits 17:16 in the\n"
    "                       device address) holding EEPROM.bin (at most 262144 bytes, read only; 0xFF past it)\n"
    "  --png OUT.png        write the OLED's picture: lit pixels white, unlit black\n"
    "  --scale N            each OLED pixel as N x N picture pixels (1-16, default 4)\n"
    "  --expect FILE.png    compare the picture, at the same scale, with FILE.png; a difference fails the run\n"
    "  --max-cycles N       give up after N cycles (default 1000000000, 62.5 s of the board's time)\n"
    "Exit status: 0 the firmware ended and the picture is as expected, 1 it did not (or a file failed), 2 bad\n"
    "arguments.\n";

typedef struct options {
  const char *flash_path;
  const char *eeprom_path;
  const char *png_path;
  const char *expect_path;
  const char *firmware_path;
  int scale;
  uint64_t max_cycles;
  int help;
} options;

/* A whole decimal number in [low, high], or 0 when text is not one. */
static int parse_number(const char *text, uint64_t low, uint64_t high, uint64_t *value) {
  if (*text == '\0' || strlen(text) > 15) return 0;
  uint64_t number = 0;
  for (const char *digit = text; *digit != '\0'; ++digit) {
    if (*digit < '0' || *digit > '9') return 0;
    number = number * 10 + (uint64_t)(*digit - '0');
  }
  if (number < low || number > high) return 0;
  *value = number;
  return 1;
}

/* Fills parsed from the arguments; returns NULL or what is wrong with them (in problem). */
static const char *parse_arguments(int argc, char **argv, options *parsed, char *problem, size_t problem_size) {
  memset(parsed, 0, sizeof *parsed);
  parsed->scale = 4;
  parsed->max_cycles = 1000000000;
  for (int i = 1; i < argc; ++i) {
    const char *name = argv[i];
    if (strcmp(name, "--help") == 0 || strcmp(name, "-h") == 0) {
      parsed->help = 1;
      continue;
    }
    if (name[0] != '-' || strcmp(name, "-") == 0) {
      if (parsed->firmware_path != NULL) return "give one firmware ELF";
      parsed->firmware_path = name;
      continue;
    }
    const char **path = strcmp(name, "--flash") == 0    ? &parsed->flash_path
                        : strcmp(name, "--eeprom") == 0 ? &parsed->eeprom_path
                        : strcmp(name, "--png") == 0    ? &parsed->png_path
                        : strcmp(name, "--expect") == 0 ? &parsed->expect_path
                                                        : NULL;
    const int numeric = strcmp(name, "--scale") == 0 || strcmp(name, "--max-cycles") == 0;
    if (path == NULL && !numeric) {
      snprintf(problem, problem_size, "unknown argument '%s'", name);
      return problem;
    }
    if (i + 1 == argc) {
      snprintf(problem, problem_size, "%s needs a value", name);
      return problem;
    }
    const char *value = argv[++i];
    uint64_t number = 0;
    if (path != NULL) {
      if (*value == '\0') {
        snprintf(problem, problem_size, "%s: the file name is empty", name);
        return problem;
      }
      *path = value;
    } else if (strcmp(name, "--scale") == 0) {
      if (!parse_number(value, 1, 16, &number)) {
        snprintf(problem, problem_size, "--scale takes a whole number from 1 to 16, not '%s'", value);
        return problem;
      }
      parsed->scale = (int)number;
    } else {
      if (!parse_number(value, 1, UINT64_C(1000000000000), &number)) {
        snprintf(problem, problem_size, "--max-cycles takes a whole number from 1 to 1000000000000, not '%s'", value);
        return problem;
      }
      parsed->max_cycles = number;
    }
  }
  if (parsed->help) return NULL;
  if (parsed->firmware_path == NULL) return "no firmware ELF given";
  if (parsed->flash_path == NULL && parsed->eeprom_path == NULL) {
    return "no memory given (--flash CHIP.bin, --eeprom EEPROM.bin, or both)";
  }
  return NULL;
}

/* simavr's own messages: its errors only, on standard error, so standard output carries the firmware's lines. The
   format is simavr's own. */
__attribute__((format(printf, 3, 0))) static void quiet_logger(avr_t *avr, const int level, const char *format,
                                                                va_list arguments) {
  (void)avr;
  if (level != LOG_ERROR) return;
  fputs("simavr: ", stderr);
  vfprintf(stderr, format, arguments);
}

/* The OLED as the panel shows it: nothing lit before the display is switched on, every pixel the other way round
   when it is inverted; otherwise its memory as is (bit 0 of each page byte the top row). */
static void read_screen(ssd1306_t *oled, uint8_t lit[kOledHeight][kOledWidth]) {
  const int on = ssd1306_get_flag(oled, SSD1306_FLAG_DISPLAY_ON);
  const int inverted = ssd1306_get_flag(oled, SSD1306_FLAG_DISPLAY_INVERTED);
  for (int y = 0; y < kOledHeight; ++y) {
    for (int x = 0; x < kOledWidth; ++x) {
      const int bit = oled->vram[y / 8][x] >> (y % 8) & 1;
      lit[y][x] = (uint8_t)(on && (bit ^ inverted));
    }
  }
}

/* Whether path is an ELF file for the AVR (simavr's reader takes other files without a word and runs nothing). */
static int is_avr_elf(const char *path, char *problem, size_t problem_size) {
  FILE *file = fopen(path, "rb");
  if (file == NULL) {
    snprintf(problem, problem_size, "cannot open the firmware %s: %s", path, strerror(errno));
    return 0;
  }
  unsigned char header[20];
  const size_t got = fread(header, 1, sizeof header, file);
  fclose(file);
  /* e_machine, at byte 18, is 83 (EM_AVR); AVR ELF files are little-endian. */
  if (got != sizeof header || memcmp(header, "\177ELF", 4) != 0 || header[18] != 83 || header[19] != 0) {
    snprintf(problem, problem_size, "the firmware %s is not an ELF file for the AVR", path);
    return 0;
  }
  return 1;
}

/* Runs the board; returns the exit status. */
static int run_board(const options *given) {
  char problem[512];
  static spi_flash flash;
  static i2c_eeprom eeprom;
  if ((given->eeprom_path != NULL && i2c_eeprom_load(&eeprom, given->eeprom_path, problem, sizeof problem) != 0) ||
      (given->flash_path != NULL && spi_flash_load(&flash, given->flash_path, problem, sizeof problem) != 0)) {
    fprintf(stderr, "maskburn-board: %s\n", problem);
    return kExitFailure;
  }
  if (!is_avr_elf(given->firmware_path, problem, sizeof problem)) {
    fprintf(stderr, "maskburn-board: %s\n", problem);
    spi_flash_free(&flash);
    return kExitFailure;
  }
  static elf_firmware_t firmware;
  if (elf_read_firmware(given->firmware_path, &firmware) != 0 || firmware.flashsize == 0) {
    fprintf(stderr, "maskburn-board: the firmware %s holds no program for the AVR's flash\n", given->firmware_path);
    spi_flash_free(&flash);
    return kExitFailure;
  }
  avr_t *avr = avr_make_mcu_by_name("atmega328p");
  if (avr == NULL || avr_init(avr) != 0) {
    fprintf(stderr, "maskburn-board: simavr has no ATmega328P\n");
    spi_flash_free(&flash);
    return kExitFailure;
  }
  avr->log = LOG_ERROR;
  avr_load_firmware(avr, &firmware);
  avr->frequency = 16000000;

  uart_lines serial;
  uart_lines_attach(&serial, avr, stdout);
  if (given->flash_path != NULL) spi_flash_attach(&flash, avr);
  if (spi_timing_attach(avr) != 0) {
    fprintf(stderr, "maskburn-board: no SPI unit found; SPI bytes keep simavr's timing\n");
  }
  if (twi_timing_attach(avr) != 0) {
    fprintf(stderr, "maskburn-board: no TWI unit found; I2C transfers keep simavr's timing\n");
  }
  static ssd1306_t oled;
  static oled_bus bus;
  oled_bus_attach(&bus, &oled, avr, kOledWidth, kOledHeight);
  if (given->eeprom_path != NULL) i2c_eeprom_attach(&eeprom, avr);

  int state = cpu_Running;
  while (state != cpu_Done && state != cpu_Crashed && avr->cycle < given->max_cycles) state = avr_run(avr);
  uart_lines_finish(&serial);
  fprintf(stderr, "cycles: %" PRIu64 "\n", (uint64_t)avr->cycle);

  int status = kExitSuccess;
  if (state == cpu_Crashed) {
    fprintf(stderr, "maskburn-board: the firmware crashed at address 0x%04" PRIx32 "\n", (uint32_t)avr->pc);
    status = kExitFailure;
  } else if (state != cpu_Done) {
    fprintf(stderr, "maskburn-board: the firmware was still running after %" PRIu64 " cycles (--max-cycles)\n",
            given->max_cycles);
    status = kExitFailure;
  }
  static uint8_t lit[kOledHeight][kOledWidth];
  read_screen(&oled, lit);
  const screen shown = {kOledWidth, kOledHeight, &lit[0][0]};
  if (given->png_path != NULL &&
      screen_png_write(&shown, given->scale, given->png_path, problem, sizeof problem) != 0) {
    fprintf(stderr, "maskburn-board: %s\n", problem);
    status = kExitFailure;
  }
  if (given->expect_path != NULL &&
      screen_png_compare(&shown, given->scale, given->expect_path, problem, sizeof problem) != 0) {
    fprintf(stderr, "maskburn-board: %s\n", problem);
    status = kExitFailure;
  }
  avr_terminate(avr);
  spi_flash_free(&flash);
  return status;
}

int main(int argc, char **argv) {
  avr_global_logger_set(quiet_logger);
  options given;
  char problem[256];
  const char *wrong = parse_arguments(argc, argv, &given, problem, sizeof problem);
  if (wrong != NULL) {
    fprintf(stderr, "maskburn-board: %s\n%s", wrong, kUsage);
    return kExitUsage;
  }
  if (given.help) {
    fputs(kUsage, stdout);
    return kExitSuccess;
  }
  return run_board(&given);
}
