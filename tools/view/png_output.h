// Writing a canvas as a PNG file (2-bit indexed colour) with libpng.
#pragma once

#include <string>

#include "canvas.h"

// Writes the canvas, each pixel enlarged to scale x scale, to path. A regular file (or a new one) is
// written to a temporary file beside it and renamed over it only when complete, so a failure leaves any
// old file as it was; anything else that exists (a device, a pipe) is written directly. Returns "" on
// success, otherwise what went wrong.
std::string writePng(const std::string& path, const Canvas& canvas, int scale);

// The largest picture side writePng accepts, in pixels after scaling (libpng's default limit).
inline constexpr int kMaxPngSide = 1000000;
