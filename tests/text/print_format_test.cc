// The compiled printf subset against the C library's snprintf, over every catalogue format that takes
// numbers and over awkward values; and listing rows against one print per cell.
#include "text/print_format.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdio>

#include "text/console.h"

namespace {

std::string viaCompiled(std::string_view pattern, const std::vector<int>& values) {
  const CompiledFormat compiled = compileFormat(pattern);
  std::string out;
  std::size_t next = 0;
  for (const FormatPiece& piece : compiled.pieces) {
    out += piece.literal;
    if (piece.conversion == 0) continue;
    char digits[kIntegerRoom];
    out.append(digits, formatInteger(digits, values.at(next++), piece));
  }
  return out;
}

// The catalogue's formats are the reference's input here, so they cannot be literals.
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
std::string viaSnprintf(const std::string& pattern, const std::vector<int>& values) {
  char buffer[512];
  int length = 0;
  switch (values.size()) {
    case 1: length = std::snprintf(buffer, sizeof buffer, pattern.c_str(), values[0]); break;
    case 2: length = std::snprintf(buffer, sizeof buffer, pattern.c_str(), values[0], values[1]); break;
    case 4: length = std::snprintf(buffer, sizeof buffer, pattern.c_str(), values[0], values[1], values[2], values[3]); break;
    case 5:
      length = std::snprintf(buffer, sizeof buffer, pattern.c_str(), values[0], values[1], values[2], values[3], values[4]);
      break;
    default: ADD_FAILURE() << "unexpected argument count";
  }
  return std::string(buffer, static_cast<std::size_t>(length));
}

TEST(PrintFormat, MatchesSnprintfOnEveryNumericCatalogueFormat) {
  const int samples[] = {0, 1, 9, 10, 15, 16, 99, 100, 255, 999, 1000, 4095, 4096, 9999, 10000, 65535, 65536,
                         99999, 1234567, INT_MAX, -1, -9, -10, -255, -65535, INT_MIN};
  int checked = 0;
  for (int i = 0; i < static_cast<int>(Text::Count); ++i) {
    const std::string& pattern = consoleText(static_cast<Text>(i));
    const CompiledFormat compiled = compileFormat(pattern);
    if (compiled.takesText || compiled.pieces.size() == 1) continue;
    const std::size_t arguments = compiled.pieces.size() - 1;
    for (std::size_t first = 0; first < std::size(samples); ++first) {
      std::vector<int> values;
      for (std::size_t k = 0; k < arguments; ++k) values.push_back(samples[(first + 7 * k) % std::size(samples)]);
      ASSERT_EQ(viaCompiled(pattern, values), viaSnprintf(pattern, values)) << pattern << " " << values[0];
      ++checked;
    }
  }
  EXPECT_GT(checked, 300);
}

TEST(PrintFormat, KeepsUnsupportedPercentsAndWidthsAsPrintfWould) {
  EXPECT_EQ(viaCompiled("100% [%5d] %q", {42}), "100% [   42] %q");
  EXPECT_EQ(viaCompiled("[%06X]", {0xBEEF}), "[00BEEF]");
  EXPECT_EQ(viaCompiled("%05d|%2X", {-42, 0xABC}), "-0042|ABC");
  const CompiledFormat text = compileFormat("'%s' %d");
  EXPECT_TRUE(text.takesText);
}

TEST(PrintFormat, ListingRowsEqualOnePrintPerCell) {
  const std::uint16_t values[] = {0, 0, 7, 7, 0, 65535, 300, 0};
  std::string cells;
  std::string single;
  consoleCaptureTo(&cells);
  consolePrintCells(Text::ReportFullRowCell, Text::ReportFullRowBlank, values, std::size(values));
  consolePrintCells(Text::DumpBlockRowCell, Text::Count, values, std::size(values));
  consoleCaptureTo(&single);
  for (std::uint16_t value : values) {
    if (value == 0) {
      consolePrint(Text::ReportFullRowBlank);
    } else {
      consolePrint(Text::ReportFullRowCell, static_cast<int>(value));
    }
  }
  for (std::uint16_t value : values) consolePrint(Text::DumpBlockRowCell, static_cast<int>(value));
  consoleCaptureTo(nullptr);
  EXPECT_EQ(cells, single);
  EXPECT_EQ(single.substr(0, 24), "[    ][    ][   7][   7]");
}

}  // namespace
