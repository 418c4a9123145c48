// PNG writing through libpng's error callback and setjmp/longjmp, kept in a function whose locals are all
// trivially destructible, so a longjmp out of libpng skips no C++ destructor.
#include "png_output.h"

#include <png.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <vector>

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

// The libpng calls. Returns false with failure->message set when libpng reports an error.
bool encode(std::FILE* file, const Canvas& canvas, int scale, png_bytep row, PngFailure* failure) {
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
  png_init_io(png, file);
  png_set_IHDR(png, info, static_cast<png_uint_32>(canvas.width() * scale),
               static_cast<png_uint_32>(canvas.height() * scale), 2, PNG_COLOR_TYPE_PALETTE, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_color palette[4];
  for (int entry = 0; entry < 4; ++entry) {
    palette[entry] = {kPalette[entry].red, kPalette[entry].green, kPalette[entry].blue};
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

std::string errnoText(const std::string& what, const std::string& path) {
  return what + " " + path + ": " + std::strerror(errno);
}

}  // namespace

std::string writePng(const std::string& path, const Canvas& canvas, int scale) {
  if (scale < 1 || canvas.width() < 1 || canvas.height() < 1 || canvas.width() > kMaxPngSide / scale ||
      canvas.height() > kMaxPngSide / scale) {
    return "cannot write " + path + ": a picture of " + std::to_string(canvas.width()) + " x " +
           std::to_string(canvas.height()) + " pixels at scale " + std::to_string(scale) + " is not possible in PNG";
  }
  struct stat status {};
  const bool direct = stat(path.c_str(), &status) == 0 && !S_ISREG(status.st_mode);
  std::string target = path;
  std::FILE* file = nullptr;
  if (direct) {
    file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) return errnoText("cannot open", path);
  } else {
    target = path + ".partial-XXXXXX";
    const int descriptor = mkstemp(target.data());
    if (descriptor < 0) return errnoText("cannot create a file beside", path);
    // mkstemp makes the file private; give it the permissions a plain new file would get.
    const mode_t mask = umask(0);
    umask(mask);
    fchmod(descriptor, 0666 & ~mask);
    file = fdopen(descriptor, "wb");
    if (file == nullptr) {
      const std::string message = errnoText("cannot open", target);
      close(descriptor);
      std::remove(target.c_str());
      return message;
    }
  }
  std::vector<png_byte> row(static_cast<std::size_t>(canvas.width() * scale + 3) / 4);
  PngFailure failure{};
  bool written = encode(file, canvas, scale, row.data(), &failure);
  std::string message;
  if (!written) message = "cannot write " + path + ": " + failure.message;
  if (std::fflush(file) != 0 || std::ferror(file)) {
    if (written) message = errnoText("cannot write", path);
    written = false;
  }
  if (std::fclose(file) != 0 && written) {
    message = errnoText("cannot write", path);
    written = false;
  }
  if (direct) return message;
  if (written && std::rename(target.c_str(), path.c_str()) != 0) {
    message = errnoText("cannot rename the new picture to", path);
    written = false;
  }
  if (!written) std::remove(target.c_str());
  return message;
}
