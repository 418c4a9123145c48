// Screen pictures: lines of text placed where the firmware draws them.
#include "screen_picture.h"

TextPicture drawScreen(const romfont& font, int width, int height, const std::vector<ScreenLine>& lines) {
  TextPicture picture;
  picture.canvas = Canvas(width, height, Color::Paper);
  const MissingMark mark = findMissingMark(font);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    std::vector<PlacedChar> placed;
    std::vector<std::string> notes;
    const std::string prefix = "line " + std::to_string(i + 1) + ": ";
    if (const std::string failure = placeText(font, lines[i].text, placed, notes); !failure.empty()) {
      picture.romError = prefix + failure;
      return picture;
    }
    for (const std::string& note : notes) picture.notes.push_back(prefix + note);
    drawPlaced(picture.canvas, lines[i].x, lines[i].y, placed, mark, Color::Ink);
  }
  return picture;
}
