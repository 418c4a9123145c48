// Writes the ROM image to FONTINDEX.BIN (index tables) and FONTDATA.BIN (glyph data) in the current directory.
//
// FONTINDEX.BIN: 256 bytes indexH, 256 bytes blockIndex, then for each high byte with a block (ascending)
// its 256 slot numbers as 16-bit little-endian values. Block b starts at offset 512 * b.
// FONTDATA.BIN: the first (fontCountF + 1) * 32 bytes of fontData; half-width glyph k at (k - 1) * 16,
// full-width slot s at s * 32.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

inline constexpr const char* kIndexFileName = "FONTINDEX.BIN";
inline constexpr const char* kDataFileName = "FONTDATA.BIN";
inline constexpr std::size_t kIndexHeaderBytes = 512;
inline constexpr std::size_t kIndexBlockBytes = 512;

// Writes both files into the current folder, replaced together or not at all: when either cannot be written
// whole, both old files stay as they were, and each file is reported as failed or, when its own bytes were
// complete, as not updated. Returns false then.
bool writeRomFiles();

// What became of a pair written by writeRomPair: installed, or neither file replaced; complete[i] tells
// whether file i (index, data) was written whole before the pair was given up.
struct RomPairOutcome {
  bool installed = false;
  bool complete[2] = {false, false};
};

// Writes romImage's two files into folder ("" for the current one) as writeRomFiles does, reporting nothing;
// onDataFileCreated runs once the data file's temporary file exists, before its bytes are written.
RomPairOutcome writeRomPair(const std::string& folder, const std::function<void()>& onDataFileCreated);

// The bytes of each file, from romImage.
std::string indexFileBytes();
std::string_view dataFileBytes();

// Replaces target with bytes through a temporary file beside it: the file is written whole or not at all.
bool replaceFileWhole(const std::string& target, std::string_view bytes);
