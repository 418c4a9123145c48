// The BDF font reader: half-width (8x16, one-byte codes) and full-width (16x16, JIS X 0208 codes) variants.
// Each commits the glyphs it finds to the glyph store and reports its own trouble on the console.
#pragma once

#include <string>
#include <string_view>

enum class FontReadResult {
  Read,          // read to the end (glyphs committed)
  OpenFailed,    // the file could not be opened: nothing read
  SizeRejected,  // a FONTBOUNDINGBOX line named the wrong size: reading stopped there
};

// Reads the named font file (opened for reading only).
FontReadResult readHalfFont(const std::string& path);
FontReadResult readFullFont(const std::string& path);

// The same reading applied to font text held in memory.
FontReadResult readHalfFontText(std::string_view text);
FontReadResult readFullFontText(std::string_view text);
