// Text pictures drawn by romfont's text layer: romfont_next_line lays the lines out, romfont_text_glyph chooses
// each glyph and romfont_draw_text draws them into row-major display memory, as firmware does into its own.
#include "text_picture.h"

#include <algorithm>

#include "romfont_text.h"
#include "text_walk.h"

namespace {

// A text in RAM for the layer; romfont lengths are 32-bit and the largest means "up to a NUL", so a longer text
// is taken up to just below that.
romfont_text asText(std::string_view utf8) {
  const std::size_t length = std::min<std::size_t>(utf8.size(), ROMFONT_NUL_TERMINATED - 1);
  return {utf8.data(), static_cast<std::uint32_t>(length), ROMFONT_IN_RAM};
}

}  // namespace

TextSize measureText(std::string_view utf8, std::uint16_t maxWidth) {
  const romfont_text text = asText(utf8);
  TextSize size;
  romfont_line line;
  for (std::uint32_t at = 0; romfont_next_line(&text, at, maxWidth, &line) == ROMFONT_OK; at = line.next) {
    size.widest = std::max<std::uint32_t>(size.widest, line.width);
    ++size.lines;
  }
  return size;
}

std::string noteMissing(const romfont& font, std::string_view utf8, std::vector<std::string>& notes) {
  const romfont_text text = asText(utf8);
  std::uint32_t codePoint;
  for (std::uint32_t at = 0, length; (length = romfont_text_char(&text, at, &codePoint)) != 0; at += length) {
    if (romfont_char_width(codePoint) == 0) continue;  // a control character: never drawn
    romfont_char ch;
    const romfont_result result = romfont_text_glyph(&font, codePoint, nullptr, &ch);
    ch.code_point = codePoint == ROMFONT_MALFORMED ? ROMFONT_REPLACEMENT_CHARACTER : codePoint;
    ch.offset = at;
    ch.length = static_cast<std::uint8_t>(length);
    if (isRomFailure(result)) return describeRomFailure(ch, result);
    if (result != ROMFONT_OK) notes.push_back(describeMissing(ch, result));
  }
  return "";
}

void drawLaidOut(Canvas& canvas, const romfont& font, const std::vector<PlacedText>& texts) {
  const auto width = static_cast<std::uint16_t>(canvas.width());
  const auto height = static_cast<std::uint16_t>(canvas.height());
  const auto stride = static_cast<std::uint16_t>((width + 7) / 8);
  std::vector<std::uint8_t> memory(std::size_t{stride} * height, 0);
  const romfont_buffer buffer{memory.data(), width, height, stride, ROMFONT_BUFFER_ROWS};
  const romfont_pen pen{&font, nullptr, &buffer, nullptr, nullptr};
  for (const PlacedText& placed : texts) {
    const romfont_text text = asText(placed.utf8);
    romfont_draw_text(&pen, placed.x, placed.y, &text, placed.maxWidth, kLineHeight);
  }
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const std::uint8_t byte =
          memory[std::size_t{stride} * static_cast<std::size_t>(y) + static_cast<std::size_t>(x / 8)];
      if ((byte >> (7 - x % 8) & 1) != 0) canvas.set(x, y, Color::Ink);
    }
  }
}

TextPicture drawText(const romfont& font, std::string_view utf8, std::uint16_t maxWidth, int minWidth) {
  TextPicture picture;
  picture.romError = noteMissing(font, utf8, picture.notes);
  if (!picture.romError.empty()) return picture;
  const TextSize size = measureText(utf8, maxWidth);
  picture.canvas = Canvas(std::max(static_cast<int>(size.widest), minWidth), static_cast<int>(size.lines) * kLineHeight,
                          Color::Paper);
  drawLaidOut(picture.canvas, font, {{0, 0, utf8, maxWidth}});
  return picture;
}
