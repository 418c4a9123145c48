// maskburn-view: glyph sheets and text pictures compared pixel by pixel with the fonts' BDF bitmaps (bits
// read here: leftmost pixel in bit 7) and the built-in label digits (builtin_digits.txt), and written as PNG
// and decoded back with libpng; sheet crops and scaling; sizes PNG cannot hold; drawing partly outside a
// picture; and the executable's exit status, messages and files (view_commands.txt).
#include <gtest/gtest.h>
#include <png.h>
#include <sys/stat.h>

#include <algorithm>
#include <bit>
#include <filesystem>
#include <sstream>

#include "device/rom_fixtures.h"
#include "png_output.h"
#include "sheet.h"
#include "text_picture.h"

namespace {

// Whether the canvas, written as PNG at the given scale and decoded back, shows every pixel in its colour.
::testing::AssertionResult writtenAndDecoded(const Canvas& canvas, int scale) {
  TempDir dir;
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  const std::string problem = writePng(dir.file("picture.png"), canvas, scale);
  if (!problem.empty() || !png_image_begin_read_from_file(&image, dir.file("picture.png").c_str())) {
    return ::testing::AssertionFailure() << "not written: " << problem;
  }
  image.format = PNG_FORMAT_RGB;
  std::vector<png_byte> rgb(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr) ||
      std::pair<int, int>(image.width, image.height) != std::pair(canvas.width() * scale, canvas.height() * scale)) {
    return ::testing::AssertionFailure() << "decoded as " << image.width << " x " << image.height;
  }
  for (std::size_t i = 0; i < rgb.size(); i += 3) {
    const int x = static_cast<int>(i / 3 % image.width) / scale, y = static_cast<int>(i / 3 / image.width) / scale;
    if (std::memcmp(&kPalette[static_cast<int>(canvas.at(x, y))], &rgb[i], 3) != 0) {
      return ::testing::AssertionFailure() << "pixel " << x << "," << y << " at scale " << scale;
    }
  }
  return ::testing::AssertionSuccess();
}

// Whether the canvas shows a bitmap of width x height pixels (rows of whole bytes) with its top left at (x, y).
::testing::AssertionResult shows(const Canvas& canvas, int x, int y, int width, int height, const Bitmap& bitmap,
                                 Color ink = Color::Ink, Color paper = Color::Paper) {
  for (int row = 0; row < height; ++row) {
    for (int column = 0; column < width; ++column) {
      const bool bit = bitmap[static_cast<std::size_t>(row * ((width + 7) / 8) + column / 8)] >> (7 - column % 8) & 1;
      if (x + width > canvas.width() || y + height > canvas.height() || canvas.at(x + column, y + row) != (bit ? ink : paper)) {
        return ::testing::AssertionFailure() << "at " << x << "," << y << ", pixel " << column << "," << row;
      }
    }
  }
  return ::testing::AssertionSuccess();
}

// The real Shinonome pair shnm8x16r + shnmk16 and its glyphs, or nothing where it is not installed.
std::vector<std::pair<RomFiles, Glyphs>> realPair() {
  const std::string half = realFontPath("shnm8x16r"), full = realFontPath("shnmk16");
  if (half.empty() || full.empty()) return {};
  return {{convertPair(half, full), bdfGlyphs(half, full)}};
}

// Sheets: every glyph in code order (half-width, then full-width), 32 to a row, each cell exactly its bitmap,
// no ink elsewhere; each row labelled with the hex code of its first glyph, in the ROM's own digits when it
// has all sixteen, else in the built-in ones. A crop of rows, also enlarged, is that part of the whole sheet.
// The ROMs: the tiny pair (digits 0 and A only), one made here of four rows of empty full-width glyphs from
// keys 0123, 4567, 89AB and CDEF (labels with every digit), and the real Shinonome pair.
TEST(Sheet, ShowsEveryGlyphLabelsEveryRowAndCropsArePartsOfIt) {
  std::map<char, Bitmap> builtIn;  // 3 x 5 pixels
  std::istringstream lines(readFile(MASKBURN_SOURCE_DIR "/tests/view/builtin_digits.txt"));
  for (std::string line; std::getline(lines, line);) {
    for (std::size_t at = 2; line[0] != '#' && at < line.size(); ++at) {
      builtIn[line[0]][(at - 2) / 4] |= static_cast<std::uint8_t>(line[at] == '#' ? 0x80 >> (at - 2) % 4 : 0);
    }
  }
  RomFiles made{std::string(512 * 6, '\0'), std::string(32 * 129, '\0'), ""};
  Glyphs madeGlyphs;
  for (unsigned i = 0, blocks = 0; i < 128; ++i) {
    const unsigned key = 0x0123 + 0x4444 * (i / 32) + i % 32;
    char& block = made.index[256 + (key >> 8)];
    if (block == 0) block = static_cast<char>(++blocks);
    made.index[512 * static_cast<unsigned char>(block) + 2 * (key & 0xFF)] = static_cast<char>(i + 1);
    madeGlyphs.full[key] = {};
  }
  std::vector<std::pair<RomFiles, Glyphs>> roms = {{tinyRom(), bdfGlyphs(kTinyHalf, kTinyFull)}, {made, madeGlyphs}};
  for (auto& pair : realPair()) roms.push_back(std::move(pair));
  for (const auto& [files, glyphs] : roms) {
    const Rom rom(files);
    const Sheet sheet = drawSheet(rom.memory);
    const int halfRows = static_cast<int>(glyphs.half.size() + 31) / 32;
    const auto hasDigit = [&half = glyphs.half](char digit) { return half.contains(static_cast<unsigned char>(digit)); };
    EXPECT_EQ(sheet.romDigits, std::ranges::all_of(std::string_view("0123456789ABCDEF"), hasDigit));
    EXPECT_TRUE(sheet.problems.empty());
    EXPECT_TRUE(writtenAndDecoded(sheet.canvas, 1));
    ASSERT_EQ(sheet.cells.size(), glyphs.half.size() + glyphs.full.size());
    ASSERT_EQ(sheet.rows.size(), halfRows + (glyphs.full.size() + 31) / 32);
    long ink = 0;
    std::size_t cell = 0, row = 0;
    for (const bool full : {false, true}) {
      std::size_t place = 0;  // in its section
      for (const auto& [code, bitmap] : full ? glyphs.full : glyphs.half) {
        const SheetCell& at = sheet.cells[cell++];
        ASSERT_EQ(std::pair(at.fullWidth, unsigned{at.code}), std::pair(full, code));
        ASSERT_TRUE(shows(sheet.canvas, at.x, at.y, full ? 16 : 8, 16, bitmap)) << code;
        for (const std::uint8_t byte : bitmap) ink += std::popcount(byte);
        if (place++ % 32 != 0) continue;  // a later cell of its row: no label
        const SheetRow& label = sheet.rows[row++];
        char hex[8];
        std::snprintf(hex, sizeof hex, "%0*X", full ? 4 : 2, code);
        EXPECT_EQ(label.label, hex);
        for (int digit = 0; digit < static_cast<int>(label.label.size()); ++digit) {
          const char value = label.label[static_cast<std::size_t>(digit)];
          EXPECT_TRUE(sheet.romDigits ? shows(sheet.canvas, label.labelX + 8 * digit, label.labelY, 8, 16,
                                              glyphs.half.at(static_cast<unsigned char>(value)), Color::Label,
                                              Color::Background)
                                      : shows(sheet.canvas, label.labelX + 4 * digit, label.labelY, 3, 5, builtIn.at(value),
                                              Color::Label, Color::Background)) << hex;
        }
      }
    }
    for (int y = 0; y < sheet.canvas.height(); ++y) {
      for (int x = 0; x < sheet.canvas.width(); ++x) ink -= sheet.canvas.at(x, y) == Color::Ink;
    }
    EXPECT_EQ(ink, 0) << "ink outside the glyphs";
    // The first row, rows across the step from half-width to full-width, and rows to past the end.
    for (const auto& [range, scale] : {std::pair(RowRange{1, 1}, 2), {RowRange{std::max(halfRows, 1), halfRows + 1}, 3},
                                       {RowRange{halfRows + 1, 999}, 1}}) {
      const Sheet crop = drawSheet(rom.memory, range);
      EXPECT_TRUE(writtenAndDecoded(crop.canvas, scale));
      ASSERT_EQ(crop.rows.size(), std::min<std::size_t>(range.last, sheet.rows.size()) + 1 - range.first);
      ASSERT_EQ(crop.canvas.width(), sheet.canvas.width());
      // The crop's first row sits where the whole sheet's first row does; everything below moves alike.
      const int shift = sheet.rows[static_cast<std::size_t>(range.first) - 1].labelY - sheet.rows[0].labelY;
      for (int y = kSheetMargin; y < crop.canvas.height() - kSheetMargin; ++y) {
        for (int x = 0; x < crop.canvas.width(); ++x) {
          ASSERT_EQ(crop.canvas.at(x, y), sheet.canvas.at(x, y + shift)) << "rows " << range.first << "-" << range.last;
        }
      }
    }
  }
}

// The text's picture shows exactly the given glyphs (half-width code or full-width key) side by side.
void expectText(const RomFiles& files, const Glyphs& glyphs, const std::string& text,
                const std::vector<std::pair<bool, unsigned>>& shown) {
  const Canvas canvas = drawText(Rom(files).memory, text).canvas;
  EXPECT_TRUE(writtenAndDecoded(canvas, 1));
  int x = 0;
  for (const auto& [full, code] : shown) {
    EXPECT_TRUE(shows(canvas, x, 0, full ? 16 : 8, 16, (full ? glyphs.full : glyphs.half).at(code))) << x;
    x += full ? 16 : 8;
  }
  EXPECT_EQ(std::pair(canvas.width(), canvas.height()), std::pair(x, 16));
}

// What the ROM lacks, and malformed UTF-8, is drawn as the ROM's middle dot or, without one, as an empty box
// (the notes listing them are checked with the command below).
TEST(TextPicture, GlyphsWhereTheDeviceDrawsThemAndMarksForWhatTheRomLacks) {
  // The tiny fonts have neither U+30FB nor half-width 0xA5; the boxes are kept here under codes they leave free.
  Glyphs tiny = bdfGlyphs(kTinyHalf, kTinyFull);
  for (std::size_t row = 1; row < 15; ++row) {
    const bool edge = row == 1 || row == 14;
    tiny.half[1][row] = edge ? 0x7E : 0x42;
    tiny.full[1][2 * row] = edge ? 0x7F : 0x40;
    tiny.full[1][2 * row + 1] = edge ? 0xFE : 0x02;
  }
  expectText(tinyRom(), tiny, "0B\u3042\u3044\xE3\x81", {{false, 0x30}, {false, 1}, {true, 0x3042}, {true, 1}, {true, 1}});
  // Full-width, half-width and half-width katakana (U+FF9F as JIS X 0201 0xDF); U+1F600 (beyond the BMP) and
  // U+4E02 (not in JIS X 0208) drawn as the ROM's U+30FB.
  for (const auto& [files, glyphs] : realPair()) {
    expectText(files, glyphs, "東雲 A1ｱ\U0001F600\u4E02\uFF9F", {{true, 0x6771}, {true, 0x96F2}, {false, 0x20},
               {false, 0x41}, {false, 0x31}, {false, 0xB1}, {true, 0x30FB}, {true, 0x30FB}, {false, 0xDF}});
  }
}

// Sizes PNG cannot hold are refused with nothing written; shapes partly outside a picture are clipped.
TEST(ViewPng, ImpossibleSizesAreRefusedAndDrawingStaysInsideThePicture) {
  TempDir dir;
  for (const auto& [width, height, scale] : {std::tuple(0, 16, 1), {16, 0, 1}, {16, 16, 0}, {kMaxPngSide / 16 + 1, 1, 16}}) {
    EXPECT_NE(writePng(dir.file("x.png"), Canvas(width, height, Color::Paper), scale).find("is not possible in PNG"),
              std::string::npos) << width << " x " << height << " at scale " << scale;
  }
  EXPECT_TRUE(std::filesystem::is_empty(dir.path));
  Canvas canvas(4, 4, Color::Paper);
  Bitmap ink;
  ink.fill(0xFF);
  drawGlyph(canvas, -6, -14, 8, ink.data(), Color::Ink);  // its last two rows and columns: top left
  drawGlyph(canvas, 3, 3, 16, ink.data(), Color::Label);  // its top left pixel: bottom right
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 4; ++x) {
      EXPECT_EQ(canvas.at(x, y), x < 2 && y < 2 ? Color::Ink : x == 3 && y == 3 ? Color::Label : Color::Paper) << x << "," << y;
    }
  }
}

TEST(ViewCommand, ExitStatusMessagesAndWhatIsWritten) {
  TempDir dir, log;
  RomFiles rom = tinyRom();
  writeFile(dir.file("FONTINDEX.BIN"), rom.index);
  writeFile(dir.file("FONTDATA.BIN"), rom.data);
  rom.index[256 + 0x99] = '\x40';
  writeFile(dir.file("damaged.bin"), rom.index);
  writeFile(dir.file("short.bin"), std::string(700, '\0'));
  writeFile(dir.file("huge.bin"), std::string(512 * 256 + 1, '\0'));
  std::istringstream lines(readFile(MASKBURN_SOURCE_DIR "/tests/view/view_commands.txt"));
  int cases = 0;
  for (std::string line; std::getline(lines, line);) {
    for (std::size_t bar; (bar = line.find(" | ")) != std::string::npos;) line.replace(bar, 3, "\n");
    std::istringstream fields(line);
    int status = -2, width = -1;
    std::string command, message;
    if (line.starts_with('#') || !(fields >> status >> width).ignore() || !std::getline(fields, command)) continue;
    ++cases;
    writeFile(dir.file("out.png"), "old");
    const int exit = runIn(dir.path, "view() { '" MASKBURN_VIEW_EXECUTABLE "' \"$@\"; }; umask 027; trap '' XFSZ; " +
                                         command + " >'" + log.file("output") + "' 2>&1");
    const std::string output = readFile(log.file("output")), picture = readFile(dir.file("out.png"));
    SCOPED_TRACE(command + " printed:\n" + output);
    EXPECT_EQ(exit, status);
    EXPECT_EQ(output.find("usage:") != std::string::npos, status == 2);
    int printed = 0;
    for (; std::getline(fields, message); ++printed) {
      EXPECT_NE(("\n" + output).find("\nmaskburn-view: " + message + "\n"), std::string::npos) << message;
    }
    EXPECT_EQ(output.empty(), printed == 0);
    EXPECT_EQ(picture == "old", width == 0) << "the old picture kept";
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    EXPECT_EQ(png_image_begin_read_from_file(&image, dir.file("out.png").c_str()) ? static_cast<int>(image.width) : 0, width);
    png_image_free(&image);
    struct stat info {};
    EXPECT_TRUE(width == 0 || (stat(dir.file("out.png").c_str(), &info) == 0 && (info.st_mode & 0777) == 0640))
        << "a new picture's mode is 0666 less the umask";
  }
  EXPECT_EQ(cases, 29);
  EXPECT_EQ(runIn(dir.path, "'" MASKBURN_VIEW_EXECUTABLE "' --help >help.txt"), 0);
  EXPECT_TRUE(readFile(dir.file("help.txt")).starts_with("usage:"));
  // No partly written picture left beside the old one: the files written above, out.png and help.txt.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path), {}), 7);
}

}  // namespace
