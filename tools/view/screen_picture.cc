// Screen pictures: texts placed where the firmware draws them, and wrapped where it wraps them.
#include "screen_picture.h"

#include <algorithm>

#include "romfont_text.h"

TextPicture drawScreen(const romfont& font, int width, int height, const std::vector<ScreenLine>& lines, bool wrap) {
  TextPicture picture;
  picture.canvas = Canvas(width, height, Color::Paper);
  std::vector<PlacedText> texts;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    std::vector<std::string> notes;
    const std::string prefix = "line " + std::to_string(i + 1) + ": ";
    if (const std::string failure = noteMissing(font, lines[i].text, notes); !failure.empty()) {
      picture.romError = prefix + failure;
      return picture;
    }
    for (const std::string& note : notes) picture.notes.push_back(prefix + note);
    const int toEdge = std::clamp(width - lines[i].x, 0, static_cast<int>(ROMFONT_NO_WRAP));
    texts.push_back({lines[i].x, lines[i].y, lines[i].text,
                     wrap ? static_cast<std::uint16_t>(toEdge) : static_cast<std::uint16_t>(ROMFONT_NO_WRAP)});
  }
  drawLaidOut(picture.canvas, font, texts);
  return picture;
}
