// ROM file writer: builds each file's bytes field by field (little-endian), then replaces both files together
// (files/replace_file.h), so that a failed write never leaves a damaged, partial or mismatched ROM behind.
#include "rom/rom_files.h"

#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <system_error>

#include "files/replace_file.h"
#include "rom/rom_image.h"
#include "text/console.h"

namespace {

void appendLittleEndian16(std::string& out, std::uint16_t value) {
  out.push_back(static_cast<char>(value & 0xFF));
  out.push_back(static_cast<char>(value >> 8));
}

}  // namespace

std::string indexFileBytes() {
  std::string out(reinterpret_cast<const char*>(romImage.indexH), sizeof romImage.indexH);
  out.append(reinterpret_cast<const char*>(romImage.blockIndex), sizeof romImage.blockIndex);
  for (int high = 0; high < 256; ++high) {
    if (romImage.blockIndex[high] == 0) continue;
    for (int low = 0; low < 256; ++low) appendLittleEndian16(out, romImage.indexF[high][low]);
  }
  return out;
}

// One slot past the last one used. The largest store (255 half-width glyphs, first slot 128, and every key
// but 0) ends exactly at the end of the data area.
static_assert((128 + 65535 + 1) * kFullGlyphBytes == kFontDataBytes, "the data file always fits the data area");

std::string_view dataFileBytes() {
  const std::size_t size = (static_cast<std::size_t>(romImage.fontCountF) + 1) * kFullGlyphBytes;
  return std::string_view(reinterpret_cast<const char*>(romImage.fontData.get()), std::min(size, kFontDataBytes));
}

RomPairOutcome writeRomPair(const std::string& folder, const std::function<void()>& onDataFileCreated) {
  // The two files are one ROM: both are written to temporary files first, and only when both are complete
  // are both renamed over the old files. Otherwise both old files stay exactly as they were.
  const std::string prefix = folder.empty() || folder.back() == '/' ? folder : folder + "/";
  const std::string names[2] = {prefix + kIndexFileName, prefix + kDataFileName};
  std::string temporaries[2];
  temporaries[0] = writeTemporaryBeside(names[0], indexFileBytes());
  temporaries[1] = writeTemporaryBeside(names[1], dataFileBytes(), onDataFileCreated);
  RomPairOutcome outcome;
  for (int i = 0; i < 2; ++i) outcome.complete[i] = !temporaries[i].empty() && isReplaceable(names[i]);
  if (outcome.complete[0] && outcome.complete[1]) {
    const int refused = installPair(temporaries, names);
    if (refused == 0) return outcome.installed = true, outcome;
    outcome.complete[refused - 1] = false;  // the old files are back in place
  }
  std::error_code error;
  for (const std::string& temporary : temporaries) {
    if (!temporary.empty()) std::filesystem::remove(temporary, error);
  }
  return outcome;
}

bool writeRomFiles() {
  const RomPairOutcome outcome = writeRomPair("", [] {
    consolePrint(Text::WrittenSlotCount, romImage.fontCountF, romImage.fontCountF * 32);
  });
  if (outcome.installed) return true;
  consolePrint(outcome.complete[0] ? Text::FileNotUpdated : Text::FileWriteError, kIndexFileName);
  consolePrint(outcome.complete[1] ? Text::FileNotUpdated : Text::FileWriteError, kDataFileName);
  return false;
}
