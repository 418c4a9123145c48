// Tests of the BDF font reader: its state machine, bitmap rows, line limits, size checks and font files.
// Fonts are fed from memory unless the test is about files; the glyph store is cleared for each test.
#include "font/bdf_reader.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "text/code_page_932.h"
#include "font/glyph_store.h"
#include "text/console.h"

namespace {

using namespace std::string_literals;
using Rows = std::vector<unsigned>;

const std::string kHalfHeader = "STARTFONT 2.1\nFONT half\nFONTBOUNDINGBOX 8 16 0 -2\nCHARS 1\n";
const std::string kFullHeader = "STARTFONT 2.1\nFONT full\nFONTBOUNDINGBOX 16 16 0 -2\nCHARS 1\n";

// One character: its ENCODING value as written, two header lines the reader ignores, the rows as written.
std::string character(const std::string& encoding, const std::vector<std::string>& rows) {
  std::string text = "STARTCHAR c" + encoding + "\nENCODING " + encoding + "\nSWIDTH 500 0\nBBX 8 16 0 -2\nBITMAP\n";
  for (const std::string& row : rows) text += row + "\n";
  return text + "ENDCHAR\n";
}

// The given rows followed by zero rows up to count.
Rows padded(Rows rows, std::size_t count) {
  rows.resize(count, 0);
  return rows;
}

Rows halfRows(int code) {
  const GlyphRecord* record = halfGlyphTable[code];
  return record ? Rows(record->halfBitmap.begin(), record->halfBitmap.end()) : Rows{};
}

Rows fullRows(int key) {
  const GlyphRecord* record = fullGlyphTable[key];
  return record ? Rows(record->fullBitmap.begin(), record->fullBitmap.end()) : Rows{};
}

// Every stored glyph as (code, bitmap); full-width keys are listed above 0xFFFF.
std::vector<std::pair<int, Rows>> storeContents() {
  std::vector<std::pair<int, Rows>> contents;
  for (int code = 0; code < kHalfTableSize; ++code)
    if (halfGlyphTable[code]) contents.emplace_back(code, halfRows(code));
  for (int key = 0; key < kFullTableSize; ++key)
    if (fullGlyphTable[key]) contents.emplace_back(0x10000 + key, fullRows(key));
  return contents;
}

int chainLength() {
  int length = 0;
  for (const GlyphRecord* record = glyphChain; record != nullptr; record = record->next) ++length;
  return length;
}

std::string withCrLf(const std::string& text) {
  std::string result;
  for (char c : text) result += c == '\n' ? "\r\n" : std::string(1, c);
  return result;
}

class BdfReaderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    clearGlyphStore();
    consoleCaptureTo(&captured_);
  }
  void TearDown() override {
    consoleCaptureTo(nullptr);
    clearGlyphStore();
  }
  // Everything printed since the last call.
  std::string takeOutput() {
    consoleFlush();
    return std::exchange(captured_, std::string());
  }
  std::string captured_;
};

TEST_F(BdfReaderTest, HalfWidthRowIsTheLowByteOfABase16Number) {
  const std::vector<std::string> rows = {
      "0X81", "+7e", "-1", "1A5",
      "80000000",   // beyond 32 bits: counts as 0x7FFFFFFF
      "-80000001",  // counts as -0x80000000
      "zz",         // no hex digits: a zero row that still takes its place
      "7Fjunk", "5", "12345A5", "0000000C3",
      "0x", std::string(48, '0') + "1F",  // token cut to 49 bytes: "000...01"
      "3C"};
  EXPECT_EQ(readHalfFontText(kHalfHeader + character("65", rows)), FontReadResult::Read);
  EXPECT_EQ(halfRows(65), (Rows{0x81, 0x7E, 0xFF, 0xA5, 0xFF, 0x00, 0x00, 0x7F, 0x05, 0xA5, 0xC3, 0x00, 0x01, 0x3C, 0, 0}));
}

TEST_F(BdfReaderTest, FullWidthRowIsOneSixteenBitNumberLeftByteFirst) {
  std::vector<std::string> rows = {"FF", "8001", "12345", "-2", "80000000", "0x0180"};
  rows.insert(rows.end(), 10, "0001");
  rows.push_back("FFFF");  // a 17th row is dropped
  // ENCODING 9250 is JIS 0x2422, Shift_JIS 0x82A0, the hiragana "あ" U+3042.
  EXPECT_EQ(readFullFontText(kFullHeader + character("9250", rows)), FontReadResult::Read);
  Rows expected = {0x00, 0xFF, 0x80, 0x01, 0x23, 0x45, 0xFF, 0xFE, 0xFF, 0xFF, 0x01, 0x80};
  for (int i = 0; i < 10; ++i) expected.insert(expected.end(), {0x00, 0x01});
  EXPECT_EQ(fullRows(0x3042), expected);
  EXPECT_EQ(storeContents().size(), 1u);
  EXPECT_EQ(takeOutput(), "");
}

TEST_F(BdfReaderTest, FullWidthCodesAreKeyedThroughTheJisMapping) {
  // 0x2121 -> 0x8140, the ideographic space; 112 = 0x0070 has lead byte (0 + 0xE1) >> 1 = 0x70, a single
  // byte "p"; 40704 = 0x9F00 has lead byte (0x9F + 0x161) >> 1 cut to 8 bits = 0, so it has no key.
  readFullFontText(kFullHeader + character("8481", {"1"}) + character("112", {"2"}) + character("40704", {"3"}));
  EXPECT_EQ(fullRows(0x3000), padded({0x00, 0x01}, 32));
  EXPECT_EQ(fullRows(0x70), padded({0x00, 0x02}, 32));
  EXPECT_EQ(chainLength(), 2);
  // A half-width glyph with the same code is a record of its own.
  readHalfFontText(kHalfHeader + character("112", {"4"}));
  ASSERT_NE(halfGlyphTable[0x70], nullptr);
  EXPECT_NE(halfGlyphTable[0x70], fullGlyphTable[0x70]);
  EXPECT_EQ(halfRows(0x70), padded({0x04}, 16));
  EXPECT_EQ(fullRows(0x70), padded({0x00, 0x02}, 32));
  EXPECT_EQ(chainLength(), 3);
}

TEST_F(BdfReaderTest, EachCharacterKeepsAtMostSixteenRowsAndStartsBlank) {
  std::vector<std::string> seventeen;
  for (int row = 1; row <= 17; ++row) seventeen.push_back(std::to_string(row));  // decimal looks are hex too
  const std::string text = kHalfHeader + character("65", seventeen) + character("66", std::vector<std::string>(10, "FF")) +
                           "STARTCHAR nobitmap\nENCODING 67\nFF\nENDCHAR\n";  // FF is no row before BITMAP
  readHalfFontText(text);
  EXPECT_EQ(halfRows(65), (Rows{0x1, 0x2, 0x3, 0x4, 0x5, 0x6, 0x7, 0x8, 0x9, 0x10, 0x11, 0x12, 0x13, 0x14, 0x15, 0x16}));
  EXPECT_EQ(halfRows(66), padded(Rows(10, 0xFF), 16));  // rows 10-15 do not keep the previous character's
  EXPECT_EQ(halfRows(67), Rows(16, 0));                   // no BITMAP line: a blank glyph
}

TEST_F(BdfReaderTest, KeywordsAreObeyedInEveryStateAndOtherLinesByState) {
  const std::string text = kHalfHeader +
      // In a bitmap: COMMENT changes nothing; ENCODING, lower case and longer words, a bounding box are rows.
      "STARTCHAR a\nENCODING 65\nBITMAP\n01\nCOMMENT ENDCHAR STARTCHAR\n02\nENCODING 66\nendchar\nENDCHARS\n"
      "FONTBOUNDINGBOX 1 1\nENDCHAR\n"
      // BITMAP between characters enters a bitmap: the bounding box after it is a row, not checked, and
      // the ENDCHAR after it has no code to commit.
      "BITMAP\nFONTBOUNDINGBOX 7 7\nENDCHAR\n"
      // A second BITMAP starts the rows again from a blank bitmap.
      "STARTCHAR b\nENCODING 66\nBITMAP\nFF\nFF\nBITMAP\n01\nENDCHAR\n"
      // STARTCHAR in a bitmap forgets the code.
      "STARTCHAR c\nENCODING 67\nBITMAP\nFF\nSTARTCHAR d\nBITMAP\n80\nENDCHAR\n"
      // ENCODING between characters is ignored.
      "ENCODING 68\nBITMAP\n01\nENDCHAR\n";
  EXPECT_EQ(readHalfFontText(text), FontReadResult::Read);
  EXPECT_EQ(halfRows(65), padded({0x01, 0x02, 0x0E, 0x0E, 0x0E, 0x0F}, 16));
  EXPECT_EQ(halfRows(66), padded({0x01}, 16));
  EXPECT_EQ(storeContents().size(), 2u);
  EXPECT_EQ(takeOutput(), "");
}

TEST_F(BdfReaderTest, CharactersWithoutAUsableCodeAreDropped) {
  const std::string text = kHalfHeader + character("0", {"FF"}) + character("0x41", {"FF"}) +
                           character("65536", {"FF"}) +  // low 16 bits are 0
                           "STARTCHAR none\nBITMAP\nFF\nENDCHAR\n"
                           // a missing value is empty, not the earlier line's second token
                           "STARTCHAR stale\nSWIDTH 65 0\nENCODING\nBITMAP\nFF\nENDCHAR\n";
  EXPECT_EQ(readHalfFontText(text), FontReadResult::Read);
  EXPECT_EQ(glyphChain, nullptr);
  EXPECT_EQ(storeContents().size(), 0u);
  EXPECT_EQ(takeOutput(), "");
}

TEST_F(BdfReaderTest, RepeatedCodeReplacesTheBitmapInTheSameRecord) {
  // 65601 = 0x10041: its low 16 bits are 65 again.
  readHalfFontText(kHalfHeader + character("65", {"01", "01"}) + character("66", {"02"}) + character("65601", {"03"}));
  EXPECT_EQ(halfRows(65), padded({0x03}, 16));
  ASSERT_EQ(chainLength(), 2);
  EXPECT_EQ(glyphChain, halfGlyphTable[66]);
  EXPECT_EQ(glyphChain->next, halfGlyphTable[65]);
}

TEST_F(BdfReaderTest, HalfWidthCodesAbove255AreSkippedAndCounted) {
  // 4294967361 = 2^32 + 65 counts as 2147483647, whose low 16 bits are 65535; 4161 is 0x1041.
  std::string text = kHalfHeader + character("256", {"01"}) + character("-1", {"02"}) + character("4161", {"05"}) +
                     character("4294967361", {"03"}) + character("65", {"04"});
  for (int code = 300; code < 308; ++code) text += character(std::to_string(code), {"06"});
  EXPECT_EQ(readHalfFontText(text), FontReadResult::Read);
  EXPECT_EQ(halfRows(65), padded({0x04}, 16));
  EXPECT_EQ(halfGlyphTable[0], nullptr);
  EXPECT_EQ(halfGlyphTable[255], nullptr);
  EXPECT_EQ(chainLength(), 1);
  EXPECT_EQ(takeOutput(), encodeCodePage932("文字コードが255を超える文字を12個無視しました。\n"));
}

TEST_F(BdfReaderTest, BoundingBoxMustNameTheFontSize) {
  struct Case {
    bool full;
    std::string lines;
    bool accepted;
  };
  const Case cases[] = {
      {false, "FONTBOUNDINGBOX 8 16 0 -2", true},
      {false, "FONTBOUNDINGBOX\t8\t16", true},
      {false, "FONTBOUNDINGBOX 8 16 99 x", true},  // offsets are not checked
      {false, "", true},
      {false, "COMMENT FONTBOUNDINGBOX 1 1\nfontboundingbox 1 1", true},
      {false, "FONTBOUNDINGBOX 16 16 0 -2", false},
      {false, "FONTBOUNDINGBOX\t16\t16", false},
      {false, "FONTBOUNDINGBOX 8 016 0 -2", false},
      {false, "FONTBOUNDINGBOX 8 16\r\r", false},  // the first carriage return stays in "16\r"
      {false, "SIZE 8 16\nFONTBOUNDINGBOX 8", false},
      {false, "SIZE 8 16\nFONTBOUNDINGBOX", false},
      {true, "FONTBOUNDINGBOX 16 16 0 -2", true},
      {true, "FONTBOUNDINGBOX 8 16 0 -2", false},
      {true, "FONTBOUNDINGBOX 16 15 0 -2", false},
      {true, "FONTBOUNDINGBOX 016 16", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE((c.full ? "full: " : "half: ") + c.lines);
    clearGlyphStore();
    const std::string text = "STARTFONT 2.1\n" + c.lines + "\n" + character("9250", {"FF"}) + character("65", {"FF"});
    const FontReadResult result = c.full ? readFullFontText(text) : readHalfFontText(text);
    const std::string output = takeOutput();
    if (c.accepted) {
      EXPECT_EQ(result, FontReadResult::Read);
      EXPECT_EQ(output, c.full ? "" : encodeCodePage932("文字コードが255を超える文字を1個無視しました。\n"));
      EXPECT_EQ(chainLength(), c.full ? 2 : 1);
    } else {
      EXPECT_EQ(result, FontReadResult::SizeRejected);
      EXPECT_EQ(output, encodeCodePage932(c.full ? "フォントサイズが16x16ではありません。\n"
                                                 : "フォントサイズが8x16ではありません。\n"));
      EXPECT_EQ(glyphChain, nullptr);
    }
  }
}

TEST_F(BdfReaderTest, SizeMismatchStopsReadingButKeepsEarlierGlyphs) {
  const std::string text = kHalfHeader + character("65", {"01"}) +
                           "STARTCHAR b\nENCODING 66\nFONTBOUNDINGBOX 1 1\nBITMAP\n02\nENDCHAR\n" +  // not checked
                           character("300", {"03"}) + "FONTBOUNDINGBOX 16 16 0 -2\n" + character("67", {"04"});
  EXPECT_EQ(readHalfFontText(text), FontReadResult::SizeRejected);
  EXPECT_EQ(halfRows(65), padded({0x01}, 16));
  EXPECT_EQ(halfRows(66), padded({0x02}, 16));
  EXPECT_EQ(halfGlyphTable[67], nullptr);
  EXPECT_EQ(takeOutput(), encodeCodePage932("フォントサイズが8x16ではありません。\n"
                                            "文字コードが255を超える文字を1個無視しました。\n"));
}

TEST_F(BdfReaderTest, LongLinesComeBackIn255BytePieces) {
  // "ENDCHAR" starts at byte 256 of a 300-byte line; a cut one byte early or late would spoil the keyword.
  const std::string endLine = "COMMENT " + std::string(247, 'x') + "ENDCHAR" + std::string(38, ' ') + "\n";
  const std::string text = kHalfHeader + "STARTCHAR a\nENCODING 65\nBITMAP\n" +
                           "01" + std::string(253, ' ') + "02\n" +  // two rows from one line
                           "03" + std::string(253, ' ') + "\n" +    // the lone line feed left over is no row
                           "04\n" + endLine;
  EXPECT_EQ(readHalfFontText(text), FontReadResult::Read);
  EXPECT_EQ(halfRows(65), padded({0x01, 0x02, 0x03, 0x04}, 16));
}

TEST_F(BdfReaderTest, CrLfAndLfFontsGiveTheSameGlyphs) {
  const std::string half = kHalfHeader + character("65", {"18", "24", "42"}) + character("126", {"FF"}) + "ENDFONT\n";
  const std::string full = kFullHeader + character("9250", {"0180", "7FFE"}) + character("8481", {"1"}) + "ENDFONT\n";
  readHalfFontText(half);
  readFullFontText(full);
  const auto fromLf = storeContents();
  ASSERT_EQ(fromLf.size(), 4u);
  clearGlyphStore();
  EXPECT_EQ(readHalfFontText(withCrLf(half)), FontReadResult::Read);
  EXPECT_EQ(readFullFontText(withCrLf(full)), FontReadResult::Read);
  EXPECT_EQ(storeContents(), fromLf);
  EXPECT_EQ(takeOutput(), "");

  // A carriage return not before a line feed stays in its token: "ENDCHAR\r" is a row, and "\rC3" reads
  // as C3 since the conversion skips leading white space.
  clearGlyphStore();
  readHalfFontText(kHalfHeader + "STARTCHAR a\nENCODING 65\nBITMAP\n01\nENDCHAR\r\r\n\rC3\nENDCHAR\n");
  EXPECT_EQ(halfRows(65), padded({0x01, 0x0E, 0xC3}, 16));
}

TEST_F(BdfReaderTest, EndMarkEndsTheInputAndNulEndsTheLine) {
  const std::string text = kHalfHeader + character("65", {"01"}) + "STARTCHAR b\nENCODING 66\nBITMAP\n02\nENDCHAR\x1AX\n" +
                           character("67", {"03"});
  EXPECT_EQ(readHalfFontText(text), FontReadResult::Read);
  EXPECT_EQ(halfRows(66), padded({0x02}, 16));
  EXPECT_EQ(halfGlyphTable[67], nullptr);
  EXPECT_EQ(chainLength(), 2);

  // The end of the given text ends the input too, even right after a row's digits or a keyword.
  clearGlyphStore();
  const std::string whole = kHalfHeader + "STARTCHAR a\nENCODING 65\nBITMAP\n7F\nENDCHAR\nSTARTCHAR b\nENCODING 66\n"
                            "BITMAP\n7\nENDCHAR\n";
  readHalfFontText(std::string_view(whole).substr(0, whole.find("\nSTARTCHAR b")));
  EXPECT_EQ(halfRows(65), padded({0x7F}, 16));
  readHalfFontText(std::string_view(whole).substr(0, whole.rfind("\nENDCHAR")));
  EXPECT_EQ(halfGlyphTable[66], nullptr);

  clearGlyphStore();
  const std::string withNul = kHalfHeader + "\0FONTBOUNDINGBOX 1 1\nSTARTCHAR n\nENCODING 6\0"s + "5\nBITMAP\n" +
                              "\0FF\n"s + "07\nENDCHAR\n";
  EXPECT_EQ(readHalfFontText(withNul), FontReadResult::Read);
  EXPECT_EQ(halfRows(6), padded({0x07}, 16));  // a line that is empty up to its NUL is no row
  EXPECT_EQ(chainLength(), 1);
  EXPECT_EQ(takeOutput(), "");
}

// A fresh folder for font files, removed with its contents at the end of the test.
struct FontFolder {
  FontFolder() : path(mkdtemp(pattern) ? pattern : "") {}
  ~FontFolder() { if (!path.empty()) std::filesystem::remove_all(path); }
  char pattern[28] = "/tmp/bdf_reader_test.XXXXXX";
  std::string write(const std::string& name, const std::string& bytes) const {
    const std::string file = path + "/" + name;
    std::ofstream(file, std::ios::binary) << bytes;
    return file;
  }
  std::string path;
};

TEST_F(BdfReaderTest, ReadOnlyFontFileReadsLikeTheSameTextInMemory) {
  FontFolder folder;
  ASSERT_FALSE(folder.path.empty());
  ASSERT_EQ(chmod(folder.path.c_str(), 0755), 0);
  for (const std::string eol : {"\r\n", "\n"}) {
    SCOPED_TRACE(eol == "\n" ? "LF" : "CR LF");
    clearGlyphStore();
    std::string text = kHalfHeader;
    for (int code = 1; code <= 255; ++code) {
      char row[3];
      std::snprintf(row, sizeof row, "%02X", code);
      text += character(std::to_string(code), std::vector<std::string>(16, row));
    }
    if (eol != "\n") text = withCrLf(text);
    // Comment lines move a line end onto the first 64 KiB's end: the CR of "ENDCHAR\r\n" is its last byte,
    // or a row "0F" is split after its "0".
    const std::string before = eol == "\n" ? "STARTCHAR again\nENCODING 200\nBITMAP\n0"
                                           : "STARTCHAR again\r\nENCODING 200\r\nBITMAP\r\n0F\r\nENDCHAR\r";
    const std::string comment = "COMMENT" + eol;
    const std::size_t pad = 65536 - text.size() - before.size();
    ASSERT_GE(pad, comment.size());
    for (std::size_t i = 1; i < pad / comment.size(); ++i) text += comment;
    text += "COMMENT" + std::string(pad % comment.size(), ' ') + eol + before;
    ASSERT_EQ(text.size(), 65536u);
    const std::string after = (eol == "\n" ? "F\nENDCHAR\n" : "\n") + character("201", {"55"}) + "ENDFONT\n";
    text += eol == "\n" ? after : withCrLf(after).substr(1);

    const std::string file = folder.write(eol == "\n" ? "lf.bdf" : "crlf.bdf", text);
    ASSERT_EQ(chmod(file.c_str(), 0444), 0);
    // Permission bits do not bind root, so a child process reads the file as the unprivileged user "nobody".
    EXPECT_EXIT(
        {
          if (geteuid() == 0 && setuid(65534) != 0) std::_Exit(2);
          std::_Exit(readHalfFont(file) == FontReadResult::Read && halfGlyphTable[201] != nullptr ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
    EXPECT_EQ(readHalfFont(file), FontReadResult::Read);
    const auto fromFile = storeContents();
    EXPECT_EQ(fromFile.size(), 255u);
    EXPECT_EQ(halfRows(200), padded({0x0F}, 16));
    EXPECT_EQ(halfRows(201), padded({0x55}, 16));
    clearGlyphStore();
    readHalfFontText(text);
    EXPECT_EQ(storeContents(), fromFile);
    EXPECT_EQ(takeOutput(), "");
  }
}

TEST_F(BdfReaderTest, FontFilesThatCannotBeOpenedAreReportedWithTheirPath) {
  FontFolder folder;
  ASSERT_FALSE(folder.path.empty());
  const std::string missing = folder.path + "/missing%d%s.bdf";  // the name goes out as it is
  EXPECT_EQ(readHalfFont(missing), FontReadResult::OpenFailed);
  EXPECT_EQ(readFullFont(missing), FontReadResult::OpenFailed);
  const std::string message = encodeCodePage932("ファイル(" + missing + ")オープンエラー\n");
  EXPECT_EQ(takeOutput(), message + message);
  // A folder is no font file either.
  EXPECT_EQ(readHalfFont(folder.path), FontReadResult::OpenFailed);
  EXPECT_EQ(takeOutput(), encodeCodePage932("ファイル(" + folder.path + ")オープンエラー\n"));
  EXPECT_EQ(glyphChain, nullptr);

  const std::string full = folder.write("full.bdf", kFullHeader + character("9250", {"8001"}));
  EXPECT_EQ(readFullFont(full), FontReadResult::Read);
  EXPECT_EQ(fullRows(0x3042), padded({0x80, 0x01}, 32));
  EXPECT_EQ(takeOutput(), "");
}

}  // namespace
