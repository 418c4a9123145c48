// The BDF reader's state machine, shared by both variants; the variants differ only in the table below.
// Only COMMENT, STARTCHAR, ENCODING, BITMAP, ENDCHAR, FONTBOUNDINGBOX and bitmap rows are understood, and
// for full-width fonts CHARSET_REGISTRY and CHARSET_ENCODING before the first character (the code set, which
// also says how a full-width font's rows of one or two digits are placed).
#include "font/bdf_reader.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "font/c_number.h"
#include "font/font_file.h"
#include "font/glyph_store.h"
#include "font/jis_mapping.h"
#include "font/line_scanner.h"
#include "text/console.h"

namespace {

enum class ParseState { Outside, Header, Bitmap };

enum class FontKind { Half, Full };

struct FontVariant {
  FontKind kind;
  std::string_view width;   // required FONTBOUNDINGBOX width token
  std::string_view height;  // required FONTBOUNDINGBOX height token
  Text sizeMismatch;
  std::size_t bitmapBytes;  // 16 rows of 1 or 2 bytes
};

constexpr FontVariant kHalfVariant{FontKind::Half, "8", "16", Text::HalfFontSizeMismatch, 16};
constexpr FontVariant kFullVariant{FontKind::Full, "16", "16", Text::FullFontSizeMismatch, 32};

struct ReadingState {
  ParseState state = ParseState::Outside;
  std::uint16_t pendingCode = 0;  // 0 = none
  bool pendingUnmapped = false;   // the character's code has no key in the font's code set
  std::uint8_t bitmap[32] = {};
  std::size_t writePosition = 0;
  int skippedHalfCodes = 0;  // half-width characters whose code is above 255
  int skippedFullCodes = 0;  // full-width characters whose code the code set does not map
  bool charactersStarted = false;
  std::string registry, encoding;  // CHARSET_REGISTRY and CHARSET_ENCODING, upper case, without quotes
  FullWidthCodes codes = FullWidthCodes::JisX0208;
};

// A property's value: its first token without the double quotes around it, in upper case.
std::string propertyValue(std::string_view line, std::size_t valuesPos) {
  std::string_view value = nextToken(line, &valuesPos);
  if (value.size() >= 2 && value.front() == '"' && value.back() == '"') value = value.substr(1, value.size() - 2);
  std::string upper(value);
  for (char& c : upper) c = c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
  return upper;
}

void notePropertyLine(ReadingState& reading, std::string_view keyword, std::string_view line, std::size_t valuesPos) {
  if (keyword == "CHARSET_REGISTRY") reading.registry = propertyValue(line, valuesPos);
  if (keyword == "CHARSET_ENCODING") reading.encoding = propertyValue(line, valuesPos);
  const bool jisX0213 = reading.registry == "JISX0213.2000" || reading.registry == "JISX0213.2004";
  const bool unicode = reading.registry == "ISO10646" && reading.encoding == "1";
  reading.codes = unicode                   ? FullWidthCodes::Unicode
                  : !jisX0213               ? FullWidthCodes::JisX0208
                  : reading.encoding == "1" ? FullWidthCodes::JisX0213Plane1
                  : reading.encoding == "2" ? FullWidthCodes::JisX0213Plane2
                                            : FullWidthCodes::JisX0208;
}

void commitGlyph(const FontVariant& variant, ReadingState& reading) {
  if (reading.pendingUnmapped) {
    ++reading.skippedFullCodes;
  } else if (reading.pendingCode == 0) {
    return;  // no code, or a full-width code with no key (lead byte 0)
  } else if (variant.kind == FontKind::Full) {
    commitFullGlyph(reading.pendingCode, reading.bitmap);
  } else if (reading.pendingCode > 255) {
    ++reading.skippedHalfCodes;  // the half-width table has 256 entries
  } else {
    std::uint8_t rows[16];
    std::memcpy(rows, reading.bitmap, sizeof rows);
    commitHalfGlyph(static_cast<std::uint8_t>(reading.pendingCode), rows);
  }
}

// Stores a bitmap row read from `digits` hex digits. BDF fills rows from the left, and a Unicode font's narrow
// characters write theirs with one or two digits: such a row is the left byte, the right one blank. Elsewhere
// a row of any length is one number, whose low byte is the right byte of a full-width row.
void storeRow(const FontVariant& variant, ReadingState& reading, std::int32_t value, std::size_t digits) {
  if (reading.writePosition >= variant.bitmapBytes) return;  // rows beyond the 16th are dropped
  const auto bits = static_cast<std::uint32_t>(value);
  if (variant.kind == FontKind::Half) {
    reading.bitmap[reading.writePosition++] = static_cast<std::uint8_t>(bits);
    return;
  }
  const bool leftOnly = reading.codes == FullWidthCodes::Unicode && digits <= 2;
  reading.bitmap[reading.writePosition++] = static_cast<std::uint8_t>(leftOnly ? bits : bits >> 8);
  reading.bitmap[reading.writePosition++] = static_cast<std::uint8_t>(leftOnly ? 0 : bits);
}

// Handles one line; returns false when reading must stop (size mismatch).
// keyword is the line's first token; the values are taken from the rest of the line when needed.
bool handleLine(const FontVariant& variant, ReadingState& reading, std::string_view keyword, std::string_view line,
                std::size_t valuesPos) {
  if (keyword == "COMMENT") return true;
  if (keyword == "STARTCHAR") {
    reading.state = ParseState::Header;
    reading.pendingCode = 0;
    reading.pendingUnmapped = false;
    reading.charactersStarted = true;
    std::memset(reading.bitmap, 0, sizeof reading.bitmap);  // a character without BITMAP is blank
    reading.writePosition = 0;
    return true;
  }
  if (keyword == "BITMAP") {
    reading.state = ParseState::Bitmap;
    std::memset(reading.bitmap, 0, sizeof reading.bitmap);
    reading.writePosition = 0;
    return true;
  }
  if (keyword == "ENDCHAR") {
    commitGlyph(variant, reading);
    reading.state = ParseState::Outside;
    reading.pendingCode = 0;
    reading.pendingUnmapped = false;
    return true;
  }
  switch (reading.state) {
    case ParseState::Outside:
      if (variant.kind == FontKind::Full && !reading.charactersStarted) notePropertyLine(reading, keyword, line, valuesPos);
      if (keyword != "FONTBOUNDINGBOX") break;
      if (nextToken(line, &valuesPos) != variant.width || nextToken(line, &valuesPos) != variant.height) {
        consolePrint(variant.sizeMismatch);
        return false;
      }
      break;
    case ParseState::Header:
      if (keyword == "ENCODING") {
        const std::int32_t value = parseDecimal32(nextToken(line, &valuesPos));
        if (variant.kind == FontKind::Full) {
          const FullWidthKey key = fullWidthKey(value, reading.codes);
          reading.pendingCode = key.key;
          reading.pendingUnmapped = key.unmapped;
        } else {
          reading.pendingCode = static_cast<std::uint16_t>(value);
        }
      }
      break;
    case ParseState::Bitmap: {
      std::size_t digits = 0;
      const std::int32_t value = parseHex32WithDigits(keyword, &digits);
      storeRow(variant, reading, value, digits);
      break;
    }
  }
  return true;
}

FontReadResult readFont(const FontVariant& variant, LineScanner& scanner) {
  ReadingState reading;
  FontReadResult result = FontReadResult::Read;
  for (;;) {
    std::uint32_t row = 0;
    std::size_t digits = 0;
    if (reading.state == ParseState::Bitmap && nextPlainHexRow(scanner, &row, &digits)) {
      storeRow(variant, reading, static_cast<std::int32_t>(row), digits);
      continue;
    }
    const std::string_view line = nextLine(scanner);
    if (line.empty()) break;
    std::size_t pos = 0;
    const std::string_view keyword = nextToken(line, &pos);
    if (keyword.empty()) continue;  // a line with no token
    if (!handleLine(variant, reading, keyword, line, pos)) {
      result = FontReadResult::SizeRejected;
      break;
    }
  }
  if (reading.skippedHalfCodes > 0) consolePrint(Text::HalfCodesIgnored, reading.skippedHalfCodes);
  if (reading.skippedFullCodes > 0) consolePrint(Text::FullCodesIgnored, reading.skippedFullCodes);
  return result;
}

FontReadResult readFontFile(const FontVariant& variant, const std::string& path) {
  // Read-only: the reader never writes a font, so a read-only font must read normally.
  const ReadOnlyFile file = openFontForReading(path);
  if (!file) {
    consolePrint(Text::FontOpenError, path.c_str());
    return FontReadResult::OpenFailed;
  }
  std::unique_ptr<LineScanner> scanner(new LineScanner);  // its buffers need no clearing
  startScanning(*scanner, file.get());
  return readFont(variant, *scanner);
}

FontReadResult readFontText(const FontVariant& variant, std::string_view text) {
  std::unique_ptr<LineScanner> scanner(new LineScanner);
  startScanning(*scanner, text);
  return readFont(variant, *scanner);
}

}  // namespace

FontReadResult readHalfFont(const std::string& path) { return readFontFile(kHalfVariant, path); }
FontReadResult readFullFont(const std::string& path) { return readFontFile(kFullVariant, path); }
FontReadResult readHalfFontText(std::string_view text) { return readFontText(kHalfVariant, text); }
FontReadResult readFullFontText(std::string_view text) { return readFontText(kFullVariant, text); }
