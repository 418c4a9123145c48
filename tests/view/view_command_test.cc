// The maskburn-view executable: usage errors (status 2, nothing written), unreadable or foreign ROM files
// and failed writes (status 1, any old picture kept), damaged ROMs (sheet written, status 1), and notes
// for text the ROM cannot show.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>

#include "support/run_tool.h"
#include "view/png_check.h"

namespace {

// A folder holding the ROM of the committed tiny pair, made by the converter.
struct RomFolder {
  RomFolder() {
    const ToolRun run = runTool({"-8x16", MASKBURN_SOURCE_DIR "/tests/fixtures/tiny8x16.bdf", "-16x16",
                                 MASKBURN_SOURCE_DIR "/tests/fixtures/tiny16x16.bdf"},
                                dir.path);
    EXPECT_EQ(run.exitStatus, 0);
  }
  TempDir dir;
};

bool exists(const std::string& path) {
  struct stat status {};
  return stat(path.c_str(), &status) == 0;
}

TEST(ViewCommand, BadArgumentsAreRefusedBeforeAnythingIsRead) {
  struct Case {
    std::vector<std::string> arguments;
    std::string message;
  };
  const std::vector<Case> cases = {
      {{}, "nothing to do"},
      {{"--sheet"}, "--sheet needs a value"},
      {{"--text", "abc"}, "--text needs a text and an output file"},
      {{"--sheet", "a.png", "--text", "x", "b.png"}, "give only one of --sheet and --text"},
      {{"--sheet", "a.png", "--scale", "0"}, "--scale takes a whole number from 1 to 16, not '0'"},
      {{"--sheet", "a.png", "--rows", "5-2"}, "--rows takes FIRST-LAST, such as 1-8, not '5-2'"},
      {{"--sheet", "a.png", "--rows", "3"}, "--rows takes FIRST-LAST"},
      {{"--text", "", "a.png"}, "--text: the text is empty"},
      {{"--sheet", ""}, "the output file name is empty"},
      {{"--sheet", "a.png", "--colour"}, "unknown argument '--colour'"},
  };
  RomFolder rom;
  for (const Case& item : cases) {
    const ViewRun run = runView(item.arguments, rom.dir.path);
    EXPECT_EQ(run.exitStatus, 2) << item.message;
    EXPECT_NE(run.output.find("maskburn-view: " + item.message), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("usage:"), std::string::npos);
  }
  EXPECT_FALSE(exists(rom.dir.file("a.png")));
  const ViewRun help = runView({"--help"}, rom.dir.path);
  EXPECT_EQ(help.exitStatus, 0);
  EXPECT_EQ(help.output.rfind("usage:", 0), 0u);
}

TEST(ViewCommand, WritesTheSheetAndTheTextFromTheDefaultFiles) {
  RomFolder rom;
  const ViewRun sheet = runView({"--sheet", "sheet.png"}, rom.dir.path);
  EXPECT_EQ(sheet.exitStatus, 0) << sheet.output;
  EXPECT_EQ(sheet.output, "");
  EXPECT_EQ(decodePng(rom.dir.file("sheet.png")).error, "");

  const ViewRun text = runView({"--text", "0A\xFF\u3044", "text.png", "--scale", "2"}, rom.dir.path);
  EXPECT_EQ(text.exitStatus, 0) << text.output;
  EXPECT_EQ(text.output,
            "maskburn-view: byte 3: malformed UTF-8 (1 byte)\nmaskburn-view: byte 4: U+3044 is not in the ROM\n");
  const DecodedPng picture = decodePng(rom.dir.file("text.png"));
  EXPECT_EQ(picture.width, (8 + 8 + 16 + 16) * 2);
  EXPECT_EQ(picture.height, 32);
}

TEST(ViewCommand, RomFilesThatCannotServeAreReported) {
  RomFolder rom;
  writeFile(rom.dir.file("short.bin"), std::string(700, '\0'));
  writeFile(rom.dir.file("huge.bin"), std::string(512 * 256 + 1, '\0'));
  struct Case {
    std::vector<std::string> arguments;
    std::string message;
  };
  const std::vector<Case> cases = {
      {{"--index", "none.bin"}, "cannot open none.bin: No such file or directory"},
      {{"--data", "none.bin"}, "cannot open none.bin: No such file or directory"},
      {{"--index", "."}, "cannot read .: Is a directory"},
      {{"--index", "short.bin"}, "short.bin is not a ROM index: its size, 700 bytes, is not a multiple of 512"},
      {{"--index", "huge.bin"}, "huge.bin is larger than any ROM file of its kind (at most 131072 bytes)"},
  };
  for (const Case& item : cases) {
    for (const bool sheet : {true, false}) {
      writeFile(rom.dir.file("old.png"), "old");
      std::vector<std::string> arguments = sheet ? std::vector<std::string>{"--sheet", "old.png"}
                                                 : std::vector<std::string>{"--text", "0", "old.png"};
      arguments.insert(arguments.end(), item.arguments.begin(), item.arguments.end());
      const ViewRun run = runView(arguments, rom.dir.path);
      EXPECT_EQ(run.exitStatus, 1) << item.message;
      EXPECT_NE(run.output.find("maskburn-view: " + item.message), std::string::npos) << run.output;
      EXPECT_EQ(readFile(rom.dir.file("old.png")), "old");
    }
  }
}

TEST(ViewCommand, FailedWritesKeepTheOldPicture) {
  RomFolder rom;
  // libpng's own write error, raised from inside libpng.
  const ViewRun full = runView({"--sheet", "/dev/full", "--scale", "16"}, rom.dir.path);
  EXPECT_EQ(full.exitStatus, 1);
  EXPECT_NE(full.output.find("maskburn-view: cannot write /dev/full: Write Error"), std::string::npos) << full.output;

  // A regular file: written beside and renamed, so a failure part way leaves the old file and no litter.
  writeFile(rom.dir.file("old.png"), "old");
  const ViewRun limited = runView({"--sheet", "old.png", "--scale", "16"}, rom.dir.path, 1000);
  EXPECT_EQ(limited.exitStatus, 1);
  EXPECT_NE(limited.output.find("maskburn-view: cannot write old.png"), std::string::npos) << limited.output;
  EXPECT_EQ(readFile(rom.dir.file("old.png")), "old");
  const ViewRun missingFolder = runView({"--sheet", "no/such/folder.png"}, rom.dir.path);
  EXPECT_EQ(missingFolder.exitStatus, 1);
  EXPECT_NE(missingFolder.output.find("cannot create a file beside no/such/folder.png"), std::string::npos);

  std::size_t files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(rom.dir.path)) files += entry.is_regular_file();
  EXPECT_EQ(files, 3u) << "FONTINDEX.BIN, FONTDATA.BIN and old.png: no partly written picture left";
}

TEST(ViewCommand, DamagedRomStillGivesTheRestOfTheSheet) {
  RomFolder rom;
  std::string index = readFile(rom.dir.file("FONTINDEX.BIN"));
  index[256 + 0x99] = '\x40';  // block 64 of an index with three
  writeFile(rom.dir.file("FONTINDEX.BIN"), index);
  const ViewRun run = runView({"--sheet", "sheet.png"}, rom.dir.path);
  EXPECT_EQ(run.exitStatus, 1);
  EXPECT_NE(run.output.find("maskburn-view: full-width key U+9900: bad image\n"), std::string::npos) << run.output;
  EXPECT_NE(run.output.find("... and 236 more damaged entries"), std::string::npos) << run.output;
  EXPECT_NE(run.output.find("the ROM is damaged: 256 entries point outside its files"), std::string::npos);
  EXPECT_EQ(decodePng(rom.dir.file("sheet.png")).error, "");
}

}  // namespace
