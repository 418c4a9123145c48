// A picture of palette-indexed pixels, and drawing of ROM glyph bitmaps onto it.
#pragma once

#include <cstdint>
#include <vector>

// The four colours a picture is drawn in, in palette order.
enum class Color : std::uint8_t { Background = 0, Paper = 1, Ink = 2, Label = 3 };

struct Rgb {
  std::uint8_t red, green, blue;
};
using Palette = Rgb[4];
// Sheets and texts: black ink on white paper, grey around the glyphs, blue labels.
inline constexpr Palette kPalette = {{0xC8, 0xC8, 0xC8}, {0xFF, 0xFF, 0xFF}, {0x00, 0x00, 0x00}, {0x1F, 0x4E, 0xB4}};
// Screens: the panel as maskburn-board pictures it, lit pixels (ink) white, the rest (paper) black.
inline constexpr Palette kScreenPalette = {
    {0x00, 0x00, 0x00}, {0x00, 0x00, 0x00}, {0xFF, 0xFF, 0xFF}, {0x1F, 0x4E, 0xB4}};

class Canvas {
 public:
  Canvas(int width, int height, Color fill);
  int width() const { return width_; }
  int height() const { return height_; }
  Color at(int x, int y) const { return pixels_[index(x, y)]; }
  // Pixels outside the picture are ignored, so callers may draw partly visible shapes.
  void set(int x, int y, Color color);
  void fill(int x, int y, int width, int height, Color color);

 private:
  std::size_t index(int x, int y) const {
    return static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(x);
  }
  int width_;
  int height_;
  std::vector<Color> pixels_;
};

// Draws a 16-row glyph of the given width (8: one byte per row, 16: two) with its top left at (x, y):
// set bits in ink, clear bits left as they are.
void drawGlyph(Canvas& canvas, int x, int y, int width, const std::uint8_t* bytes, Color ink);

// Whether pixel column `column` of row `row` is set in a glyph of the given width.
bool glyphBit(const std::uint8_t* bytes, int width, int column, int row);

// The outline of a box of the given size.
void drawBox(Canvas& canvas, int x, int y, int width, int height, Color color);
