// The read-back check on files it did not write: short, damaged and foreign files are listed from what
// they supply, never read past, and a glyph whose bytes are not all there is not drawn.
#include "report/readback_check.h"

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>

#include "text/console.h"
#include "support/run_tool.h"
#include "support/text_builder.h"

namespace {

class ReadbackCheckTest : public ::testing::Test {
 protected:
  void SetUp() override {
    previous = std::filesystem::current_path();
    std::filesystem::current_path(dir.path);
  }
  void TearDown() override { std::filesystem::current_path(previous); }

  std::string check() {
    std::string out;
    consoleCaptureTo(&out);
    checkRomFiles();
    consoleCaptureTo(nullptr);
    return out;
  }

  TempDir dir;
  std::filesystem::path previous;
};

std::string cells(bool hex, const std::vector<int>& values) {
  std::string out;
  for (int value : values) out += hex ? format("[%04X]", value) : format("[%d]", value);
  return out;
}

TEST_F(ReadbackCheckTest, MissingIndexListsNoGlyph) {
  writeFile("FONTDATA.BIN", std::string(64, '\x55'));
  EXPECT_EQ(check(), cp932("★★ FILE DUMP -----\nfontCountF=0 [0]\n★★ 半角　DUMP\n\n★★ 全角　DUMP\n"));
  std::filesystem::remove("FONTDATA.BIN");
  std::filesystem::create_directory("FONTDATA.BIN");  // a directory counts as a file that cannot be opened
  EXPECT_EQ(check(), cp932("★★ FILE DUMP -----\n★★ 半角　DUMP\n\n★★ 全角　DUMP\n"));
}

TEST_F(ReadbackCheckTest, ShortIndexCountsMissingBytesAsZero) {
  std::string index(300, '\0');  // half-width index whole, block index cut after 44 bytes
  index[0x41] = 1;
  index[256 + 0x10] = 7;  // would be block 7
  writeFile("FONTINDEX.BIN", index);
  writeFile("FONTDATA.BIN", std::string(16, '\x81'));

  std::vector<int> half(256, 0);
  half[0x41] = 1;
  std::vector<int> blocks(256, 0);
  blocks[0x10] = 7;
  std::string rows;
  for (int row = 0; row < 16; ++row) rows += markRow(0x81, 8);
  // Block 7 was never read: its row is all zero.
  EXPECT_EQ(check(), cp932("★★ FILE DUMP -----\nindexH " + cells(false, half) + "\n半角 FontCout=1\nblockIndex " +
                           cells(false, blocks) + "\n全角 blockCout=1\nBLOCK[7]-" +
                           cells(true, std::vector<int>(256, 0)) +
                           "\n全角 FontCout=1\nfontCountF=1 [32]\n★★ 半角　DUMP\n\n\n+[41] indexH[65]=1 addr=0\n" + rows +
                           "\n★★ 全角　DUMP\n"));
}

TEST_F(ReadbackCheckTest, GlyphsBeyondTheDataReadAreNotDrawn) {
  std::string index(1024, '\0');
  index[0x20] = 1;
  index[0x21] = 7;  // its bytes (offset 96) lie past the end of the data file
  index[256 + 0x30] = 1;
  index[512 + 2 * 0x01] = 2;  // slot 2 (offset 64) is read in full
  index[512 + 2 * 0x02] = 5;  // slot 5 would be past the data read
  writeFile("FONTINDEX.BIN", index);
  writeFile("FONTDATA.BIN", std::string(96, '\xFF'));

  const std::string out = check();
  const std::string inkRows8 = [] {
    std::string rows;
    for (int row = 0; row < 16; ++row) rows += markRow(0xFF, 8);
    return rows;
  }();
  const std::string inkRows16 = [] {
    std::string rows;
    for (int row = 0; row < 16; ++row) rows += markRow(0xFFFF, 16);
    return rows;
  }();
  // Slot count: (2 + 1) / 2 = 1, plus two listed slots = 3; four slots (128 bytes) asked, 96 read.
  EXPECT_NE(out.find(cp932("全角 FontCout=3\nfontCountF=3 [96]\n★★ 半角　DUMP\n\n\n+[20] indexH[32]=1 addr=0\n" +
                           inkRows8 + "\n\n+[21] indexH[33]=7 addr=96\n\n★★ 全角　DUMP\n\n\n+[3001] indexF[30][ 1]=2 addr=64\n" +
                           inkRows16 + "\n\n+[3002] indexF[30][ 2]=5 addr=160\n")),
            std::string::npos);
  EXPECT_TRUE(out.ends_with("addr=160\n"));  // a header alone, nothing drawn after it
}

// The check opens both files for reading only: read-only files read normally. Permission bits do not bind
// root, so a child process runs the check as the unprivileged user "nobody".
TEST_F(ReadbackCheckTest, ReadOnlyFilesAreRead) {
  writeFile("FONTINDEX.BIN", std::string(512, '\0'));
  writeFile("FONTDATA.BIN", std::string(32, '\0'));
  for (const char* name : {"FONTINDEX.BIN", "FONTDATA.BIN"}) ASSERT_EQ(chmod(name, 0444), 0);
  ASSERT_EQ(chmod(dir.path.c_str(), 0755), 0);
  EXPECT_EXIT(
      {
        if (geteuid() == 0 && setuid(65534) != 0) std::_Exit(2);
        const std::string out = check();
        std::_Exit(out.find(cp932("全角 FontCout=0\nfontCountF=0 [0]\n")) != std::string::npos ? 0 : 1);
      },
      ::testing::ExitedWithCode(0), "");
}

TEST_F(ReadbackCheckTest, FullWidthOnlyFilesStartAtSlotOne) {
  std::string index(1024, '\0');
  index[256 + 0x30] = 1;
  index[512] = 1;  // key 0x3000 in slot 1
  writeFile("FONTINDEX.BIN", index);
  writeFile("FONTDATA.BIN", std::string(64, '\0'));
  const std::string out = check();
  EXPECT_NE(out.find(cp932("全角 FontCout=2\nfontCountF=2 [64]\n")), std::string::npos);
  EXPECT_NE(out.find(cp932("+[3000] indexF[30][ 0]=1 addr=32\n" + markRow(0, 16))), std::string::npos);
}

}  // namespace
