// Test ROMs (converted by the real tool, or built from the format) and romfont sources over them.
#include "device/rom_fixtures.h"

#include <gtest/gtest.h>

#include <cstring>

#include "font/jis_mapping.h"
#include "support/real_fonts.h"
#include "support/run_tool.h"

RomFiles convertFonts(const std::string& halfPath, const std::string& fullPath) {
  TempDir dir;
  const ToolRun run = runTool({"-8x16", halfPath, "-16x16", fullPath}, dir.path);
  EXPECT_EQ(run.exitStatus, 0) << "converting " << halfPath << " and " << fullPath;
  return {readFile(dir.file("FONTINDEX.BIN")), readFile(dir.file("FONTDATA.BIN"))};
}

SyntheticGlyphs bdfGlyphs(const std::string& halfPath, const std::string& fullPath) {
  SyntheticGlyphs glyphs;
  for (const ParsedGlyph& parsed : parseBdfGlyphs(halfPath)) {
    HalfBitmap& bitmap = glyphs.half[static_cast<std::uint8_t>(parsed.encoding)];
    for (std::size_t row = 0; row < 16 && row < parsed.rows.size(); ++row) {
      bitmap[row] = static_cast<std::uint8_t>(parsed.rows[row]);
    }
  }
  for (const ParsedGlyph& parsed : parseBdfGlyphs(fullPath)) {
    FullBitmap& bitmap = glyphs.full[jisToUnicodeKey(static_cast<std::int32_t>(parsed.encoding))];
    for (std::size_t row = 0; row < 16 && row < parsed.rows.size(); ++row) {
      bitmap[2 * row] = static_cast<std::uint8_t>(parsed.rows[row] >> 8);
      bitmap[2 * row + 1] = static_cast<std::uint8_t>(parsed.rows[row] & 0xFF);
    }
  }
  return glyphs;
}

RomFiles buildRom(const SyntheticGlyphs& glyphs) {
  RomFiles files;
  files.index.assign(512, '\0');
  std::size_t number = 0;
  for (const auto& [code, bitmap] : glyphs.half) {
    files.index[code] = static_cast<char>(++number);
    files.data.append(bitmap.begin(), bitmap.end());
  }
  std::size_t slot = std::max<std::size_t>(1, (number + 1) / 2);
  files.data.resize(slot * 32, '\0');
  int blocks = 0;
  for (const auto& [key, bitmap] : glyphs.full) {
    const std::size_t high = key >> 8;
    if (files.index[256 + high] == 0) {
      files.index[256 + high] = static_cast<char>(++blocks);
      files.index.resize(512 * static_cast<std::size_t>(blocks + 1), '\0');
    }
    const std::size_t entry = 512 * static_cast<std::uint8_t>(files.index[256 + high]) + 2 * (key & 0xFFu);
    files.index[entry] = static_cast<char>(slot & 0xFF);
    files.index[entry + 1] = static_cast<char>(slot >> 8);
    files.data.append(bitmap.begin(), bitmap.end());
    ++slot;
  }
  return files;
}

HalfBitmap halfPattern(std::uint8_t code) {
  HalfBitmap bitmap{};
  for (std::size_t row = 0; row < bitmap.size(); ++row) bitmap[row] = static_cast<std::uint8_t>(code ^ (row * 17 + 1));
  return bitmap;
}

FullBitmap fullPattern(std::uint16_t key) {
  FullBitmap bitmap{};
  for (std::size_t i = 0; i < bitmap.size(); i += 2) {
    bitmap[i] = static_cast<std::uint8_t>(key >> 8 ^ i);
    bitmap[i + 1] = static_cast<std::uint8_t>((key & 0xFF) ^ (i * 7 + 1));
  }
  return bitmap;
}

ExactCopy::ExactCopy(const std::string& bytes)
    : bytes_(new std::uint8_t[bytes.size()]), size_(static_cast<std::uint32_t>(bytes.size())) {
  if (!bytes.empty()) std::memcpy(bytes_.get(), bytes.data(), bytes.size());
}

MemoryRom::MemoryRom(const std::string& index, const std::string& data)
    : index_(index),
      data_(data),
      initResult_(romfont_init_memory(&font_, index_.data(), index_.size(), data_.data(), data_.size())) {}

CallbackRom::CallbackRom(const std::string& index, const std::string& data) : index_(index), data_(data) {
  romfont_init_callback(&font_, read, this, static_cast<std::uint32_t>(index_.size()),
                        static_cast<std::uint32_t>(data_.size()));
}

std::uint8_t CallbackRom::read(void* context, std::uint8_t file, std::uint32_t offset, std::uint8_t* buffer,
                               std::uint16_t length) {
  auto* rom = static_cast<CallbackRom*>(context);
  ++rom->calls;
  // Scribble first: a lookup must not hand out what a failed read left in the buffer.
  std::memset(buffer, 0xA5, length);
  if (rom->calls == rom->failAtCall) return 0;
  const std::string& bytes = file == ROMFONT_INDEX_FILE ? rom->index_ : rom->data_;
  EXPECT_TRUE(file == ROMFONT_INDEX_FILE || file == ROMFONT_DATA_FILE);
  EXPECT_LE(static_cast<std::size_t>(offset) + length, bytes.size()) << "read past the end of file " << int{file};
  if (static_cast<std::size_t>(offset) + length > bytes.size()) return 0;
  std::memcpy(buffer, bytes.data() + offset, length);
  return 1;
}
