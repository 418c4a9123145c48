// The whole tool through its real executable: exact standard output and ROM files for an empty run and
// small worked examples (golden files under tests/golden/, UTF-8 there, code page 932 on the wire),
// refusals and exit statuses.
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <filesystem>

#include "support/run_tool.h"
#include "support/text_builder.h"

namespace {

const std::string kGolden = MASKBURN_SOURCE_DIR "/tests/golden/";
const std::string kStartUp =
    "\n\nMASKBURN\nフォント定義からROMに書き込めるバイナリファイルを生成\n\n"
    "> maskburn {-8x16 半角東雲フォントファイル名} {-16x16 東雲フォントファイル名FONT.BIN を出力\n";

TEST(Run, NoArgumentsWritesAnEmptyRomAndListsIt) {
  TempDir dir;
  const ToolRun run = runTool({}, dir.path);
  EXPECT_EQ(run.exitStatus, 0);
  EXPECT_EQ(run.output, cp932(readFile(kGolden + "empty-run.txt")));
  EXPECT_EQ(readFile(dir.file("FONTINDEX.BIN")), std::string(512, '\0'));
  EXPECT_EQ(readFile(dir.file("FONTDATA.BIN")), std::string(32, '\0'));
}

// Half-width codes 0x20, 0x41, 0x7E; full-width JIS 0x2422 and 0x3021 (keys U+3042 and U+4E9C).
TEST(Run, WorkedExampleGivesExactFilesAndReport) {
  TempDir dir;
  std::filesystem::copy(kGolden + "example/half.bdf", dir.file("half.bdf"));
  std::filesystem::copy(kGolden + "example/full.bdf", dir.file("full.bdf"));
  // The full-width option comes first: the half-width font is still read first. The second run has the
  // C library fill fresh memory with junk: bytes no glyph covers must still come out as zeros.
  for (const std::vector<std::string>& environment :
       {std::vector<std::string>{}, {"GLIBC_TUNABLES=glibc.malloc.perturb=165:glibc.malloc.mmap_threshold=4294967295"}}) {
    const ToolRun run = runTool({"-16x16", "full.bdf", "-8x16", "half.bdf"}, dir.path, {.environment = environment});
    EXPECT_EQ(run.exitStatus, 0);
    EXPECT_EQ(run.output, cp932(readFile(kGolden + "example/stdout.txt")));
    EXPECT_EQ(readFile(dir.file("FONTDATA.BIN")), readFile(kGolden + "example/FONTDATA.BIN"));
  }

  std::string index(1536, '\0');
  index[0x20] = 1, index[0x41] = 2, index[0x7E] = 3;  // glyph numbers in code order
  index[256 + 0x30] = 1, index[256 + 0x4E] = 2;       // blocks in high-byte order
  index[512 + 2 * 0x42] = 2;                          // slots from (3 + 1) / 2 on
  index[1024 + 2 * 0x9C] = 3;
  EXPECT_EQ(readFile(dir.file("FONTINDEX.BIN")), index);
}

TEST(Run, FullWidthFontAloneStartsAtSlotOne) {
  TempDir dir;
  std::filesystem::copy(kGolden + "full-only/full.bdf", dir.file("full.bdf"));
  const ToolRun run = runTool({"-16x16", "full.bdf"}, dir.path);
  EXPECT_EQ(run.exitStatus, 0);
  EXPECT_EQ(run.output, cp932(readFile(kGolden + "full-only/stdout.txt")));
  EXPECT_EQ(readFile(dir.file("FONTINDEX.BIN"))[512 + 2 * 0x01], 1);  // key U+3001 in slot 1, not 0
  EXPECT_EQ(readFile(dir.file("FONTDATA.BIN")).size(), 96u);          // slot 0 unused, slot 1, one more
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

  run = runTool({"-8x16", "half.bdf", "-v", "-16x16"}, dir.path);
  EXPECT_EQ(run.exitStatus, 2);
  EXPECT_EQ(run.output, cp932(kStartUp + "オプション -16x16 の後にファイル名がありません。\n"));

  EXPECT_EQ(readFile(dir.file("FONTINDEX.BIN")), "keep");
  EXPECT_FALSE(std::filesystem::exists(dir.file("FONTDATA.BIN")));
}

TEST(Run, ReadOnlyFontReadsAndRejectedSizeFailsTheRunButStillWrites) {
  TempDir dir;
  std::filesystem::copy(kGolden + "example/half.bdf", dir.file("half.bdf"));
  chmod(dir.file("half.bdf").c_str(), 0444);

  // A later -8x16 replaces the earlier name.
  ToolRun run = runTool({"-8x16", "nothere.bdf", "-8x16", "half.bdf"}, dir.path);
  EXPECT_EQ(run.exitStatus, 0);
  EXPECT_EQ(readFile(dir.file("FONTINDEX.BIN"))[0x41], 2);

  // Each font named as the other kind: rejected for its size, the run fails but still writes its files.
  std::filesystem::copy(kGolden + "example/full.bdf", dir.file("full.bdf"));
  run = runTool({"-8x16", "half.bdf", "-16x16", "half.bdf"}, dir.path);
  EXPECT_EQ(run.exitStatus, 1);
  const std::string rejected = "東雲フォント 'half.bdf' 変換\nフォントサイズが16x16ではありません。\n\n半角東雲フォント INDEX";
  EXPECT_NE(run.output.find(cp932(rejected)), std::string::npos);
  EXPECT_EQ(readFile(dir.file("FONTINDEX.BIN")).size(), 512u);
  run = runTool({"-8x16", "full.bdf"}, dir.path);
  EXPECT_EQ(run.exitStatus, 1);
  EXPECT_NE(run.output.find(cp932("フォントサイズが8x16ではありません。\n\n半角東雲フォント INDEX")), std::string::npos);
}

}  // namespace
