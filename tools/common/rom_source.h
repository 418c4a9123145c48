// Files read whole for the companion tools, and the two ROM files described to romfont, as firmware with the
// ROM in flash would.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "rom/rom_format.h"
#include "romfont.h"

struct LoadedRom {
  std::vector<std::uint8_t> index;
  std::vector<std::uint8_t> data;
  romfont font{};
};

// Reads a whole file of at most limit bytes into bytes. Returns "" on success, otherwise what is wrong
// ("PATH is larger than " + whatLimit + ...) when the file is too large.
std::string readWholeFile(const std::string& path, std::uintmax_t limit, std::vector<std::uint8_t>& bytes,
                          const std::string& whatLimit);

// Reads both files and sets up rom.font. Returns "" on success, otherwise what is wrong (a file that
// cannot be read, is larger than any ROM file, or an index whose size is not that of a ROM index).
// rom must stay where it is while rom.font is used: the font points into its vectors.
std::string loadRom(const std::string& indexPath, const std::string& dataPath, LoadedRom& rom);
