// Files read whole for the companion tools, and the two ROM files described to romfont, as firmware with the
// ROM in flash would.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "romfont.h"

struct LoadedRom {
  std::vector<std::uint8_t> index;
  std::vector<std::uint8_t> data;
  romfont font{};
};

// The largest FONTDATA.BIN a ROM can have: 256 half-width glyphs and 65,536 full-width slots.
inline constexpr std::uintmax_t kMaxDataBytes = 256u * ROMFONT_HALF_BYTES + 65536u * ROMFONT_FULL_BYTES;

// Reads a whole file of at most limit bytes into bytes. Returns "" on success, otherwise what is wrong
// ("PATH is larger than " + whatLimit + ...) when the file is too large.
std::string readWholeFile(const std::string& path, std::uintmax_t limit, std::vector<std::uint8_t>& bytes,
                          const std::string& whatLimit);

// Reads both files and sets up rom.font. Returns "" on success, otherwise what is wrong (a file that
// cannot be read, is larger than any ROM file, or an index whose size is not that of a ROM index).
// rom must stay where it is while rom.font is used: the font points into its vectors.
std::string loadRom(const std::string& indexPath, const std::string& dataPath, LoadedRom& rom);
