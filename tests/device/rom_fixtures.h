// ROMs for the romfont and viewer tests, made by the real converter from a BDF pair (the committed tiny pair:
// '0', 'A', '~', half-width katakana 'ｱ', U+3000, U+3042, U+2460 and U+4E9C; or the real Shinonome pair),
// with the bitmaps the BDF files hold, read here independently of the tool; and romfont sources over them,
// from exact-size heap copies or through a read function.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "font/jis_mapping.h"
#include "romfont.h"
#include "support/real_fonts.h"
#include "support/run_tool.h"

inline const std::string kTinyHalf = MASKBURN_SOURCE_DIR "/tests/fixtures/tiny8x16.bdf";
inline const std::string kTinyFull = MASKBURN_SOURCE_DIR "/tests/fixtures/tiny16x16.bdf";

// Glyph bytes as romfont gives them: half-width glyphs use the first 16, the rest stay zero.
using Bitmap = std::array<std::uint8_t, 32>;

// Half-width codes and UTF-16 keys of full-width glyphs, with their bitmaps.
struct Glyphs {
  std::map<unsigned, Bitmap> half, full;
};

struct RomFiles {
  std::string index, data;
};

// The ROM the converter executable makes from a BDF pair.
inline RomFiles convertFonts(const std::string& halfPath, const std::string& fullPath) {
  TempDir dir;
  EXPECT_EQ(runTool({"-8x16", halfPath, "-16x16", fullPath}, dir.path).exitStatus, 0) << halfPath << ", " << fullPath;
  return {readFile(dir.file("FONTINDEX.BIN")), readFile(dir.file("FONTDATA.BIN"))};
}
// The ROM of the committed tiny pair.
inline RomFiles tinyRom() { return convertFonts(kTinyHalf, kTinyFull); }

// The bitmaps a BDF pair holds: the first 16 rows of each character (zero rows after its last), full-width
// characters under their UTF-16 keys.
inline Glyphs bdfGlyphs(const std::string& halfPath, const std::string& fullPath) {
  Glyphs glyphs;
  for (const bool full : {false, true}) {
    for (const ParsedGlyph& parsed : parseBdfGlyphs(full ? fullPath : halfPath)) {
      Bitmap& bitmap = full ? glyphs.full[jisToUnicodeKey(static_cast<std::int32_t>(parsed.encoding))]
                            : glyphs.half[static_cast<unsigned>(parsed.encoding)];
      for (std::size_t row = 0; row < 16 && row < parsed.rows.size(); ++row) {
        if (full) bitmap[2 * row] = static_cast<std::uint8_t>(parsed.rows[row] >> 8);
        bitmap[full ? 2 * row + 1 : row] = static_cast<std::uint8_t>(parsed.rows[row] & 0xFF);
      }
    }
  }
  return glyphs;
}

// The committed tiny pair, and the real Shinonome pair (paths "" where it is not installed: skip it).
inline std::vector<std::pair<std::string, std::string>> fontPairs() {
  return {{kTinyHalf, kTinyFull}, {realFontPath("shnm8x16r"), realFontPath("shnmk16")}};
}

// A heap block of exactly the bytes' size holding them, so AddressSanitizer catches a read past its end
// (except from an empty block, which it treats as one byte: reads from empty files are caught by the reference
// lookups and the read function's check instead).
inline std::unique_ptr<std::uint8_t[]> exactCopy(const std::string& bytes) {
  std::unique_ptr<std::uint8_t[]> copy(new std::uint8_t[bytes.size()]);
  std::memcpy(copy.get(), bytes.data(), bytes.size());
  return copy;
}

// The two romfont sources over a ROM: `memory` over exact heap copies of the files, and `callback` through a
// read function that counts its calls, fails the failAtCall-th (from 1; 0: never) and fails the test when
// asked for bytes outside the files. It scribbles on the buffer first, so a lookup that hands out what a
// failed read left there shows.
struct Rom {
  explicit Rom(RomFiles romFiles)
      : files(std::move(romFiles)),
        index(exactCopy(files.index)),
        data(exactCopy(files.data)),
        init(romfont_init_memory(&memory, index.get(), size(files.index), data.get(), size(files.data))) {
    romfont_init_callback(&callback, read, this, size(files.index), size(files.data));
  }
  Rom(const Rom&) = delete;  // callback points at this object
  static std::uint32_t size(const std::string& bytes) { return static_cast<std::uint32_t>(bytes.size()); }
  static std::uint8_t read(void* context, std::uint8_t file, std::uint32_t offset, std::uint8_t* buffer,
                           std::uint16_t length) {
    Rom& rom = *static_cast<Rom*>(context);
    std::memset(buffer, 0xA5, length);
    const std::string& bytes = file == ROMFONT_DATA_FILE ? rom.files.data : rom.files.index;
    const bool inside = file <= ROMFONT_DATA_FILE && std::size_t{offset} + length <= bytes.size();
    EXPECT_TRUE(inside) << length << " bytes at " << offset << " of file " << int{file};
    if (++rom.calls == rom.failAtCall || !inside) return 0;
    std::memcpy(buffer, bytes.data() + offset, length);
    return 1;
  }
  RomFiles files;
  std::unique_ptr<std::uint8_t[]> index, data;
  romfont memory{}, callback{};
  romfont_result init;  // of memory
  int calls = 0, failAtCall = 0;
};
