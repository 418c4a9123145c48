// Read-back check: the index file's tables and counts, then every glyph looked up through the files the
// way firmware would: code -> glyph number, key -> block -> slot.
#include "report/readback_check.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <new>
#include <vector>

#include "font/font_file.h"
#include "text/console.h"
#include "report/glyph_drawing.h"
#include "rom/rom_files.h"
#include "rom/rom_image.h"

namespace {

// What the index file supplied; everything it did not supply counts as zero.
struct IndexTables {
  std::uint8_t halfIndex[256] = {};
  std::uint8_t blockIndex[256] = {};
  std::vector<std::uint16_t> blocks;  // the blocks read, 256 entries each; block k (from 1) starts at 256 (k - 1)

  // Block k's 256 entries, or a row of zeros for a block that was not read.
  const std::uint16_t* block(int k) const {
    static const std::uint16_t kZeroRow[256] = {};
    const std::size_t start = 256 * static_cast<std::size_t>(k - 1);
    return start + 256 <= blocks.size() ? blocks.data() + start : kZeroRow;
  }
};

int countNonZero(const std::uint8_t (&entries)[256]) {
  int count = 0;
  for (std::uint8_t entry : entries) count += entry != 0;
  return count;
}

void printByteCells(Text label, const std::uint8_t (&entries)[256]) {
  consolePrint(label);
  consolePrintCells(Text::DumpIndexCell, Text::Count, entries, 256);
  consolePrint(Text::LineEnd);
}

// Steps through FONTINDEX.BIN; returns the slot count (first full-width slot plus the slots listed).
std::int32_t readIndexFile(std::FILE* file, IndexTables& tables) {
  (void)std::fread(tables.halfIndex, 1, sizeof tables.halfIndex, file);
  printByteCells(Text::DumpHalfIndexLabel, tables.halfIndex);
  const int halfCount = countNonZero(tables.halfIndex);
  consolePrint(Text::DumpHalfCount, halfCount);

  (void)std::fread(tables.blockIndex, 1, sizeof tables.blockIndex, file);
  printByteCells(Text::DumpBlockIndexLabel, tables.blockIndex);
  const int blockCount = countNonZero(tables.blockIndex);
  consolePrint(Text::DumpBlockCount, blockCount);

  // A block cut short keeps its entries read so far; the rest of it counts as zero.
  std::vector<std::uint8_t> raw(static_cast<std::size_t>(blockCount) * kIndexBlockBytes);
  const std::size_t rawRead = std::fread(raw.data(), 1, raw.size(), file);
  tables.blocks.assign((rawRead + kIndexBlockBytes - 1) / kIndexBlockBytes * 256, 0);
  for (std::size_t entry = 0; entry * 2 + 1 < rawRead; ++entry) {
    tables.blocks[entry] = static_cast<std::uint16_t>(raw[2 * entry] | raw[2 * entry + 1] << 8);
  }

  int listedSlots = 0;
  for (int high = 0; high < 256; ++high) {
    const int block = tables.blockIndex[high];
    if (block == 0) continue;
    consolePrint(Text::DumpBlockRowLabel, block);
    const std::uint16_t* entries = tables.block(block);
    consolePrintCells(Text::DumpBlockRowCell, Text::Count, entries, 256);
    for (int low = 0; low < 256; ++low) listedSlots += entries[low] != 0;
    consolePrint(Text::LineEnd);
  }
  const bool blocksHoldEntries =
      std::any_of(tables.blocks.begin(), tables.blocks.end(), [](std::uint16_t slot) { return slot != 0; });
  return firstFullSlot(halfCount, blocksHoldEntries) + listedSlots;
}

void drawHalfGlyphs(const IndexTables& tables, const std::uint8_t* data, std::size_t dataRead) {
  for (int code = 0; code < 256; ++code) {
    const int number = tables.halfIndex[code];
    if (number == 0) continue;
    const std::size_t address = kHalfGlyphBytes * static_cast<std::size_t>(number - 1);
    consolePrint(Text::DumpHalfGlyphHeader, code, code, number, static_cast<int>(address));
    if (address + kHalfGlyphBytes <= dataRead) drawHalfGlyph(data + address);
  }
}

void drawFullGlyphs(const IndexTables& tables, const std::uint8_t* data, std::size_t dataRead) {
  for (int high = 0; high < 256; ++high) {
    const int block = tables.blockIndex[high];
    if (block == 0) continue;
    const std::uint16_t* entries = tables.block(block);
    for (int low = 0; low < 256; ++low) {
      const int slot = entries[low];
      if (slot == 0) continue;
      const std::size_t address = kFullGlyphBytes * static_cast<std::size_t>(slot);
      consolePrint(Text::DumpFullGlyphHeader, high * 256 + low, high, low, slot, static_cast<int>(address));
      if (address + kFullGlyphBytes <= dataRead) drawFullGlyph(data + address);
    }
  }
}

}  // namespace

void checkRomFiles() {
  consolePrint(Text::DumpHeading);
  auto tables = std::make_unique<IndexTables>();
  std::int32_t slotCount = 0;
  if (const ReadOnlyFile index = openRegularFileForReading(kIndexFileName)) {
    slotCount = readIndexFile(index.get(), *tables);
    consolePrint(Text::DumpFullCount, slotCount);
  }

  const std::size_t dataBytes = (static_cast<std::size_t>(slotCount) + 1) * kFullGlyphBytes;
  std::unique_ptr<std::uint8_t[]> data(new (std::nothrow) std::uint8_t[dataBytes]);
  std::size_t dataRead = 0;
  if (data) {
    if (const ReadOnlyFile file = openRegularFileForReading(kDataFileName)) {
      consolePrint(Text::DumpSlotCount, slotCount, slotCount * 32);
      dataRead = std::fread(data.get(), 1, dataBytes, file.get());
    }
  }

  consolePrint(Text::DumpHalfHeading);
  drawHalfGlyphs(*tables, data.get(), dataRead);
  consolePrint(Text::LineEnd);
  consolePrint(Text::DumpFullHeading);
  drawFullGlyphs(*tables, data.get(), dataRead);
}
