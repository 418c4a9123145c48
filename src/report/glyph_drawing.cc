// Glyph drawing from a table of the 256 possible 8-pixel rows, built once from the catalogue's two marks;
// a glyph is then 16 rows copied straight into the console buffer.
#include "report/glyph_drawing.h"

#include <cstdlib>
#include <cstring>
#include <string>

#include "text/console.h"

namespace {

// Two-byte marks and a one-byte line end, as code page 932 gives them: rows have a fixed size.
constexpr std::size_t kRowMarkBytes = 16;
constexpr std::size_t kRowBytes = kRowMarkBytes + 1;

struct RowTable {
  char rows[256][kRowBytes];  // the 8 marks of each byte, then the line end
};

RowTable buildRowTable() {
  RowTable table;
  const std::string& ink = consoleText(Text::InkMark);
  const std::string& paper = consoleText(Text::PaperMark);
  const std::string& lineEnd = consoleText(Text::LineEnd);
  if (ink.size() * 8 != kRowMarkBytes || paper.size() != ink.size() || lineEnd.size() != 1) std::abort();
  for (int byte = 0; byte < 256; ++byte) {
    char* out = table.rows[byte];
    for (int bit = 7; bit >= 0; --bit, out += ink.size()) {
      std::memcpy(out, ((byte >> bit) & 1) ? ink.data() : paper.data(), ink.size());
    }
    *out = lineEnd[0];
  }
  return table;
}

const RowTable& rowTable() {
  static const RowTable table = buildRowTable();
  return table;
}

char* putHalfRow(char* out, const RowTable& table, std::uint8_t byte) {
  std::memcpy(out, table.rows[byte], kRowBytes);
  return out + kRowBytes;
}

char* putFullRow(char* out, const RowTable& table, std::uint8_t left, std::uint8_t right) {
  std::memcpy(out, table.rows[left], kRowMarkBytes);
  std::memcpy(out + kRowMarkBytes, table.rows[right], kRowBytes);
  return out + kRowMarkBytes + kRowBytes;
}

}  // namespace

void drawHalfGlyph(const std::uint8_t* rows) {
  const RowTable& table = rowTable();
  char* out = consoleReserve(16 * kRowBytes);
  for (int row = 0; row < 16; ++row) out = putHalfRow(out, table, rows[row]);
}

void drawFullGlyph(const std::uint8_t* rows) {
  const RowTable& table = rowTable();
  char* out = consoleReserve(16 * (kRowMarkBytes + kRowBytes));
  for (int row = 0; row < 16; ++row) out = putFullRow(out, table, rows[2 * row], rows[2 * row + 1]);
}
