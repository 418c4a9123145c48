// A device's screen as its firmware fills it: texts in UTF-8, each from its own top-left pixel, laid out and drawn
// by romfont's text layer, lit pixels on a dark panel (written with kScreenPalette), clipped at the screen's edges.
#pragma once

#include <string>
#include <vector>

#include "text_picture.h"

struct ScreenLine {
  int x;
  int y;
  std::string text;
};

// Draws the texts on a screen of width x height pixels; each breaks into lines 16 pixels apart at '\n' and, with
// wrap, at the screen's right edge (romfont_next_line with a width of the pixels from its x to that edge). Notes
// name each text ("line N: "); a ROM failure on any leaves romError set and the picture unusable.
TextPicture drawScreen(const romfont& font, int width, int height, const std::vector<ScreenLine>& lines, bool wrap);
