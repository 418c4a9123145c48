/* screen_png: PNG writing and comparing of the OLED's picture through libpng's simplified API; see screen_png.h. */
#include "screen_png.h"

#include <errno.h>
#include <png.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

static const png_byte kColormap[2][3] = {{0, 0, 0}, {255, 255, 255}};

static int lit_at(const screen *shown, int x, int y) {
  return shown->lit[(size_t)y * (size_t)shown->width + (size_t)x] != 0;
}

int screen_png_write(const screen *shown, int scale, const char *path, char *problem, size_t problem_size) {
  struct stat existing;
  if (lstat(path, &existing) == 0 && !S_ISREG(existing.st_mode)) {
    snprintf(problem, problem_size, "cannot write %s: it exists and is not a regular file; nothing written", path);
    return -1;
  }
  const size_t width = (size_t)(shown->width * scale), height = (size_t)(shown->height * scale);
  png_byte *pixels = malloc(width * height);
  const size_t template_size = strlen(path) + 8;
  char *temporary = malloc(template_size);
  if (pixels == NULL || temporary == NULL) {
    snprintf(problem, problem_size, "cannot write %s: out of memory", path);
    free(pixels);
    free(temporary);
    return -1;
  }
  for (size_t y = 0; y < height; ++y) {
    for (size_t x = 0; x < width; ++x) {
      pixels[y * width + x] = (png_byte)lit_at(shown, (int)x / scale, (int)y / scale);
    }
  }
  snprintf(temporary, template_size, "%s.XXXXXX", path);
  const int descriptor = mkstemp(temporary);
  FILE *file = descriptor < 0 ? NULL : fdopen(descriptor, "wb");
  int failed = file == NULL;
  const char *reason = failed ? strerror(errno) : NULL;
  png_image image;
  memset(&image, 0, sizeof image);
  if (!failed) {
    image.version = PNG_IMAGE_VERSION;
    image.width = (png_uint_32)width;
    image.height = (png_uint_32)height;
    image.format = PNG_FORMAT_RGB_COLORMAP;
    image.colormap_entries = 2;
    failed = !png_image_write_to_stdio(&image, file, 0, pixels, (png_int_32)width, kColormap);
    if (failed) reason = image.message;
    const mode_t mask = umask(0);
    umask(mask);
    if (!failed && (fchmod(descriptor, 0666 & ~mask) != 0 || fflush(file) != 0)) {
      failed = 1;
      reason = strerror(errno);
    }
    if (fclose(file) != 0 && !failed) {
      failed = 1;
      reason = strerror(errno);
    }
    if (!failed && rename(temporary, path) != 0) {
      failed = 1;
      reason = strerror(errno);
    }
    if (failed) unlink(temporary);
  }
  if (failed) snprintf(problem, problem_size, "cannot write %s: %s; nothing written", path, reason);
  free(pixels);
  free(temporary);
  return failed ? -1 : 0;
}

int screen_png_compare(const screen *shown, int scale, const char *path, char *report, size_t report_size) {
  png_image image;
  memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, path)) {
    snprintf(report, report_size, "cannot read the expected picture %s: %s", path, image.message);
    return -1;
  }
  const png_uint_32 width = (png_uint_32)(shown->width * scale), height = (png_uint_32)(shown->height * scale);
  if (image.width != width || image.height != height) {
    snprintf(report, report_size, "the expected picture %s is %u x %u pixels, the board's at scale %d is %u x %u",
             path, (unsigned)image.width, (unsigned)image.height, scale, (unsigned)width, (unsigned)height);
    png_image_free(&image);
    return 1;
  }
  image.format = PNG_FORMAT_RGB;
  png_byte *pixels = malloc(PNG_IMAGE_SIZE(image));
  if (pixels == NULL || !png_image_finish_read(&image, NULL, pixels, 0, NULL)) {
    snprintf(report, report_size, "cannot read the expected picture %s: %s", path,
             pixels == NULL ? "out of memory" : image.message);
    png_image_free(&image);
    free(pixels);
    return -1;
  }
  long differing = 0;
  int first_x = 0, first_y = 0;
  for (int y = 0; y < shown->height; ++y) {
    for (int x = 0; x < shown->width; ++x) {
      const png_byte value = lit_at(shown, x, y) ? 255 : 0;
      int differs = 0;
      for (int row = y * scale; row < (y + 1) * scale && !differs; ++row) {
        const png_byte *at = pixels + ((size_t)row * width + (size_t)(x * scale)) * 3;
        for (size_t byte = 0; byte < (size_t)scale * 3; ++byte) differs |= at[byte] != value;
      }
      if (differs && differing++ == 0) {
        first_x = x;
        first_y = y;
      }
    }
  }
  free(pixels);
  if (differing == 0) return 0;
  snprintf(report, report_size,
           "the screen differs from %s: first at OLED pixel (%d, %d), which the board shows %s; %ld pixels differ",
           path, first_x, first_y, lit_at(shown, first_x, first_y) ? "lit" : "dark", differing);
  return 1;
}
