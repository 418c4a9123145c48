/* screen_png: the board's OLED as a PNG picture (lit pixels white, unlit black, each enlarged to scale x scale),
   written whole or compared pixel by pixel with an expected picture. */
#ifndef MASKBURN_BOARD_SCREEN_PNG_H
#define MASKBURN_BOARD_SCREEN_PNG_H

#include <stddef.h>
#include <stdint.h>

/* A screen of width x height pixels, one byte each in rows from the top, nonzero = lit. */
typedef struct screen {
  int width;
  int height;
  const uint8_t *lit;
} screen;

/* Writes the picture to path through a temporary file renamed over it, so an earlier picture is replaced whole or
   left as it was; a path that exists and is not a regular file is refused. Returns 0, or -1 with problem filled. */
int screen_png_write(const screen *shown, int scale, const char *path, char *problem, size_t problem_size);

/* Compares the picture at scale with the PNG at path. Returns 0 when they are equal; 1 when they differ, with
   report telling the size mismatch or the first differing OLED pixel and how many differ; -1 when the file
   cannot be read as PNG, with report saying why. */
int screen_png_compare(const screen *shown, int scale, const char *path, char *report, size_t report_size);

#endif
