// Files read whole for the companion tools, the two ROM files described to romfont, as firmware with the ROM in
// flash would, and a survey of every entry of such a ROM.
#pragma once

#include <cstddef>
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

// Reads a text file whole (at most 64 MiB). Returns "" on success, otherwise what is wrong, as readWholeFile.
std::string readTextFile(const std::string& path, std::string& text);

// Every half-width code and full-width key looked up through romfont: the glyphs found, and each entry that
// leads outside the files ("half-width code 0x41: bad image", "full-width key U+6771: bad image").
struct RomSurvey {
  std::size_t half = 0;
  std::size_t full = 0;
  std::vector<std::string> damaged;
};
RomSurvey surveyRom(const romfont& font);
