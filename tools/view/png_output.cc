// PNG writing: libpng encodes into memory (its errors through a callback and setjmp/longjmp, kept in a function
// whose locals are all trivially destructible, so a longjmp out of libpng skips no C++ destructor), then the
// file is replaced whole, as every output of the project is.
#include "png_output.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "files/replace_file.h"

namespace {

struct PngFailure {
  char message[256];
};

extern "C" {
[[noreturn]] static void onPngError(png_structp png, png_const_charp message) {
  auto* failure = static_cast<PngFailure*>(png_get_error_ptr(png));
  std::snprintf(failure->message, sizeof failure->message, "%s", message);
  png_longjmp(png, 1);
}

static void onPngWarning(png_structp, png_const_charp) {}

static void appendPngBytes(png_structp png, png_bytep bytes, png_size_t size) {
  static_cast<std::string*>(png_get_io_ptr(png))->append(reinterpret_cast<const char*>(bytes), size);
}

static void flushPngBytes(png_structp) {}
}

// One canvas row enlarged horizontally and packed four 2-bit pixels to a byte, leftmost in the high bits.
void packRow(const Canvas& canvas, int y, int scale, png_bytep row) {
  const int width = canvas.width() * scale;
  std::memset(row, 0, static_cast<std::size_t>(width + 3) / 4);
  for (int x = 0; x < width; ++x) {
    const auto color = static_cast<unsigned>(canvas.at(x / scale, y));
    row[x / 4] = static_cast<png_byte>(row[x / 4] | color << (6 - 2 * (x % 4)));
  }
}

// The libpng calls, appending the PNG file's bytes to out. Returns false with failure->message set when libpng
// reports an error.
bool encode(std::string* out, const Canvas& canvas, int scale, const Palette& colors, png_bytep row,
            PngFailure* failure) {
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, failure, onPngError, onPngWarning);
  if (png == nullptr) {
    std::snprintf(failure->message, sizeof failure->message, "libpng could not start (out of memory)");
    return false;
  }
  png_infop info = png_create_info_struct(png);
  if (info == nullptr) {
    png_destroy_write_struct(&png, nullptr);
    std::snprintf(failure->message, sizeof failure->message, "libpng could not start (out of memory)");
    return false;
  }
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return false;
  }
  png_set_write_fn(png, out, appendPngBytes, flushPngBytes);
  png_set_IHDR(png, info, static_cast<png_uint_32>(canvas.width() * scale),
               static_cast<png_uint_32>(canvas.height() * scale), 2, PNG_COLOR_TYPE_PALETTE, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_color palette[4];
  for (int entry = 0; entry < 4; ++entry) {
    palette[entry] = {colors[entry].red, colors[entry].green, colors[entry].blue};
  }
  png_set_PLTE(png, info, palette, 4);
  png_write_info(png, info);
  for (int y = 0; y < canvas.height(); ++y) {
    packRow(canvas, y, scale, row);
    for (int repeat = 0; repeat < scale; ++repeat) png_write_row(png, row);
  }
  png_write_end(png, info);
  png_destroy_write_struct(&png, &info);
  return true;
}

}  // namespace

std::string writePng(const std::string& path, const Canvas& canvas, int scale, const Palette& palette) {
  if (scale < 1 || canvas.width() < 1 || canvas.height() < 1 || canvas.width() > kMaxPngSide / scale ||
      canvas.height() > kMaxPngSide / scale) {
    return "cannot write " + path + ": a picture of " + std::to_string(canvas.width()) + " x " +
           std::to_string(canvas.height()) + " pixels at scale " + std::to_string(scale) + " is not possible in PNG";
  }
  std::vector<png_byte> row(static_cast<std::size_t>(canvas.width() * scale + 3) / 4);
  PngFailure failure{};
  std::string bytes;
  if (!encode(&bytes, canvas, scale, palette, row.data(), &failure)) {
    return "cannot write " + path + ": " + failure.message;
  }
  if (const std::string problem = replaceFileWhole(path, bytes); !problem.empty()) {
    return "cannot write " + path + ": " + problem + "; nothing written";
  }
  return "";
}
