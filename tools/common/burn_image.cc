// Laying out the one-file image: every header field written at its place as explicit little-endian bytes, so the
// image is the same whatever the host's byte order; and the compact index of version 2, built from lookups.
#include "burn_image.h"

#include <cstring>

#include "rom/rom_format.h"
#include "romfont_image.h"

static_assert(ROMFONT_IMAGE_HEADER_BYTES <= ROMFONT_IMAGE_ALIGNMENT, "the header fits before the first boundary");
static_assert(ROMFONT_IMAGE_ALIGNMENT + kIndexMaxBytes + ROMFONT_IMAGE_ALIGNMENT + kFontDataBytes < 0xFFFFFFFFu,
              "every offset and size of the largest image fits the header's 32-bit fields");

namespace {

void putLittleEndian(std::string& bytes, std::uint32_t at, std::uint32_t value, int width) {
  for (int i = 0; i < width; ++i) {
    bytes[at + static_cast<std::uint32_t>(i)] = static_cast<char>(value >> (8 * i) & 0xFFu);
  }
}

std::uint32_t crc32Of(std::string_view bytes) {
  const auto* start = reinterpret_cast<const std::uint8_t*>(bytes.data());
  return romfont_crc32(0, start, static_cast<std::uint32_t>(bytes.size()));
}

std::uint32_t roundUpToBoundary(std::uint32_t offset) {
  return (offset + ROMFONT_IMAGE_ALIGNMENT - 1) / ROMFONT_IMAGE_ALIGNMENT * ROMFONT_IMAGE_ALIGNMENT;
}

}  // namespace

BurnImage layOutImage(std::string_view index, std::string_view data, std::uint16_t version, bool packed) {
  BurnImage image;
  const auto indexSize = static_cast<std::uint32_t>(index.size());
  const auto dataSize = static_cast<std::uint32_t>(data.size());
  image.indexOffset = packed ? ROMFONT_IMAGE_HEADER_BYTES : ROMFONT_IMAGE_ALIGNMENT;  // the first boundary after the header
  image.dataOffset = packed ? image.indexOffset + indexSize : roundUpToBoundary(image.indexOffset + indexSize);
  image.indexCrc = crc32Of(index);
  image.dataCrc = crc32Of(data);

  std::string& bytes = image.bytes;
  bytes.assign(image.dataOffset + dataSize, '\xFF');  // erased flash between the parts
  std::memcpy(bytes.data(), ROMFONT_IMAGE_MAGIC, ROMFONT_IMAGE_MAGIC_BYTES);
  putLittleEndian(bytes, ROMFONT_IMAGE_VERSION_AT, version, 2);
  putLittleEndian(bytes, ROMFONT_IMAGE_HEADER_SIZE_AT, ROMFONT_IMAGE_HEADER_BYTES, 2);
  putLittleEndian(bytes, ROMFONT_IMAGE_INDEX_OFFSET_AT, image.indexOffset, 4);
  putLittleEndian(bytes, ROMFONT_IMAGE_INDEX_SIZE_AT, indexSize, 4);
  putLittleEndian(bytes, ROMFONT_IMAGE_DATA_OFFSET_AT, image.dataOffset, 4);
  putLittleEndian(bytes, ROMFONT_IMAGE_DATA_SIZE_AT, dataSize, 4);
  putLittleEndian(bytes, ROMFONT_IMAGE_INDEX_CRC_AT, image.indexCrc, 4);
  putLittleEndian(bytes, ROMFONT_IMAGE_DATA_CRC_AT, image.dataCrc, 4);
  index.copy(bytes.data() + image.indexOffset, index.size());
  data.copy(bytes.data() + image.dataOffset, data.size());
  return image;
}

CompactRom compactRom(const romfont& font) {
  CompactRom rom;
  rom.index.assign(ROMFONT_COMPACT_TABLES_BYTES, '\0');
  std::uint8_t glyph[ROMFONT_FULL_BYTES];
  for (unsigned code = 0; code < 256; ++code) {  // half-width glyphs numbered from 1 in code order
    if (romfont_half_glyph(&font, static_cast<std::uint8_t>(code), glyph) != ROMFONT_OK) continue;
    rom.index[code] = static_cast<char>(++rom.half);
    rom.data.append(reinterpret_cast<const char*>(glyph), ROMFONT_HALF_BYTES);
  }
  rom.data.resize((rom.data.size() + ROMFONT_FULL_BYTES - 1) / ROMFONT_FULL_BYTES * ROMFONT_FULL_BYTES, '\0');
  // At most 255 high bytes have glyphs (a block number is a byte), so slots stay below 128 + 255 x 256 and fit
  // their 16 bits.
  unsigned blocks = 0;
  for (unsigned high = 0; high < 256; ++high) {
    std::string block(ROMFONT_COMPACT_BLOCK_BYTES, '\0');
    const std::size_t before = rom.full;
    for (unsigned low = 0; low < 256; ++low) {
      const auto slot = static_cast<std::uint32_t>(rom.data.size() / ROMFONT_FULL_BYTES);
      const std::uint32_t at = low / ROMFONT_COMPACT_GROUP_KEYS * ROMFONT_COMPACT_GROUP_BYTES;
      if (low % ROMFONT_COMPACT_GROUP_KEYS == 0) putLittleEndian(block, at, slot, 2);  // the group's first slot
      if (romfont_full_glyph(&font, static_cast<std::uint16_t>(high << 8 | low), glyph) != ROMFONT_OK) continue;
      block[at + 2 + low % ROMFONT_COMPACT_GROUP_KEYS / 8] |= static_cast<char>(1u << low % 8);
      rom.data.append(reinterpret_cast<const char*>(glyph), ROMFONT_FULL_BYTES);
      ++rom.full;
    }
    if (rom.full == before) continue;
    rom.index[ROMFONT_COMPACT_TABLES_BYTES / 2 + high] = static_cast<char>(++blocks);
    rom.index += block;
  }
  return rom;
}
