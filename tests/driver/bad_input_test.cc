// Bad input through the real executable: each case must end without a signal, with the tool's message
// where it has one and the documented exit status, and leave no damaged ROM file behind.
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "support/run_tool.h"
#include "support/text_builder.h"

namespace {

std::string randomBytes(std::size_t size, unsigned seed) {
  std::mt19937 generator(seed);
  std::string bytes(size, '\0');
  for (char& byte : bytes) byte = static_cast<char>(generator() & 0xFF);
  return bytes;
}

// The run finished normally and its files agree with each other: the index's block count gives its size,
// and the read-back listing was printed to the end.
void expectCompleteRun(const ToolRun& run, const TempDir& dir, int exitStatus) {
  EXPECT_EQ(run.signal, 0);
  EXPECT_EQ(run.exitStatus, exitStatus);
  EXPECT_NE(run.output.find(cp932("★★ 全角　DUMP\n")), std::string::npos);
  const std::string index = readFile(dir.file("FONTINDEX.BIN"));
  ASSERT_GE(index.size(), 512u);
  std::size_t blocks = 0;
  for (std::size_t high = 0; high < 256; ++high) blocks += index[256 + high] != 0;
  EXPECT_EQ(index.size(), 512 * (1 + blocks));
  EXPECT_EQ(readFile(dir.file("FONTDATA.BIN")).size() % 32, 0u);
}

TEST(BadInput, GarbageFontsReadAsWhatTheyHold) {
  TempDir dir;
  writeFile(dir.file("binary.bdf"), randomBytes(65536, 1));
  writeFile(dir.file("empty.bdf"), "");
  writeFile(dir.file("oneline.bdf"), std::string(10 * 1024 * 1024, 'F'));  // one 10 MB line, no keyword
  expectCompleteRun(runTool({"-8x16", "binary.bdf", "-16x16", "binary.bdf"}, dir.path), dir, 0);
  expectCompleteRun(runTool({"-8x16", "empty.bdf", "-16x16", "empty.bdf"}, dir.path), dir, 0);
  EXPECT_EQ(readFile(dir.file("FONTINDEX.BIN")), std::string(512, '\0'));
  EXPECT_EQ(readFile(dir.file("FONTDATA.BIN")), std::string(32, '\0'));
  expectCompleteRun(runTool({"-8x16", "oneline.bdf", "-16x16", "oneline.bdf"}, dir.path), dir, 0);
  EXPECT_EQ(readFile(dir.file("FONTINDEX.BIN")), std::string(512, '\0'));
}

TEST(BadInput, NulBytesEndALinesText) {
  TempDir dir;
  const std::string font("STARTCHAR a\nENCODING 65\0 junk\nBITMAP\n3C\0FF\n\0\n81\nENDCHAR\nENCO\0DING 66\n", 66);
  writeFile(dir.file("nul.bdf"), font);
  const ToolRun run = runTool({"-8x16", "nul.bdf"}, dir.path);
  expectCompleteRun(run, dir, 0);
  const std::string data = readFile(dir.file("FONTDATA.BIN"));
  EXPECT_EQ(readFile(dir.file("FONTINDEX.BIN"))[65], 1);
  // "3C" then a line with no token (skipped), then "81".
  EXPECT_EQ(data.substr(0, 3), std::string("\x3C\x81\0", 3));
}

TEST(BadInput, HundredThousandCharacters) {
  TempDir dir;
  std::string half = "FONTBOUNDINGBOX 8 16 0 -2\n";
  std::string full = "FONTBOUNDINGBOX 16 16 0 -2\n";
  for (int i = 0; i < 100000; ++i) {
    half += format("STARTCHAR c\nENCODING %d\nBITMAP\n%02X\nENDCHAR\n", i % 300, i & 0xFF);
    full += format("STARTCHAR c\nENCODING %d\nBITMAP\n%04X\nENDCHAR\n", 0x2121 + i % 0x5E00, i & 0xFFFF);
  }
  writeFile(dir.file("half.bdf"), half);
  writeFile(dir.file("full.bdf"), full);
  const ToolRun run = runTool({"-8x16", "half.bdf", "-16x16", "full.bdf"}, dir.path);
  expectCompleteRun(run, dir, 0);
  // Codes 256-299 of every 300: 44 per full cycle (333 cycles) and none in the last 100.
  EXPECT_NE(run.output.find(cp932("文字コードが255を超える文字を14652個無視しました。\n")), std::string::npos);
  const std::string index = readFile(dir.file("FONTINDEX.BIN"));
  EXPECT_EQ(std::count(index.begin(), index.begin() + 256, '\0'), 1);  // every code but 0 holds a glyph
}

TEST(BadInput, FontNamesThatAreNoFontFiles) {
  TempDir dir;
  std::filesystem::create_directory(dir.file("folder"));
  ASSERT_EQ(mkfifo(dir.file("fifo").c_str(), 0600), 0);
  ToolRun run = runTool({"-8x16", "folder"}, dir.path);
  EXPECT_EQ(run.exitStatus, 1);
  EXPECT_TRUE(run.output.ends_with(cp932("半角 東雲フォント ファイル 'folder' は存在しません。\n")));

  // A FIFO with no writer and a device are not read (reading the FIFO would wait for ever).
  run = runTool({"-8x16", "fifo", "-16x16", "/dev/null"}, dir.path);
  expectCompleteRun(run, dir, 1);
  EXPECT_NE(run.output.find(cp932("半角東雲フォント 'fifo' 変換\nファイル(fifo)オープンエラー\n"
                                  "東雲フォント '/dev/null' 変換\nファイル(/dev/null)オープンエラー\n")),
            std::string::npos);

  const std::string longName(4000, 'n');
  run = runTool({"-16x16", longName}, dir.path);
  EXPECT_EQ(run.signal, 0);
  EXPECT_EQ(run.exitStatus, 1);
  EXPECT_TRUE(run.output.ends_with(cp932("東雲フォント ファイル '" + longName + "' は存在しません。\n")));
}

TEST(BadInput, NamesWithSpacesAndNonAsciiBytesAreTakenWhole) {
  TempDir dir;
  const std::string utf8Name = "東雲 フォント.bdf";
  const std::string cp932Name = "\x93\x8C\x89\x5F half.bdf";  // 東雲 in code page 932; 0x5C-free on purpose
  writeFile(dir.file(utf8Name), bdfText(16, {{9250, std::vector<unsigned>(16, 0x8001)}}));
  writeFile(dir.file(cp932Name), bdfText(8, {{65, std::vector<unsigned>(16, 0x81)}}));
  const ToolRun run = runTool({"-8x16", cp932Name, "-16x16", utf8Name}, dir.path);
  expectCompleteRun(run, dir, 0);
  EXPECT_NE(run.output.find(cp932("半角東雲フォント '") + cp932Name + "'"), std::string::npos);
  EXPECT_NE(run.output.find(cp932("東雲フォント '") + utf8Name + "'"), std::string::npos);  // bytes as given
  EXPECT_EQ(readFile(dir.file("FONTINDEX.BIN"))[65], 1);
}

TEST(BadInput, OutputsInTheWay) {
  TempDir dir;
  writeFile(dir.file("half.bdf"), bdfText(8, {{65, std::vector<unsigned>(16, 0x81)}}));
  // A read-only earlier file is replaced like any other: replacing needs the folder's permission only.
  writeFile(dir.file("FONTINDEX.BIN"), "old");
  chmod(dir.file("FONTINDEX.BIN").c_str(), 0444);
  std::filesystem::create_directory(dir.file("FONTDATA.BIN"));
  const ToolRun run = runTool({"-8x16", "half.bdf"}, dir.path);
  EXPECT_EQ(run.signal, 0);
  EXPECT_EQ(run.exitStatus, 1);
  EXPECT_NE(run.output.find(cp932("ファイル(FONTDATA.BIN)書き込みエラー\n★★ FILE DUMP")), std::string::npos);
  EXPECT_EQ(readFile(dir.file("FONTINDEX.BIN")).size(), 512u);
  EXPECT_TRUE(std::filesystem::is_directory(dir.file("FONTDATA.BIN")));
}

// Whatever sits where the writer would put its temporary files is left alone and never written through.
TEST(BadInput, TemporaryFileTrapsAndEarlyClosedOutput) {
  TempDir dir;
  std::filesystem::copy(MASKBURN_SOURCE_DIR "/tests/golden/example/half.bdf", dir.file("half.bdf"));
  writeFile(dir.file("precious.txt"), "keep me");
  std::filesystem::create_symlink(dir.file("precious.txt"), dir.file(".FONTINDEX.BIN.0.tmp"));
  ASSERT_EQ(mkfifo(dir.file(".FONTDATA.BIN.0.tmp").c_str(), 0600), 0);
  ToolRun run = runTool({"-8x16", "half.bdf"}, dir.path);
  expectCompleteRun(run, dir, 0);
  EXPECT_EQ(readFile(dir.file("precious.txt")), "keep me");
  EXPECT_TRUE(std::filesystem::is_regular_file(std::filesystem::symlink_status(dir.file("FONTINDEX.BIN"))));
  EXPECT_TRUE(std::filesystem::is_fifo(dir.file(".FONTDATA.BIN.0.tmp")));

  // A reader that stops after a few bytes (maskburn ... | head) costs the report, not the ROM files; the
  // lost report fails the run.
  // 200 glyphs make a report larger than a pipe holds, so some of it is written after the reader is gone.
  std::vector<BdfGlyph> glyphs;
  for (int code = 1; code <= 200; ++code) glyphs.push_back({code, std::vector<unsigned>(16, 0x5A)});
  writeFile(dir.file("many.bdf"), bdfText(8, glyphs));
  std::filesystem::remove(dir.file("FONTDATA.BIN"));
  run = runTool({"-8x16", "many.bdf"}, dir.path, {.closeOutputAfter = 10});
  EXPECT_EQ(run.signal, 0);
  EXPECT_EQ(run.exitStatus, 1);
  EXPECT_EQ(readFile(dir.file("FONTDATA.BIN")).size(), 101u * 32);  // 200 half-width glyphs, then one slot
}

// When writing fails at once (a file-size limit of 0), the read-back check meets the files that were
// there before: short, oversized or random ones. It lists them without crashing and leaves them as they are.
TEST(BadInput, ForeignRomFilesBeforeTheReadBack) {
  TempDir dir;
  writeFile(dir.file("half.bdf"), bdfText(8, {{65, std::vector<unsigned>(16, 0x81)}}));
  std::string tallIndex(512 + 300 * 512, '\x01');  // every entry names glyph 1, block 1 or slot 257
  const std::vector<std::pair<std::string, std::string>> pairs = {
      {std::string(700, '\x07'), std::string(100, '\x55')},  // short: blocks and glyphs cut off
      {tallIndex, std::string(40, '\xFF')},                  // more blocks than any index can name
      {randomBytes(9000, 2), randomBytes(5000, 3)},
      {randomBytes(100, 4), ""},
  };
  // A FIFO in a ROM file's place is not read (it would block the check for ever).
  ASSERT_EQ(mkfifo(dir.file("FONTINDEX.BIN").c_str(), 0600), 0);
  const ToolRun blocked = runTool({"-8x16", "half.bdf"}, dir.path, {.fileSizeLimit = 0});
  EXPECT_EQ(blocked.exitStatus, 1);
  EXPECT_TRUE(blocked.output.ends_with(cp932("★★ 全角　DUMP\n")));
  std::filesystem::remove(dir.file("FONTINDEX.BIN"));
  for (const auto& [index, data] : pairs) {
    writeFile(dir.file("FONTINDEX.BIN"), index);
    writeFile(dir.file("FONTDATA.BIN"), data);
    const ToolRun run = runTool({"-8x16", "half.bdf"}, dir.path, {.fileSizeLimit = 0});
    EXPECT_EQ(run.signal, 0);
    EXPECT_EQ(run.exitStatus, 1);
    EXPECT_TRUE(run.output.find(cp932("★★ 全角　DUMP\n")) != std::string::npos);
    EXPECT_EQ(readFile(dir.file("FONTINDEX.BIN")), index);
    EXPECT_EQ(readFile(dir.file("FONTDATA.BIN")), data);
  }
}

}  // namespace
