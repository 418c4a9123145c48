// Writes the ROM image to FONTINDEX.BIN (index tables) and FONTDATA.BIN (glyph data) in the current directory.
// FONTDATA.BIN holds the first (fontCountF + 1) * 32 bytes of fontData; rom/rom_format.h has the layout.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "rom/rom_format.h"


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
