// The BDF reader on the small fonts of reader_cases.txt: each is read from memory and from a file (and, where
// marked, with CR LF line ends too), and the glyph store, result and messages must be as the case says.
// Also a font file read in chunks, with line ends and rows split across a chunk's end.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "font/bdf_reader.h"
#include "font/glyph_store.h"
#include "support/support.h"
#include "text/code_page_932.h"
#include "text/console.h"

namespace {

// The store, the result and what was printed, one line each: "H41 81 7E" (a half-width code and its rows,
// trailing zero rows left out), "F3042 0180 7FFE" (a full-width key), "chain N", "result ...", "message ...".
std::string readAndDump(bool full, bool fromFile, const std::string& text) {
  clearGlyphStore();
  std::string printed, dump;
  consoleCaptureTo(&printed);
  TempDir dir;
  const std::string path = dir.file("font.bdf");
  writeFile(path, text);
  const FontReadResult result = fromFile ? (full ? readFullFont(path) : readHalfFont(path))
                                         : (full ? readFullFontText(text) : readHalfFontText(text));
  consoleFlush();
  consoleCaptureTo(nullptr);
  char cell[8];
  for (int code = 0; code < kFullTableSize; ++code) {
    const GlyphRecord* record = full ? fullGlyphTable[code] : code < kHalfTableSize ? halfGlyphTable[code] : nullptr;
    if (record == nullptr) continue;
    std::snprintf(cell, sizeof cell, full ? "F%04X" : "H%02X", code);
    std::string line = cell;
    for (std::size_t row = 0; row < 16; ++row) {
      std::snprintf(cell, sizeof cell, full ? " %02X%02X" : " %02X", full ? record->fullBitmap[2 * row] : record->halfBitmap[row],
                    record->fullBitmap[2 * row + 1]);
      line += cell;
    }
    while (line.ends_with(full ? " 0000" : " 00")) line.resize(line.size() - (full ? 5 : 3));
    dump += line + "\n";
  }
  int chain = 0;
  for (const GlyphRecord* record = glyphChain; record != nullptr; record = record->next) ++chain;
  dump += "chain " + std::to_string(chain) + "\n";
  if (result == FontReadResult::SizeRejected) dump += "result SizeRejected\n";
  std::istringstream lines(printed);
  for (std::string line; std::getline(lines, line);) dump += "message " + line + "\n";
  releaseGlyphStore();
  return dump;
}

TEST(BdfReader, SmallFontsFromMemoryAndFiles) {
  std::ifstream cases(MASKBURN_SOURCE_DIR "/tests/font/reader_cases.txt");
  std::string line, title, flags, text, expected;
  int checked = 0;
  const auto finish = [&] {
    if (title.empty()) return;
    SCOPED_TRACE(title);
    for (const bool fromFile : {false, true}) EXPECT_EQ(readAndDump(flags.starts_with("full"), fromFile, text), expected);
    std::string crlf;
    for (const char c : text) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    if (flags.ends_with("crlf")) {
      EXPECT_EQ(readAndDump(flags.starts_with("full"), false, crlf), expected) << "CR LF";
    }
    ++checked;
  };
  bool inFont = false;
  while (std::getline(cases, line)) {
    if (line.starts_with("== ")) {
      finish();
      title = line.substr(3), text.clear(), expected.clear(), inFont = true;
      std::getline(cases, flags);
    } else if (inFont && line == "--") {
      inFont = false;
    } else if (inFont) {
      text += unescape(line) + (line.ends_with("\\c") ? "" : "\n");
    } else if (!line.empty() && !line.starts_with("#")) {
      expected += line.starts_with("message ") ? "message " + encodeCodePage932(line.substr(8)) + "\n" : line + "\n";
    }
  }
  finish();
  EXPECT_GT(checked, 10);
  EXPECT_EQ(readHalfFontText({}), FontReadResult::Read);  // an empty view: no buffer at all
}

// Files are read in 64 KiB chunks: a CR LF line end, or a row's digits, split at a chunk's end read as whole.
TEST(BdfReader, LinesAcrossTheEndOfAChunk) {
  for (const std::string eol : {"\r\n", "\n"}) {
    std::string text = "FONTBOUNDINGBOX 8 16 0 -2" + eol;
    for (int code = 1; code <= 255; ++code) {
      text += "STARTCHAR c" + eol + "ENCODING " + std::to_string(code) + eol + "BITMAP" + eol + "5A" + eol + "ENDCHAR" + eol;
    }
    // The first chunk ends after the "0" of a row "0F", or after the CR of "ENDCHAR\r\n".
    const std::string tail = "STARTCHAR x" + eol + "ENCODING 65" + eol + "BITMAP" + eol + (eol == "\n" ? "0" : "0F\r\nENDCHAR\r");
    while (text.size() + tail.size() + 300 < 65536) text += "COMMENT" + eol;
    text += "COMMENT" + std::string(65536 - text.size() - tail.size() - 7 - eol.size(), ' ') + eol + tail;
    ASSERT_EQ(text.size(), 65536u);
    text += std::string(eol == "\n" ? "F\nENDCHAR\n" : "\n") + "ENDFONT" + eol;
    const std::string dump = readAndDump(false, true, text);
    EXPECT_EQ(dump, readAndDump(false, false, text)) << (eol == "\n" ? "LF" : "CR LF");
    EXPECT_NE(dump.find("H41 0F\n"), std::string::npos) << dump.substr(0, 200);
  }
}

}  // namespace
