// ROM file writer: builds each file's bytes field by field (little-endian), then replaces the file
// through a temporary file so that a failed write never leaves a damaged or partial ROM file behind.
#include "rom/rom_files.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <system_error>

#include "report/console.h"
#include "rom/rom_image.h"

namespace {

static_assert(kIndexHeaderBytes == 256 + 256, "the index header is indexH then blockIndex");
static_assert(kIndexBlockBytes == 256 * 2, "a block holds 256 16-bit slot numbers");

void appendLittleEndian16(std::string& out, std::uint16_t value) {
  out.push_back(static_cast<char>(value & 0xFF));
  out.push_back(static_cast<char>(value >> 8));
}

std::string temporaryNameFor(const std::string& target) {
  return "." + target + ".tmp";
}

// Writes bytes to a temporary file beside the target and renames it over the target once it is complete.
// On any failure the temporary file is removed and an existing target is left as it was.
// onCreated runs once the temporary file exists, before any data is written.
bool replaceFile(const std::string& target, std::string_view bytes, std::size_t zeroPadding,
                 const std::function<void()>& onCreated) {
  const std::string temporary = temporaryNameFor(target);
  std::FILE* file = std::fopen(temporary.c_str(), "wb");
  if (file == nullptr) return false;
  onCreated();
  bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  static const char kZeros[1024] = {};
  for (std::size_t left = zeroPadding; ok && left > 0; left -= std::min(left, sizeof kZeros)) {
    ok = std::fwrite(kZeros, 1, std::min(left, sizeof kZeros), file) == std::min(left, sizeof kZeros);
  }
  ok = std::fflush(file) == 0 && ok;
  ok = std::fclose(file) == 0 && ok;
  std::error_code error;
  if (ok) std::filesystem::rename(temporary, target, error);
  if (!ok || error) {
    std::filesystem::remove(temporary, error);
    return false;
  }
  return true;
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

std::size_t dataFileSize() { return (static_cast<std::size_t>(romImage.fontCountF) + 1) * kFullGlyphBytes; }

bool writeRomFiles() {
  bool ok = true;
  if (!replaceFile(kIndexFileName, indexFileBytes(), 0, [] {})) {
    consolePrint(Text::FileWriteError, kIndexFileName);
    ok = false;
  }
  const auto announce = [] {
    consolePrint(Text::WrittenSlotCount, romImage.fontCountF, romImage.fontCountF * 32);
  };
  // One slot past the last one used; anything past the data area (never reached by real fonts) is zero.
  const std::size_t size = dataFileSize();
  const std::size_t fromData = std::min(size, kFontDataBytes);
  const std::string_view data(reinterpret_cast<const char*>(romImage.fontData.get()), fromData);
  if (!replaceFile(kDataFileName, data, size - fromData, announce)) {
    consolePrint(Text::FileWriteError, kDataFileName);
    ok = false;
  }
  return ok;
}
