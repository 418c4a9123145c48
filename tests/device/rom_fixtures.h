// ROMs for the romfont and viewer tests, made by the real converter from a BDF pair (the committed tiny pair:
// '0', 'A', '~', half-width katakana 'ｱ', U+3000, U+3042, U+2460 and U+4E9C; or real Shinonome pairs), with
// the bitmaps the BDF files hold, read here independently of the tool; and romfont sources over a ROM, from
// exact-size heap copies (so AddressSanitizer sees a read past their end) or through a read function.
#pragma once

#include <array>
#include <cstring>
#include <fstream>
#include <map>
#include <vector>

#include "font/jis_mapping.h"
#include "romfont.h"
#include "support/support.h"

inline const std::string kTinyHalf = MASKBURN_SOURCE_DIR "/tests/fixtures/tiny8x16.bdf";
inline const std::string kTinyFull = MASKBURN_SOURCE_DIR "/tests/fixtures/tiny16x16.bdf";

// Glyph bytes as romfont gives them: half-width glyphs use the first 16, the rest stay zero.
using Bitmap = std::array<std::uint8_t, 32>;
struct Glyphs {  // bitmaps by half-width code and by full-width UTF-16 key
  std::map<unsigned, Bitmap> half, full;
};
struct RomFiles {
  std::string index, data;
};

// The files the converter executable writes in a fresh folder when run with the given shell words.
inline RomFiles convert(const std::string& arguments, int expectedStatus = 0) {
  TempDir dir;
  EXPECT_EQ(runIn(dir.path, "'" MASKBURN_EXECUTABLE "' " + arguments + " >/dev/null"), expectedStatus) << arguments;
  return {readFile(dir.file("FONTINDEX.BIN")), readFile(dir.file("FONTDATA.BIN"))};
}
inline RomFiles convertPair(const std::string& half, const std::string& full) {
  return convert("-8x16 '" + half + "' -16x16 '" + full + "'");
}
inline RomFiles tinyRom() { return convertPair(kTinyHalf, kTinyFull); }

// The first 16 rows of each character of a BDF pair (zero rows after its last), full-width characters under
// their UTF-16 keys, read here independently of the tool; no two characters may share a code or key.
inline Glyphs bdfGlyphs(const std::string& halfPath, const std::string& fullPath) {
  Glyphs glyphs;
  for (const bool full : {false, true}) {
    std::ifstream in(full ? fullPath : halfPath);
    Bitmap* bitmap = nullptr;
    std::size_t row = 16, characters = 0;
    long code = 0;
    for (std::string word; in >> word; in.ignore(1 << 20, '\n')) {
      if (word == "ENCODING" && in >> code) {
        ++characters;
        bitmap = full ? &glyphs.full[jisToUnicodeKey(static_cast<std::int32_t>(code))] : &glyphs.half[static_cast<unsigned>(code)];
      } else if (word == "BITMAP" || word == "ENDCHAR") {
        row = word == "BITMAP" ? 0 : 16;
      } else if (row < 16) {
        const unsigned long value = std::stoul(word, nullptr, 16);
        if (full) (*bitmap)[2 * row] = static_cast<std::uint8_t>(value >> 8);
        (*bitmap)[full ? 2 * row + 1 : row] = static_cast<std::uint8_t>(value);
        ++row;
      }
    }
    EXPECT_EQ((full ? glyphs.full : glyphs.half).size(), characters) << "codes or keys shared";
  }
  return glyphs;
}

// The two romfont sources over a ROM: `memory` over exact-size copies of the files, and `callback` through a
// read function that counts its calls, fails the failAtCall-th (from 1; 0: never) and fails the test when
// asked for bytes outside the files. It scribbles on the buffer first, so handing out what a failed read
// left there shows.
struct Rom {
  explicit Rom(const RomFiles& romFiles)
      : files(romFiles), index(files.index.begin(), files.index.end()), data(files.data.begin(), files.data.end()),
        init(romfont_init_memory(&memory, index.data(), size(index), data.data(), size(data))) {
    romfont_init_callback(&callback, read, this, size(index), size(data));
  }
  Rom(const Rom&) = delete;  // callback points at this object
  static std::uint32_t size(const std::vector<std::uint8_t>& bytes) { return static_cast<std::uint32_t>(bytes.size()); }
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
  std::vector<std::uint8_t> index, data;  // exactly as large as the files
  romfont memory{}, callback{};
  romfont_result init;  // of memory
  int calls = 0, failAtCall = 0;
};
