// ROM file writer: builds each file's bytes field by field (little-endian), then replaces both files through
// temporary files, so that a failed write never leaves a damaged, partial or mismatched ROM behind.
#include "rom/rom_files.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <system_error>

#include "text/console.h"
#include "rom/rom_image.h"

namespace {

static_assert(kIndexHeaderBytes == 256 + 256, "the index header is indexH then blockIndex");
static_assert(kIndexBlockBytes == 256 * 2, "a block holds 256 16-bit slot numbers");

void appendLittleEndian16(std::string& out, std::uint16_t value) {
  out.push_back(static_cast<char>(value & 0xFF));
  out.push_back(static_cast<char>(value >> 8));
}

constexpr int kTemporaryNameTries = 100;

// Creates a new temporary file beside the target, under a name nothing else holds: whatever is left in
// the folder (a stale file, a FIFO, a link to some other file) is never opened or written through.
std::FILE* createTemporaryFile(const std::string& target, std::string* name) {
  const std::size_t slash = target.find_last_of('/');
  const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
  for (int attempt = 0; attempt < kTemporaryNameTries; ++attempt) {
    *name = target.substr(0, nameStart) + "." + target.substr(nameStart) + "." + std::to_string(attempt) + ".tmp";
    std::error_code error;
    const auto status = std::filesystem::symlink_status(*name, error);
    if (std::filesystem::exists(status)) continue;  // taken, or a dangling link
    if (error && error != std::errc::no_such_file_or_directory) return nullptr;
    return std::fopen(name->c_str(), "wb");
  }
  return nullptr;
}

// Writes bytes to a new temporary file beside the target; its name, or "" when it could not be written whole
// (then nothing of it is left). onCreated runs once the temporary file exists, before any data is written.
std::string writeTemporaryFile(const std::string& target, std::string_view bytes, const std::function<void()>& onCreated) {
  std::string temporary;
  std::FILE* file = createTemporaryFile(target, &temporary);
  if (file == nullptr) return "";
  onCreated();
  bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  ok = std::fflush(file) == 0 && ok;
  ok = std::fclose(file) == 0 && ok;
  std::error_code error;
  if (!ok) std::filesystem::remove(temporary, error);
  return ok ? temporary : "";
}

// A rename over a folder fails (and on Windows, over a read-only file): such a target counts as a failed file
// before anything is renamed, so that one file is never replaced without the other.
bool canReplace(const std::string& target) {
  std::error_code error;
  const auto status = std::filesystem::symlink_status(target, error);
#ifdef _WIN32
  if (std::filesystem::is_regular_file(status) &&
      (status.permissions() & std::filesystem::perms::owner_write) == std::filesystem::perms::none) {
    return false;
  }
#endif
  return !std::filesystem::is_directory(status);
}

// Renames both temporary files over the targets; returns which one the system refused (1 or 2), or 0. The old
// first target is moved aside first (over a fresh temporary name), so that it can be put back as it was.
int installBoth(const std::string (&temporaries)[2], const std::string (&targets)[2]) {
  std::error_code error;
  std::string aside;
  if (std::filesystem::exists(std::filesystem::symlink_status(targets[0], error))) {
    std::FILE* reserved = createTemporaryFile(targets[0] + ".old", &aside);
    if (reserved == nullptr) return 1;
    std::fclose(reserved);
    std::filesystem::rename(targets[0], aside, error);
    if (error) return std::filesystem::remove(aside, error), 1;
  }
  int refused = 0;
  std::filesystem::rename(temporaries[0], targets[0], error);
  if (error) refused = 1;
  if (!refused) std::filesystem::rename(temporaries[1], targets[1], error);
  if (!refused && error) refused = 2;
  if (refused == 2) std::filesystem::remove(targets[0], error);  // the new first target
  if (!aside.empty() && refused) std::filesystem::rename(aside, targets[0], error);
  if (!aside.empty() && !refused) std::filesystem::remove(aside, error);
  return refused;
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
  temporaries[0] = writeTemporaryFile(names[0], indexFileBytes(), [] {});
  temporaries[1] = writeTemporaryFile(names[1], dataFileBytes(), onDataFileCreated);
  RomPairOutcome outcome;
  for (int i = 0; i < 2; ++i) outcome.complete[i] = !temporaries[i].empty() && canReplace(names[i]);
  if (outcome.complete[0] && outcome.complete[1]) {
    const int refused = installBoth(temporaries, names);
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

bool replaceFileWhole(const std::string& target, std::string_view bytes) {
  const std::string temporary = writeTemporaryFile(target, bytes, [] {});
  if (temporary.empty()) return false;
  std::error_code error;
  const bool replaceable = canReplace(target);
  if (replaceable) std::filesystem::rename(temporary, target, error);
  if (replaceable && !error) return true;
  std::filesystem::remove(temporary, error);
  return false;
}
