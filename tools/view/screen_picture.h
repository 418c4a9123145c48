// A device's screen as its firmware fills it: lines of UTF-8 text, each from its own top-left pixel, lit pixels
// on a dark panel (written with kScreenPalette), clipped at the screen's edges.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "text_picture.h"

struct ScreenLine {
  int x;
  int y;
  std::string text;
};

// Draws the lines on a screen of width x height pixels. Notes name each line ("line N: "); a ROM failure on any
// line leaves romError set and the picture unusable.
TextPicture drawScreen(const romfont& font, int width, int height, const std::vector<ScreenLine>& lines);
