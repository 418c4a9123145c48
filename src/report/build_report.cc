// Build report: half-width index and glyphs, then the block index, the full-width index rows and glyphs,
// all read from romImage. Its counterpart from the written files is the read-back check.
#include "report/build_report.h"

#include "text/console.h"
#include "report/glyph_drawing.h"
#include "rom/rom_image.h"

namespace {

void printHalfSection() {
  consolePrint(Text::ReportHalfHeading);
  consolePrint(Text::ReportHalfIndexLabel);
  consolePrintCells(Text::ReportHalfIndexCell, Text::Count, romImage.indexH, 256);
  consolePrint(Text::BlankLines);
  for (int code = 0; code < 256; ++code) {
    const int number = romImage.indexH[code];
    if (number == 0) continue;
    const int address = 16 * (number - 1);
    consolePrint(Text::ReportHalfGlyphHeader, code, code, number, address);
    drawHalfGlyph(romImage.fontData.get() + address);
  }
  consolePrint(Text::BlankLines);
}

void printFullSection() {
  consolePrint(Text::ReportFullHeading);
  consolePrint(Text::ReportBlockIndexLabel);
  consolePrintCells(Text::ReportBlockIndexCell, Text::ReportBlockIndexBlank, romImage.blockIndex, 256);
  consolePrint(Text::BlankLines);
  for (int high = 0; high < 256; ++high) {
    if (romImage.blockIndex[high] == 0) continue;
    consolePrint(Text::ReportFullRowLabel, high);
    consolePrintCells(Text::ReportFullRowCell, Text::ReportFullRowBlank, romImage.indexF[high], 256);
    consolePrint(Text::LineEnd);
  }
  consolePrint(Text::LineEnd);
  for (int high = 0; high < 256; ++high) {
    if (romImage.blockIndex[high] == 0) continue;
    for (int low = 0; low < 256; ++low) {
      const int slot = romImage.indexF[high][low];
      if (slot == 0) continue;
      consolePrint(Text::ReportFullGlyphHeader, high * 256 + low, high, low, slot, 32 * slot);
      drawFullGlyph(romImage.fontData.get() + 32 * static_cast<std::size_t>(slot));
    }
  }
}

}  // namespace

void printBuildReport() {
  printHalfSection();
  printFullSection();
}
