// The whole tool through its real executable: start-up texts, refusals, exit statuses, and the exact
// bytes of standard output and of both ROM files for an empty run and a small worked example.
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <filesystem>

#include "support/run_tool.h"
#include "support/text_builder.h"

namespace {

const std::string kStartUp =
    "\n\nMASKBURN\nフォント定義からROMに書き込めるバイナリファイルを生成\n\n"
    "> maskburn {-8x16 半角東雲フォントファイル名} {-16x16 東雲フォントファイル名FONT.BIN を出力\n";

struct HalfGlyph {
  int code;
  std::vector<unsigned> rows;
};
struct FullGlyph {
  int jis;
  unsigned key;
  std::vector<unsigned> rows;
};

std::vector<unsigned> rowsFrom(unsigned seed, unsigned step, unsigned mask) {
  std::vector<unsigned> rows;
  for (unsigned row = 0; row < 16; ++row) rows.push_back((seed * 5 + row * step) & mask);
  return rows;
}

// The expected standard output after the start-up texts and conversion lines, written out from the
// report formats for glyphs laid out in the given order (half-width numbers 1.., full-width slots from
// firstSlot on, one block per distinct high byte).
std::string expectedBuildAndCheck(const std::vector<HalfGlyph>& halves, const std::vector<FullGlyph>& fulls) {
  int halfNumber[256] = {};
  for (std::size_t i = 0; i < halves.size(); ++i) halfNumber[halves[i].code] = static_cast<int>(i) + 1;
  int firstSlot = static_cast<int>(halves.size() + 1) / 2;
  if (firstSlot == 0 && !fulls.empty()) firstSlot = 1;
  int block[256] = {};
  int blocks = 0;
  for (const FullGlyph& glyph : fulls) {
    if (block[glyph.key >> 8] == 0) block[glyph.key >> 8] = ++blocks;
  }
  auto slotOf = [&](unsigned key) {
    for (std::size_t i = 0; i < fulls.size(); ++i) {
      if (fulls[i].key == key) return firstSlot + static_cast<int>(i);
    }
    return 0;
  };
  const int slotCount = firstSlot + static_cast<int>(fulls.size());

  std::string out = "\n半角東雲フォント INDEX\n\n東雲フォント INDEX\n";
  out += "★★ 半角フォント\n半角index:";
  for (int code = 0; code < 256; ++code) out += format("[%3d]", halfNumber[code]);
  out += "\n\n";
  for (std::size_t i = 0; i < halves.size(); ++i) {
    const int code = halves[i].code;
    out += format("\n\n[%02X] romImage.indexH[%d]=%zu addr=%zu\n", code, code, i + 1, 16 * i);
    for (unsigned row : halves[i].rows) out += markRow(row, 8);
  }
  out += "\n\n★★ 全角フォント\nBLOCK INDEX:";
  for (int high = 0; high < 256; ++high) out += block[high] ? format("[%3d]", block[high]) : "[   ]";
  out += "\n\n";
  for (int high = 0; high < 256; ++high) {
    if (!block[high]) continue;
    out += format("FONT-%02X:", high);
    for (int low = 0; low < 256; ++low) {
      const int slot = slotOf(static_cast<unsigned>(high * 256 + low));
      out += slot ? format("[%4d]", slot) : "[    ]";
    }
    out += "\n";
  }
  out += "\n";
  for (const FullGlyph& glyph : fulls) {
    const int slot = slotOf(glyph.key);
    out += format("FONT[%04X] romImage.indexF[%u][%u]=%d addr=%d\n", glyph.key, glyph.key >> 8, glyph.key & 0xFF,
                  slot, 32 * slot);
    for (unsigned row : glyph.rows) out += markRow(row, 16);
  }
  out += format("romImage.fontCountF=%d [%d]\n", slotCount, 32 * slotCount);

  out += "★★ FILE DUMP -----\nindexH ";
  for (int code = 0; code < 256; ++code) out += format("[%d]", halfNumber[code]);
  out += format("\n半角 FontCout=%zu\nblockIndex ", halves.size());
  for (int high = 0; high < 256; ++high) out += format("[%d]", block[high]);
  out += format("\n全角 blockCout=%d\n", blocks);
  for (int high = 0; high < 256; ++high) {
    if (!block[high]) continue;
    out += format("BLOCK[%d]-", block[high]);
    for (int low = 0; low < 256; ++low) out += format("[%04X]", slotOf(static_cast<unsigned>(high * 256 + low)));
    out += "\n";
  }
  out += format("全角 FontCout=%d\nfontCountF=%d [%d]\n", slotCount, slotCount, 32 * slotCount);
  out += "★★ 半角　DUMP\n";
  for (std::size_t i = 0; i < halves.size(); ++i) {
    const int code = halves[i].code;
    out += format("\n\n+[%02X] indexH[%d]=%zu addr=%zu\n", code, code, i + 1, 16 * i);
    for (unsigned row : halves[i].rows) out += markRow(row, 8);
  }
  out += "\n★★ 全角　DUMP\n";
  for (const FullGlyph& glyph : fulls) {
    const int slot = slotOf(glyph.key);
    out += format("\n\n+[%04X] indexF[%2X][%2X]=%d addr=%d\n", glyph.key, glyph.key >> 8, glyph.key & 0xFF, slot,
                  32 * slot);
    for (unsigned row : glyph.rows) out += markRow(row, 16);
  }
  return out;
}

TEST(Run, NoArgumentsWritesAnEmptyRomAndListsIt) {
  TempDir dir;
  const ToolRun run = runTool({}, dir.path);
  EXPECT_EQ(run.exitStatus, 0);
  EXPECT_EQ(run.output, cp932(kStartUp + expectedBuildAndCheck({}, {})));
  EXPECT_EQ(readFile(dir.file("FONTINDEX.BIN")), std::string(512, '\0'));
  EXPECT_EQ(readFile(dir.file("FONTDATA.BIN")), std::string(32, '\0'));
}

TEST(Run, WorkedExampleGivesExactFilesAndReport) {
  TempDir dir;
  const std::vector<HalfGlyph> halves = {
      {0x20, rowsFrom(0x20, 17, 0xFF)}, {0x41, rowsFrom(0x41, 29, 0xFF)}, {0x7E, rowsFrom(0x7E, 3, 0xFF)}};
  const std::vector<FullGlyph> fulls = {{9250, 0x3042, rowsFrom(0x3042, 0x1357, 0xFFFF)},
                                        {12321, 0x4E9C, rowsFrom(0x4E9C, 0x0F0F, 0xFFFF)}};
  writeFile(dir.file("half.bdf"), bdfText(8, {{0x20, halves[0].rows}, {0x41, halves[1].rows}, {0x7E, halves[2].rows}}));
  writeFile(dir.file("full.bdf"), bdfText(16, {{9250, fulls[0].rows}, {12321, fulls[1].rows}}));

  // The full-width option comes first: the half-width font is still read first.
  const ToolRun run = runTool({"-16x16", "full.bdf", "-8x16", "half.bdf"}, dir.path);
  EXPECT_EQ(run.exitStatus, 0);
  EXPECT_EQ(run.output, cp932(kStartUp + "半角東雲フォント 'half.bdf' 変換\n東雲フォント 'full.bdf' 変換\n" +
                              expectedBuildAndCheck(halves, fulls)));

  std::string index(1536, '\0');
  index[0x20] = 1, index[0x41] = 2, index[0x7E] = 3;
  index[256 + 0x30] = 1, index[256 + 0x4E] = 2;
  index[512 + 2 * 0x42] = 2;
  index[1024 + 2 * 0x9C] = 3;
  EXPECT_EQ(readFile(dir.file("FONTINDEX.BIN")), index);

  std::string data(160, '\0');
  for (std::size_t glyph = 0; glyph < 3; ++glyph) {
    for (std::size_t row = 0; row < 16; ++row) data[16 * glyph + row] = static_cast<char>(halves[glyph].rows[row]);
  }
  for (std::size_t glyph = 0; glyph < 2; ++glyph) {
    for (std::size_t row = 0; row < 16; ++row) {
      data[64 + 32 * glyph + 2 * row] = static_cast<char>(fulls[glyph].rows[row] >> 8);
      data[64 + 32 * glyph + 2 * row + 1] = static_cast<char>(fulls[glyph].rows[row] & 0xFF);
    }
  }
  EXPECT_EQ(readFile(dir.file("FONTDATA.BIN")), data);
}

TEST(Run, FullWidthFontAloneStartsAtSlotOne) {
  TempDir dir;
  const std::vector<FullGlyph> fulls = {{0x2122, 0x3001, rowsFrom(1, 0x0101, 0xFFFF)}};
  writeFile(dir.file("full.bdf"), bdfText(16, {{0x2122, fulls[0].rows}}));
  const ToolRun run = runTool({"-16x16", "full.bdf"}, dir.path);
  EXPECT_EQ(run.exitStatus, 0);
  EXPECT_EQ(run.output, cp932(kStartUp + "東雲フォント 'full.bdf' 変換\n" + expectedBuildAndCheck({}, fulls)));
  EXPECT_EQ(readFile(dir.file("FONTDATA.BIN")).size(), 96u);  // slot 0 unused, slot 1, one slot more
}

TEST(Run, RefusesMissingFontsBeforeTouchingAnything) {
  TempDir dir;
  std::filesystem::create_directory(dir.file("folder.bdf"));
  writeFile(dir.file("FONTINDEX.BIN"), "keep");

  ToolRun run = runTool({"-16x16", "nothere16.bdf", "-8x16", "nothere8.bdf"}, dir.path);
  EXPECT_EQ(run.exitStatus, 1);
  EXPECT_EQ(run.output, cp932(kStartUp + "半角 東雲フォント ファイル 'nothere8.bdf' は存在しません。\n"));

  run = runTool({"-16x16", "folder.bdf"}, dir.path);
  EXPECT_EQ(run.exitStatus, 1);
  EXPECT_EQ(run.output, cp932(kStartUp + "東雲フォント ファイル 'folder.bdf' は存在しません。\n"));

  // -8x16 takes "-16x16" as its name, which does not exist; b.bdf is ignored.
  run = runTool({"-8x16", "-16x16", "b.bdf"}, dir.path);
  EXPECT_EQ(run.output, cp932(kStartUp + "半角 東雲フォント ファイル '-16x16' は存在しません。\n"));

  run = runTool({"-8x16", "half.bdf", "-16x16"}, dir.path);
  EXPECT_EQ(run.exitStatus, 2);
  EXPECT_EQ(run.output, cp932(kStartUp + "オプション -16x16 の後にファイル名がありません。\n"));

  EXPECT_EQ(readFile(dir.file("FONTINDEX.BIN")), "keep");
  EXPECT_FALSE(std::filesystem::exists(dir.file("FONTDATA.BIN")));
}

TEST(Run, ReadOnlyFontReadsAndRejectedSizeFailsTheRunButStillWrites) {
  TempDir dir;
  writeFile(dir.file("half.bdf"), bdfText(8, {{0x41, rowsFrom(1, 1, 0xFF)}}));
  chmod(dir.file("half.bdf").c_str(), 0444);

  ToolRun run = runTool({"-8x16", "half.bdf"}, dir.path);
  EXPECT_EQ(run.exitStatus, 0);
  EXPECT_EQ(readFile(dir.file("FONTINDEX.BIN"))[0x41], 1);

  // The half-width font named as the full-width one: rejected for its size, files still written.
  run = runTool({"-8x16", "half.bdf", "-16x16", "half.bdf"}, dir.path);
  EXPECT_EQ(run.exitStatus, 1);
  const std::string rejected = cp932("東雲フォント 'half.bdf' 変換\nフォントサイズが16x16ではありません。\n\n半角東雲フォント INDEX");
  EXPECT_NE(run.output.find(rejected), std::string::npos);
  EXPECT_EQ(readFile(dir.file("FONTINDEX.BIN")), std::string(0x41, '\0') + '\1' + std::string(512 - 0x42, '\0'));
}

}  // namespace
