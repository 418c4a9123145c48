// Writing the ROM files: a file is replaced whole or not at all. Failures (a directory in the target's
// place, a file-size limit hit part-way) are reported, leave earlier files intact and fail the run.
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <filesystem>

#include "support/run_tool.h"
#include "support/text_builder.h"

namespace {

// A font pair whose index file (1,024 bytes: one block, keys U+30xx) is smaller than its data file
// (3,264 bytes: 100 full-width glyphs in slots 1-100, one slot more).
void writeFonts(const TempDir& dir) {
  std::vector<BdfGlyph> fulls;
  for (int jis = 0x2421; jis <= 0x2473; ++jis) fulls.push_back({jis, std::vector<unsigned>(16, 0xA5A5)});  // hiragana
  for (int jis = 0x2521; jis <= 0x2531; ++jis) fulls.push_back({jis, std::vector<unsigned>(16, 0x5A5A)});  // katakana
  writeFile(dir.file("full.bdf"), bdfText(16, fulls));
  writeFile(dir.file("half.bdf"), bdfText(8, {{0x41, std::vector<unsigned>(16, 0x18)}}));
}

std::vector<std::string> entries(const TempDir& dir) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(dir.path)) names.push_back(entry.path().filename());
  std::sort(names.begin(), names.end());
  return names;
}

const std::vector<std::string> kArguments = {"-8x16", "half.bdf", "-16x16", "full.bdf"};
const std::vector<std::string> kAllFiles = {"FONTDATA.BIN", "FONTINDEX.BIN", "full.bdf", "half.bdf"};

TEST(RomFiles, ReplacesEarlierFilesWhole) {
  TempDir dir;
  writeFonts(dir);
  writeFile(dir.file("FONTDATA.BIN"), std::string(10000, 'x'));
  writeFile(dir.file("FONTINDEX.BIN"), std::string(10000, 'x'));
  const ToolRun run = runTool(kArguments, dir.path);
  EXPECT_EQ(run.exitStatus, 0);
  EXPECT_EQ(readFile(dir.file("FONTINDEX.BIN")).size(), 1024u);
  EXPECT_EQ(readFile(dir.file("FONTDATA.BIN")).size(), 3264u);  // slots 1..100 used, one more
  EXPECT_EQ(entries(dir), kAllFiles);
  // A newly created file's permissions (0666 less the umask), not those of a private temporary file.
  const mode_t mask = umask(0);
  umask(mask);
  const auto expected = static_cast<std::filesystem::perms>(0666 & ~mask);
  EXPECT_EQ(std::filesystem::status(dir.file("FONTINDEX.BIN")).permissions(), expected);
  EXPECT_EQ(std::filesystem::status(dir.file("FONTDATA.BIN")).permissions(), expected);
}

TEST(RomFiles, DirectoryInTheIndexFilesPlace) {
  TempDir dir;
  writeFonts(dir);
  std::filesystem::create_directory(dir.file("FONTINDEX.BIN"));
  const ToolRun run = runTool(kArguments, dir.path);
  EXPECT_EQ(run.exitStatus, 1);
  // Reported, the data file still written, and the check then finds no index to list.
  EXPECT_NE(run.output.find(cp932("ファイル(FONTINDEX.BIN)書き込みエラー\nromImage.fontCountF=101 [3232]\n"
                                  "★★ FILE DUMP -----\nfontCountF=0 [0]\n★★ 半角　DUMP\n\n★★ 全角　DUMP\n")),
            std::string::npos);
  EXPECT_TRUE(std::filesystem::is_directory(dir.file("FONTINDEX.BIN")));
  EXPECT_EQ(readFile(dir.file("FONTDATA.BIN")).size(), 3264u);
  EXPECT_EQ(entries(dir), kAllFiles);
}

TEST(RomFiles, FileSizeLimitPartWayKeepsEarlierFiles) {
  TempDir dir;
  writeFonts(dir);
  const std::string earlier(5000, 'e');
  writeFile(dir.file("FONTDATA.BIN"), earlier);
  writeFile(dir.file("FONTINDEX.BIN"), earlier);

  // 2,000 bytes: the index file fits, the data file does not.
  ToolRun run = runTool(kArguments, dir.path, {.fileSizeLimit = 2000});
  EXPECT_EQ(run.signal, 0);
  EXPECT_EQ(run.exitStatus, 1);
  EXPECT_NE(run.output.find(cp932("romImage.fontCountF=101 [3232]\nファイル(FONTDATA.BIN)書き込みエラー\n")),
            std::string::npos);
  EXPECT_EQ(readFile(dir.file("FONTINDEX.BIN")).size(), 1024u);
  EXPECT_EQ(readFile(dir.file("FONTDATA.BIN")), earlier);
  EXPECT_EQ(entries(dir), kAllFiles);

  // 500 bytes: neither fits; both earlier files stay as they were.
  writeFile(dir.file("FONTINDEX.BIN"), earlier);
  run = runTool(kArguments, dir.path, {.fileSizeLimit = 500});
  EXPECT_EQ(run.exitStatus, 1);
  EXPECT_NE(run.output.find(cp932("ファイル(FONTINDEX.BIN)書き込みエラー\nromImage.fontCountF=101 [3232]\n"
                                  "ファイル(FONTDATA.BIN)書き込みエラー\n★★ FILE DUMP")),
            std::string::npos);
  EXPECT_EQ(readFile(dir.file("FONTINDEX.BIN")), earlier);
  EXPECT_EQ(readFile(dir.file("FONTDATA.BIN")), earlier);
  EXPECT_EQ(entries(dir), kAllFiles);
}

}  // namespace
