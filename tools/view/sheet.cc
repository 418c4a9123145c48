// Sheet layout and drawing: glyphs gathered through romfont, placed in rows of kSheetColumns cells on
// white paper over a grey background, labels in the label colour.
#include "sheet.h"

#include <algorithm>
#include <array>
#include <cstdio>

namespace {

constexpr int kRowPitch = 16 + kSheetGap;

constexpr std::uint8_t kTinyDigits[16][5] = {
    {7, 5, 5, 5, 7}, {2, 6, 2, 2, 7}, {7, 1, 7, 4, 7}, {7, 1, 3, 1, 7}, {5, 5, 7, 1, 1}, {7, 4, 7, 1, 7},
    {7, 4, 7, 5, 7}, {7, 1, 1, 2, 2}, {7, 5, 7, 5, 7}, {7, 5, 7, 1, 7}, {2, 5, 7, 5, 5}, {6, 5, 6, 5, 6},
    {3, 4, 4, 4, 3}, {6, 5, 5, 5, 6}, {7, 4, 6, 4, 7}, {7, 4, 6, 4, 4},
};

struct Glyph {
  bool fullWidth;
  std::uint16_t code;
  std::array<std::uint8_t, 32> bytes;
};

std::string hex(unsigned value, int digits) {
  char text[8];
  std::snprintf(text, sizeof text, "%0*X", digits, value);
  return text;
}

void noteProblem(std::vector<std::string>& problems, bool fullWidth, unsigned code, romfont_result result) {
  problems.push_back(std::string(fullWidth ? "full-width key U+" : "half-width code 0x") + hex(code, fullWidth ? 4 : 2) +
                     ": " + romfont_result_name(result));
}

// The ROM's own digit glyphs 0-9 A-F, if it has all sixteen.
bool romDigitGlyphs(const romfont& font, std::array<std::array<std::uint8_t, 16>, 16>& digits) {
  for (int value = 0; value < 16; ++value) {
    const auto code = static_cast<std::uint8_t>(value < 10 ? '0' + value : 'A' + value - 10);
    if (romfont_half_glyph(&font, code, digits[static_cast<std::size_t>(value)].data()) != ROMFONT_OK) return false;
  }
  return true;
}

int digitValue(char digit) { return digit <= '9' ? digit - '0' : digit - 'A' + 10; }

}  // namespace

const std::uint8_t* tinyDigit(int value) { return kTinyDigits[value & 15]; }

Sheet drawSheet(const romfont& font, RowRange range) {
  Sheet sheet;
  std::vector<Glyph> glyphs;
  for (unsigned code = 0; code < 256; ++code) {
    Glyph glyph{false, static_cast<std::uint16_t>(code), {}};
    const romfont_result result = romfont_half_glyph(&font, static_cast<std::uint8_t>(code), glyph.bytes.data());
    if (result == ROMFONT_OK) glyphs.push_back(glyph);
    if (result != ROMFONT_OK && result != ROMFONT_NO_GLYPH) noteProblem(sheet.problems, false, code, result);
  }
  const std::size_t halfCount = glyphs.size();
  for (unsigned key = 0; key < 65536; ++key) {
    Glyph glyph{true, static_cast<std::uint16_t>(key), {}};
    const romfont_result result = romfont_full_glyph(&font, static_cast<std::uint16_t>(key), glyph.bytes.data());
    if (result == ROMFONT_OK) glyphs.push_back(glyph);
    if (result != ROMFONT_OK && result != ROMFONT_NO_GLYPH) noteProblem(sheet.problems, true, key, result);
  }

  std::array<std::array<std::uint8_t, 16>, 16> digits{};
  sheet.romDigits = romDigitGlyphs(font, digits);
  const int digitPitch = sheet.romDigits ? 8 : 4;
  const int labelWidth = 4 * digitPitch + 2 * kSheetGap;

  // Row numbers of every glyph: half-width rows first, full-width rows start afresh.
  const int halfRows = static_cast<int>((halfCount + kSheetColumns - 1) / kSheetColumns);
  const int fullRows = static_cast<int>((glyphs.size() - halfCount + kSheetColumns - 1) / kSheetColumns);
  const int totalRows = halfRows + fullRows;
  const int first = std::max(range.first, 1);
  const int last = range.last == 0 ? totalRows : std::min(range.last, totalRows);
  if (first > last) return sheet;
  const bool showsHalf = first <= halfRows;
  const bool showsFull = last > halfRows;
  const int width = 2 * kSheetMargin + labelWidth + kSheetColumns * (16 + kSheetGap) - kSheetGap;
  const int height = 2 * kSheetMargin + (last - first + 1) * kRowPitch - kSheetGap +
                     (showsHalf && showsFull ? kSheetSectionGap : 0);
  sheet.canvas = Canvas(width, height, Color::Background);

  for (std::size_t i = 0; i < glyphs.size(); ++i) {
    const Glyph& glyph = glyphs[i];
    const std::size_t place = glyph.fullWidth ? i - halfCount : i;
    const int row = (glyph.fullWidth ? halfRows : 0) + static_cast<int>(place / kSheetColumns) + 1;
    if (row < first || row > last) continue;
    const int column = static_cast<int>(place % kSheetColumns);
    const int glyphWidth = glyph.fullWidth ? 16 : 8;
    const int y = kSheetMargin + (row - first) * kRowPitch + (glyph.fullWidth && showsHalf ? kSheetSectionGap : 0);
    const int x = kSheetMargin + labelWidth + column * (glyphWidth + kSheetGap);
    sheet.canvas.fill(x, y, glyphWidth, 16, Color::Paper);
    drawGlyph(sheet.canvas, x, y, glyphWidth, glyph.bytes.data(), Color::Ink);
    sheet.cells.push_back({glyph.fullWidth, glyph.code, x, y});
    if (column != 0) continue;

    SheetRow label{hex(glyph.code, glyph.fullWidth ? 4 : 2), kSheetMargin, y};
    if (!sheet.romDigits) label.labelY = y + 5;
    for (std::size_t digit = 0; digit < label.label.size(); ++digit) {
      const int value = digitValue(label.label[digit]);
      const int digitX = label.labelX + static_cast<int>(digit) * digitPitch;
      if (sheet.romDigits) {
        drawGlyph(sheet.canvas, digitX, label.labelY, 8, digits[static_cast<std::size_t>(value)].data(), Color::Label);
        continue;
      }
      for (int line = 0; line < 5; ++line) {
        for (int bit = 0; bit < 3; ++bit) {
          if (tinyDigit(value)[line] >> (2 - bit) & 1) sheet.canvas.set(digitX + bit, label.labelY + line, Color::Label);
        }
      }
    }
    sheet.rows.push_back(label);
  }
  return sheet;
}
