// Writing a canvas as a PNG file (2-bit indexed colour) with libpng.
#pragma once

#include <string>

#include "canvas.h"

// Writes the canvas in the given colours, each pixel enlarged to scale x scale, to path, replacing it whole
// (files/replace_file.h: a failure leaves any old file as it was, and a device, FIFO or link in path's place is
// left alone). Returns "" on success, otherwise what went wrong.
std::string writePng(const std::string& path, const Canvas& canvas, int scale,
                     const Palette& palette = kPalette);

// The largest picture side writePng accepts, in pixels after scaling (libpng's default limit).
inline constexpr int kMaxPngSide = 1000000;
