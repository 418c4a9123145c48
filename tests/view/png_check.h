// Test support for the viewer: PNG files decoded back with libpng into palette colours, and runs of the
// maskburn-view executable with its messages captured.
#pragma once

#include <string>
#include <vector>

#include "canvas.h"

struct DecodedPng {
  int width = 0;
  int height = 0;
  std::vector<Color> pixels;  // row by row
  std::string error;          // set when the file could not be decoded, or holds a colour off the palette
  Color at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)]; }
};

DecodedPng decodePng(const std::string& path);

struct ViewRun {
  int exitStatus = -1;  // -1 when it did not exit normally
  std::string output;   // standard output and standard error together
};

// Runs maskburn-view in workDir; fileSizeLimit (bytes, -1 = none) makes large writes fail.
ViewRun runView(const std::vector<std::string>& arguments, const std::string& workDir, long fileSizeLimit = -1);
