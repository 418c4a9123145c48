// Reading the ROM files and texts for the companion tools, with size limits checked before anything is kept, and
// surveying a ROM's entries.
#include "rom_source.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <system_error>

#include "font/font_file.h"

// romfont's header repeats the ROM's sizes for C firmware; both must describe the same files.
static_assert(ROMFONT_HALF_BYTES == kHalfGlyphBytes && ROMFONT_FULL_BYTES == kFullGlyphBytes);
static_assert(ROMFONT_INDEX_BLOCK_BYTES == kIndexBlockBytes && ROMFONT_INDEX_MAX_BYTES == kIndexMaxBytes);

namespace {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

constexpr const char* kRomLimit = "any ROM file of its kind";
constexpr std::uintmax_t kMaxTextBytes = 64u << 20;

// Reads the rest of an open file, of at most limit bytes.
std::string readAll(std::FILE* file, const std::string& path, std::uintmax_t limit, std::vector<std::uint8_t>& bytes,
                    const std::string& whatLimit);

}  // namespace

std::string readWholeFile(const std::string& path, std::uintmax_t limit, std::vector<std::uint8_t>& bytes,
                          const std::string& whatLimit) {
  std::error_code error;
  if (std::filesystem::is_fifo(path, error)) {  // waited for as the converter waits for a font FIFO
    std::unique_ptr<std::FILE, FileCloser> fifo(openFontForReading(path).release());
    if (!fifo) {
      return "cannot open " + path + ": no program opened the FIFO for writing within " +
             std::to_string(kFifoWriterWaitSeconds) + " s";
    }
    return readAll(fifo.get(), path, limit, bytes, whatLimit);
  }
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
  if (!file) return "cannot open " + path + ": " + std::strerror(errno);
  return readAll(file.get(), path, limit, bytes, whatLimit);
}

namespace {

std::string readAll(std::FILE* file, const std::string& path, std::uintmax_t limit, std::vector<std::uint8_t>& bytes,
                    const std::string& whatLimit) {
  bytes.clear();
  std::uint8_t buffer[65536];
  for (;;) {
    const std::size_t got = std::fread(buffer, 1, sizeof buffer, file);
    if (bytes.size() + got > limit) {
      return path + " is larger than " + whatLimit + " (at most " + std::to_string(limit) + " bytes)";
    }
    bytes.insert(bytes.end(), buffer, buffer + got);
    if (got < sizeof buffer) break;
  }
  if (std::ferror(file)) return "cannot read " + path + ": " + std::strerror(errno);
  return "";
}

}  // namespace

std::string loadRom(const std::string& indexPath, const std::string& dataPath, LoadedRom& rom) {
  std::string problem = readWholeFile(indexPath, kIndexMaxBytes, rom.index, kRomLimit);
  if (problem.empty()) problem = readWholeFile(dataPath, kFontDataBytes, rom.data, kRomLimit);
  if (!problem.empty()) return problem;
  const romfont_result result =
      romfont_init_memory(&rom.font, rom.index.data(), static_cast<std::uint32_t>(rom.index.size()), rom.data.data(),
                          static_cast<std::uint32_t>(rom.data.size()));
  if (result != ROMFONT_OK) {
    return indexPath + " is not a ROM index: its size, " + std::to_string(rom.index.size()) +
           " bytes, is not a multiple of 512 from 512 to " + std::to_string(kIndexMaxBytes);
  }
  return "";
}

std::string readTextFile(const std::string& path, std::string& text) {
  std::vector<std::uint8_t> bytes;
  const std::string problem = readWholeFile(path, kMaxTextBytes, bytes, "the largest text taken");
  text.assign(bytes.begin(), bytes.end());
  return problem;
}

RomSurvey surveyRom(const romfont& font) {
  RomSurvey survey;
  const auto note = [&survey](romfont_result result, bool fullWidth, unsigned code) {
    if (result == ROMFONT_OK) ++(fullWidth ? survey.full : survey.half);
    if (result == ROMFONT_OK || result == ROMFONT_NO_GLYPH) return;
    char entry[64];
    if (fullWidth) {
      std::snprintf(entry, sizeof entry, "full-width key U+%04X: %s", code, romfont_result_name(result));
    } else {
      std::snprintf(entry, sizeof entry, "half-width code 0x%02X: %s", code, romfont_result_name(result));
    }
    survey.damaged.emplace_back(entry);
  };
  std::uint8_t glyph[32];
  for (unsigned code = 0; code < 256; ++code) {
    note(romfont_half_glyph(&font, static_cast<std::uint8_t>(code), glyph), false, code);
  }
  for (unsigned key = 0; key < 65536; ++key) {
    note(romfont_full_glyph(&font, static_cast<std::uint16_t>(key), glyph), true, key);
  }
  return survey;
}
