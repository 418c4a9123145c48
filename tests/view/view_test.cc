// maskburn-view: glyph sheets and text pictures written as PNG and decoded back with libpng, compared pixel
// by pixel with the fonts' BDF bitmaps (bits read here: leftmost pixel in bit 7); sheet crops and scaling;
// and the executable's exit status, messages and files for good runs, bad arguments, unusable or damaged
// ROM files and failed writes.
#include <gtest/gtest.h>
#include <png.h>
#include <sys/wait.h>

#include <algorithm>
#include <bit>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "device/rom_fixtures.h"
#include "png_output.h"
#include "sheet.h"
#include "text_picture.h"

namespace {

// A PNG file decoded back with libpng (width 0 when it cannot be), each pixel as the palette colour it shows,
// row by row; a colour off the palette reads as Color{4}, which matches nothing expected.
struct DecodedPng {
  int width = 0, height = 0;
  std::vector<Color> pixels;
  Color at(int x, int y) const { return pixels[static_cast<std::size_t>(y * width + x)]; }
};

DecodedPng decodePng(const std::string& path) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, path.c_str())) return {};
  image.format = PNG_FORMAT_RGB;
  std::vector<png_byte> rgb(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr)) return {};
  DecodedPng png{static_cast<int>(image.width), static_cast<int>(image.height), {}};
  for (std::size_t i = 0; i < rgb.size(); i += 3) {
    int color = 0;
    while (color < 4 && std::memcmp(&kPalette[color], &rgb[i], sizeof(Rgb)) != 0) ++color;  // Rgb: three bytes
    png.pixels.push_back(static_cast<Color>(color));
  }
  return png;
}

DecodedPng written(const Canvas& canvas, int scale = 1) {
  TempDir dir;
  EXPECT_EQ(writePng(dir.file("picture.png"), canvas, scale), "");
  return decodePng(dir.file("picture.png"));
}

// Whether png shows a glyph of the given width with its top left at (x, y): ink where its bit is set,
// paper elsewhere.
::testing::AssertionResult showsGlyph(const DecodedPng& png, int x, int y, int width, const Bitmap& bitmap,
                                      Color ink = Color::Ink, Color paper = Color::Paper) {
  for (int row = 0; row < 16; ++row) {
    for (int column = 0; column < width; ++column) {
      const bool bit = bitmap[static_cast<std::size_t>(row * width / 8 + column / 8)] >> (7 - column % 8) & 1;
      if (x + width > png.width || y + 16 > png.height || png.at(x + column, y + row) != (bit ? ink : paper)) {
        return ::testing::AssertionFailure() << "glyph at " << x << "," << y << ", pixel " << column << "," << row;
      }
    }
  }
  return ::testing::AssertionSuccess();
}

// The sheets of the converted pairs, written and decoded: every glyph in code order (half-width, then
// full-width), 32 to a row, each cell exactly its BDF bitmap, no ink elsewhere; each row labelled with the
// hex code of its first glyph, in the ROM's own digit glyphs when it has all sixteen (the tiny font has only
// 0 and A). A crop of rows, also enlarged, is that part of the whole sheet.
TEST(Sheet, ConvertedPairsShowEveryGlyphAndLabelEveryRowAndCropsArePartsOfThem) {
  for (const auto& [halfPath, fullPath] : fontPairs()) {
    if (halfPath.empty() || fullPath.empty()) continue;
    const Rom rom(convertFonts(halfPath, fullPath));
    const Sheet sheet = drawSheet(rom.memory);
    const Glyphs glyphs = bdfGlyphs(halfPath, fullPath);
    const DecodedPng png = written(sheet.canvas);
    const int halfRows = static_cast<int>(glyphs.half.size() + 31) / 32;
    EXPECT_EQ(sheet.romDigits, halfPath != kTinyHalf);
    EXPECT_TRUE(sheet.problems.empty());
    ASSERT_EQ(sheet.cells.size(), glyphs.half.size() + glyphs.full.size());
    ASSERT_EQ(sheet.rows.size(), halfRows + (glyphs.full.size() + 31) / 32);
    std::size_t i = 0;
    auto label = sheet.rows.begin();
    long ink = 0;
    for (const bool full : {false, true}) {
      for (const auto& [code, bitmap] : full ? glyphs.full : glyphs.half) {
        const SheetCell& cell = sheet.cells[i++];
        ASSERT_EQ(std::pair(cell.fullWidth, unsigned{cell.code}), std::pair(full, code));
        ASSERT_TRUE(showsGlyph(png, cell.x, cell.y, full ? 16 : 8, bitmap)) << code;
        for (const std::uint8_t byte : bitmap) ink += std::popcount(byte);
        if (i > 1 && sheet.cells[i - 2].y == cell.y) continue;  // a later cell of its row: no label
        ASSERT_NE(label, sheet.rows.end());
        char hex[8];
        std::snprintf(hex, sizeof hex, "%0*X", full ? 4 : 2, code);
        EXPECT_EQ(label->label, hex);
        for (std::size_t digit = 0; sheet.romDigits && digit < label->label.size(); ++digit) {
          EXPECT_TRUE(showsGlyph(png, label->labelX + 8 * static_cast<int>(digit), label->labelY, 8,
                                 glyphs.half.at(static_cast<unsigned char>(label->label[digit])), Color::Label,
                                 Color::Background)) << hex;
        }
        ++label;
      }
    }
    EXPECT_EQ(std::count(png.pixels.begin(), png.pixels.end(), Color::Ink), ink) << "ink outside the glyphs";

    // The first row, rows across the step from half-width to full-width, and rows to past the end.
    const std::pair<RowRange, int> crops[] = {{{1, 1}, 2}, {{halfRows, halfRows + 1}, 3}, {{halfRows + 1, 999}, 1}};
    for (const auto& [range, scale] : crops) {
      const Sheet crop = drawSheet(rom.memory, range);
      const DecodedPng part = written(crop.canvas, scale);
      ASSERT_EQ(crop.rows.size(), std::min<std::size_t>(range.last, sheet.rows.size()) + 1 - range.first);
      ASSERT_EQ(std::pair(part.width, part.height), std::pair(png.width * scale, crop.canvas.height() * scale));
      // The crop's first row sits where the whole sheet's first row does; everything below moves alike.
      const int shift = sheet.rows[static_cast<std::size_t>(range.first) - 1].labelY - sheet.rows[0].labelY;
      for (int y = kSheetMargin * scale; y < part.height - kSheetMargin * scale; ++y) {
        for (int x = 0; x < part.width; ++x) {
          ASSERT_EQ(part.at(x, y), sheet.canvas.at(x / scale, y / scale + shift))
              << "rows " << range.first << "-" << range.last << " at scale " << scale << ", pixel " << x << "," << y;
        }
      }
    }
  }
}

// The text's picture, written and decoded, shows exactly the given glyphs side by side from the left, each a
// half-width code or full-width key of glyphs.
void expectText(const romfont& font, const Glyphs& glyphs, const std::string& text,
                const std::vector<std::pair<bool, unsigned>>& shown) {
  const DecodedPng png = written(drawText(font, text).canvas);
  ASSERT_EQ(png.height, 16);
  int x = 0;
  for (const auto& [full, code] : shown) {
    EXPECT_TRUE(showsGlyph(png, x, 0, full ? 16 : 8, (full ? glyphs.full : glyphs.half).at(code))) << "glyph at " << x;
    x += full ? 16 : 8;
  }
  EXPECT_EQ(png.width, x);
}

// What the ROM lacks, and malformed UTF-8, is drawn as the ROM's middle dot or, without one, as an empty box
// (the notes listing them are checked with the command below).
TEST(TextPicture, GlyphsWhereTheDeviceDrawsThemAndMarksForWhatTheRomLacks) {
  // The tiny fonts have neither U+30FB nor half-width 0xA5; the boxes are kept here under codes they leave free.
  Glyphs tiny = bdfGlyphs(kTinyHalf, kTinyFull);
  tiny.half[1] = {0, 0x7E, 0x42, 0x42, 0x42, 0x42, 0x42, 0x42, 0x42, 0x42, 0x42, 0x42, 0x42, 0x42, 0x7E, 0};
  for (std::size_t row = 1; row < 15; ++row) {
    tiny.full[1][2 * row] = row == 1 || row == 14 ? 0x7F : 0x40;
    tiny.full[1][2 * row + 1] = row == 1 || row == 14 ? 0xFE : 0x02;
  }
  expectText(Rom(tinyRom()).memory, tiny, "0B\u3042\u3044\xE3\x81",
             {{false, 0x30}, {false, 1}, {true, 0x3042}, {true, 1}, {true, 1}});

  // Full-width, half-width and half-width katakana (U+FF9F as JIS X 0201 0xDF); U+1F600 (beyond the BMP) and
  // U+4E02 (not in JIS X 0208) drawn as the ROM's U+30FB.
  const std::string halfPath = realFontPath("shnm8x16r");
  const std::string fullPath = realFontPath("shnmk16");
  if (halfPath.empty() || fullPath.empty()) return;
  expectText(Rom(convertFonts(halfPath, fullPath)).memory, bdfGlyphs(halfPath, fullPath),
             "東雲 A1ｱ\U0001F600\u4E02\uFF9F",
             {{true, 0x6771}, {true, 0x96F2}, {false, 0x20}, {false, 0x41}, {false, 0x31}, {false, 0xB1},
              {true, 0x30FB}, {true, 0x30FB}, {false, 0xDF}});
}

// Runs maskburn-view in dir through the shell (writes past limitBlocks 512-byte blocks failing, if given);
// gives its exit status (-1 if it did not exit) and what it printed on standard output and error.
std::pair<int, std::string> runView(const std::vector<std::string>& arguments, const std::string& dir,
                                    int limitBlocks = 0) {
  TempDir log;
  std::string command = "cd '" + dir + "' && trap '' XFSZ && ";
  if (limitBlocks > 0) command += "ulimit -f " + std::to_string(limitBlocks) + " && ";
  command += "exec '" MASKBURN_VIEW_EXECUTABLE "'";
  for (const std::string& argument : arguments) command += " '" + argument + "'";  // none holds a quote
  const int status = std::system((command + " >" + log.file("out") + " 2>&1").c_str());
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, readFile(log.file("out"))};
}

TEST(ViewCommand, ExitStatusMessagesAndWhatIsWritten) {
  TempDir dir;
  const RomFiles rom = tinyRom();
  RomFiles damaged = rom;
  damaged.index[256 + 0x99] = '\x40';  // block 64 of an index with three
  const std::pair<const char*, std::string> files[] = {
      {"FONTINDEX.BIN", rom.index}, {"FONTDATA.BIN", rom.data}, {"damaged.bin", damaged.index},
      {"short.bin", std::string(700, '\0')}, {"huge.bin", std::string(512 * 256 + 1, '\0')}};
  for (const auto& [name, bytes] : files) writeFile(dir.file(name), bytes);
  const int sheetWidth = drawSheet(Rom(rom).memory).canvas.width();
  // The messages are each printed after "maskburn-view: "; writtenWidth is that of the picture written to
  // out.png (0: the old out.png is kept); limitBlocks makes larger writes fail.
  struct Case {
    std::vector<std::string> arguments, messages;
    int status, writtenWidth = 0, limitBlocks = 0;
  };
  const std::vector<Case> cases = {
      // Usage errors (status 2, with the usage; nothing read or written).
      {{}, {"nothing to do"}, 2},
      {{"--sheet"}, {"--sheet needs a value"}, 2},
      {{"--text", "abc"}, {"--text needs a text and an output file"}, 2},
      {{"--sheet", "out.png", "--text", "x", "b.png"}, {"give only one of --sheet and --text"}, 2},
      {{"--sheet", "out.png", "--scale", "0"}, {"--scale takes a whole number from 1 to 16, not '0'"}, 2},
      {{"--sheet", "out.png", "--rows", "5-2"}, {"--rows takes FIRST-LAST, such as 1-8, not '5-2'"}, 2},
      {{"--sheet", "out.png", "--rows", "3"}, {"--rows takes FIRST-LAST, such as 1-8, not '3'"}, 2},
      {{"--text", "", "out.png"}, {"--text: the text is empty"}, 2},
      {{"--sheet", ""}, {"the output file name is empty"}, 2},
      {{"--sheet", "out.png", "--colour"}, {"unknown argument '--colour'"}, 2},
      // ROM files that cannot serve, nothing to draw, and failed writes (status 1, the old picture kept).
      {{"--sheet", "out.png", "--index", "none.bin"}, {"cannot open none.bin: No such file or directory"}, 1},
      {{"--text", "0", "out.png", "--data", "none.bin"}, {"cannot open none.bin: No such file or directory"}, 1},
      {{"--sheet", "out.png", "--index", "."}, {"cannot read .: Is a directory"}, 1},
      {{"--text", "0", "out.png", "--index", "short.bin"}, {"short.bin is not a ROM index: its size, 700 bytes"}, 1},
      {{"--sheet", "out.png", "--index", "huge.bin"}, {"huge.bin is larger than any ROM file of its kind"}, 1},
      {{"--text", "0\u9900", "out.png", "--index", "damaged.bin"}, {"the ROM failed at byte 2: U+9900: bad image"}, 1},
      {{"--sheet", "out.png", "--rows", "9-9"}, {"the sheet has no rows in the range asked for"}, 1},
      {{"--sheet", "/dev/full", "--scale", "16"}, {"cannot write /dev/full: Write Error"}, 1},
      {{"--sheet", "out.png", "--scale", "16"}, {"cannot write out.png"}, 1, 0, 2},
      {{"--sheet", "no/such/folder.png"}, {"cannot create a file beside no/such/folder.png"}, 1},
      // Pictures written; a damaged ROM still gives the rest of the sheet, with status 1.
      {{"--sheet", "out.png"}, {}, 0, sheetWidth},
      {{"--text", "0A\xFF\u3044", "out.png", "--scale", "2"},
       {"byte 3: malformed UTF-8 (1 byte)", "byte 4: U+3044 is not in the ROM"}, 0, 2 * (8 + 8 + 16 + 16)},
      {{"--sheet", "out.png", "--index", "damaged.bin"},
       {"full-width key U+9900: bad image\n", "... and 236 more damaged entries", "the ROM is damaged: 256 entries"},
       1, sheetWidth},
  };
  for (const Case& item : cases) {
    writeFile(dir.file("out.png"), "old");
    const auto [status, output] = runView(item.arguments, dir.path, item.limitBlocks);
    SCOPED_TRACE(::testing::PrintToString(item.arguments) + " printed:\n" + output);
    EXPECT_EQ(status, item.status);
    EXPECT_EQ(output.find("usage:") != std::string::npos, item.status == 2);
    EXPECT_EQ(output.empty(), item.messages.empty());
    for (const std::string& message : item.messages) {
      EXPECT_NE(output.find("maskburn-view: " + message), std::string::npos) << message;
    }
    EXPECT_EQ(readFile(dir.file("out.png")) == "old", item.writtenWidth == 0) << "the old picture kept";
    EXPECT_EQ(decodePng(dir.file("out.png")).width, item.writtenWidth);
  }
  const auto [status, help] = runView({"--help"}, dir.path);
  EXPECT_TRUE(status == 0 && help.starts_with("usage:")) << help;
  // No partly written picture left beside the old one: the five files written above, and out.png.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path), {}), 6);
}

}  // namespace
