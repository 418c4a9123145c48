// The one-file image of a ROM pair, laid out as device/romfont/src/romfont_image.h defines it (the format's one
// definition): a header, the index and the data each starting on a 4 KiB boundary, 0xFF between them.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

struct BurnImage {
  std::string bytes;  // header, index, data: the image ends with the data's last byte
  std::uint32_t indexOffset = 0;
  std::uint32_t dataOffset = 0;
  std::uint32_t indexCrc = 0;
  std::uint32_t dataCrc = 0;
};

// Lays out the image of a pair of ROM files (each of at most a ROM file's largest size).
BurnImage layOutImage(std::string_view index, std::string_view data);
