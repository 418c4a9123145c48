// The one-file image of a ROM, laid out as device/romfont/src/romfont_image.h defines it (the format's one
// definition): a header, the index and the data; in version 1 the two ROM files, in version 2 a compact index and
// its data made from them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "romfont.h"

struct BurnImage {
  std::string bytes;  // header, index, data: the image ends with the data's last byte
  std::uint32_t indexOffset = 0;
  std::uint32_t dataOffset = 0;
  std::uint32_t indexCrc = 0;
  std::uint32_t dataCrc = 0;
};

// Lays out the image of an index and a data part (each of at most a ROM file's largest size) under the given
// format version: each part on a 4 KiB boundary with 0xFF between, or packed right after the header and each
// other (for firmware arrays, where the erase sectors of a chip do not matter).
BurnImage layOutImage(std::string_view index, std::string_view data, std::uint16_t version, bool packed = false);

// The compact index and data (version 2) of a ROM: every half-width code and full-width key looked up through
// romfont, so each glyph is the one firmware gets from the ROM; lookups that fail count as no glyph (survey a
// ROM for damage first).
struct CompactRom {
  std::string index;
  std::string data;
  std::size_t half = 0;
  std::size_t full = 0;
};
CompactRom compactRom(const romfont& font);
