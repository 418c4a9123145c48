// Palette-indexed pictures and glyph drawing for the viewer.
#include "canvas.h"

#include <algorithm>

Canvas::Canvas(int width, int height, Color fill)
    : width_(std::max(width, 0)),
      height_(std::max(height, 0)),
      pixels_(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_), fill) {}

void Canvas::set(int x, int y, Color color) {
  if (x >= 0 && y >= 0 && x < width_ && y < height_) pixels_[index(x, y)] = color;
}

void Canvas::fill(int x, int y, int width, int height, Color color) {
  for (int row = y; row < y + height; ++row) {
    for (int column = x; column < x + width; ++column) set(column, row, color);
  }
}

bool glyphBit(const std::uint8_t* bytes, int width, int column, int row) {
  const int bytesPerRow = width / 8;
  const std::uint8_t byte = bytes[row * bytesPerRow + column / 8];
  return (byte >> (7 - column % 8) & 1) != 0;
}

void drawGlyph(Canvas& canvas, int x, int y, int width, const std::uint8_t* bytes, Color ink) {
  for (int row = 0; row < 16; ++row) {
    for (int column = 0; column < width; ++column) {
      if (glyphBit(bytes, width, column, row)) canvas.set(x + column, y + row, ink);
    }
  }
}

void drawBox(Canvas& canvas, int x, int y, int width, int height, Color color) {
  canvas.fill(x, y, width, 1, color);
  canvas.fill(x, y + height - 1, width, 1, color);
  canvas.fill(x, y, 1, height, color);
  canvas.fill(x + width - 1, y, 1, height, color);
}
