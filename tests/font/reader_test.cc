// The BDF reader on the fonts of reader_cases.txt, each read from memory, from a file (in chunks of 64 KiB) and
// from memory with the end mark 0x1A after it: the glyph store, the result and the messages must be as the case says.
#include <gtest/gtest.h>

#include <fstream>
#include <regex>

#include "font/bdf_reader.h"
#include "font/glyph_store.h"
#include "support/support.h"
#include "text/code_page_932.h"
#include "text/console.h"

// The store and the result as reader_cases.txt writes them, then what was printed: for the font read from memory,
// from a file, and from memory with 0x1A after it, one after the other.
static std::string readAndDump(bool full, const std::string& text) {
  const auto hex = [](unsigned value, int digits) { char cell[9]; return std::string(cell, std::snprintf(cell, sizeof cell, "%0*X", digits, value)); };
  std::string printed, dump;
  TempDir dir;
  writeFile(dir.file("font.bdf"), text);
  for (const int way : {0, 1, 2}) {
    clearGlyphStore(), printed.clear(), consoleCaptureTo(&printed);
    const FontReadResult result = way == 1 ? (full ? readFullFont : readHalfFont)(dir.file("font.bdf"))
                                           : (full ? readFullFontText : readHalfFontText)(way == 0 ? text : text + '\x1A');
    consoleFlush(), consoleCaptureTo(nullptr);
    int unlisted = 0;  // records on the chain less those in the table
    for (const GlyphRecord* record = glyphChain; record != nullptr; record = record->next) ++unlisted;
    for (int code = 0; code < (full ? kFullTableSize : kHalfTableSize); ++code) {
      if (const GlyphRecord* glyph = full ? fullGlyphTable[code] : halfGlyphTable[code]) {
        std::string line = (full ? "F" : "H") + hex(code, full ? 4 : 2);
        for (std::size_t row = 0; row < 16; ++row)
          line += " " + (full ? hex(glyph->fullBitmap[2 * row] << 8 | glyph->fullBitmap[2 * row + 1], 4) : hex(glyph->halfBitmap[row], 2));
        while (line.ends_with(full ? " 0000" : " 00")) line.resize(line.size() - (full ? 5 : 3));
        dump += line + "\n", --unlisted;
      }
    }
    if (unlisted != 0) dump += "chain " + std::to_string(unlisted) + " more\n";
    dump += (result == FontReadResult::SizeRejected ? "result SizeRejected\n" : "") + printed;
  }
  return dump;
}

TEST(BdfReader, SmallFontsFromMemoryFilesAndTheCarefulPath) {
  std::ifstream cases(MASKBURN_SOURCE_DIR "/tests/font/reader_cases.txt");
  std::string line, title, expected;
  std::vector<std::string> fonts;  // one for each choice of the "A | B" lines
  std::size_t checked = 0;
  for (bool more = true; more;) {
    if (more = !!std::getline(cases, line); !more || line.starts_with("== ")) {
      for (const std::string& font : fonts) EXPECT_EQ(readAndDump(title.starts_with("== full"), font), expected + expected + expected) << title;
      checked += fonts.size(), title = line, fonts = {""}, expected.clear();
    } else if (line.starts_with("> ")) {
      expected += encodeCodePage932(line.substr(2)) + "\n";
    } else if (!line.empty() && !line.starts_with("#")) {
      std::vector<std::string> next;
      for (std::size_t at = 0, bar = 0; bar != std::string::npos; at = bar + 3) {
        std::string choice = line.substr(at, (bar = line.find(" | ", at)) - at);
        if (choice.starts_with("@"))  // "@CODE: ROW, ROW": the lines of a character
          choice = std::regex_replace(std::regex_replace(choice, std::regex(", "), "\\n"), std::regex("@([^:]*): (.*)"), "STARTCHAR c\\nENCODING $1\\nBITMAP\\n$2\\nENDCHAR");
        for (const std::string& font : fonts) next.push_back(font + unescape(choice) + (line.ends_with("\\c") ? "" : "\n"));
      }
      fonts = next;
    }
  }
  EXPECT_EQ(checked, 14u);
  EXPECT_EQ(readHalfFontText({}), FontReadResult::Read);  // an empty view: no buffer at all
}
