// The BDF reader on the small fonts of reader_cases.txt: each is read from memory and from a file (in chunks
// of 64 KiB); the glyph store, the result and the messages must be as the case says.
#include <gtest/gtest.h>

#include <fstream>

#include "font/bdf_reader.h"
#include "font/glyph_store.h"
#include "support/support.h"
#include "text/code_page_932.h"
#include "text/console.h"

namespace {

// The store and the result, one line each: "H41 81 7E" (a half-width code and its rows, trailing zero rows left
// out), "F3042 0180 7FFE" (a full-width key), "chain N", "result ..." unless read to the end; then what was printed.
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
  releaseGlyphStore();
  return dump + printed;
}

TEST(BdfReader, SmallFontsFromMemoryAndFiles) {
  std::ifstream cases(MASKBURN_SOURCE_DIR "/tests/font/reader_cases.txt");
  std::string line, title, flags, text, expected;
  int checked = 0;
  const auto finish = [&] {
    if (title.empty()) return;
    SCOPED_TRACE(title);
    for (const bool fromFile : {false, true}) EXPECT_EQ(readAndDump(flags == "full", fromFile, text), expected);
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
      expected += (line.starts_with("message ") ? encodeCodePage932(line.substr(8)) : line) + "\n";
    }
  }
  finish();
  EXPECT_GT(checked, 10);
  EXPECT_EQ(readHalfFontText({}), FontReadResult::Read);  // an empty view: no buffer at all
}

}  // namespace
