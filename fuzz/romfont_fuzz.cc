// Fuzz target: the firmware lookup library on arbitrary index and data images (the input is split in two),
// from memory (exact-size heap copies, so any over-read is caught) and through a read callback that
// stops the run if it is ever asked for bytes outside the image.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "fuzz_support.h"
#include "romfont.h"

namespace {

struct Images {
  std::vector<std::uint8_t> index;
  std::vector<std::uint8_t> data;
};

std::uint8_t readImage(void* context, std::uint8_t file, std::uint32_t offset, std::uint8_t* buffer, std::uint16_t length) {
  const auto* images = static_cast<const Images*>(context);
  const std::vector<std::uint8_t>& image = file == ROMFONT_INDEX_FILE ? images->index : images->data;
  if (offset > image.size() || length > image.size() - offset) std::abort();  // romfont must never ask this
  std::memcpy(buffer, image.data() + offset, length);
  return 1;
}

void lookUp(const romfont& font, std::string_view keys, std::string_view text) {
  std::uint8_t glyph[32];
  for (int code = 0; code < 256; ++code) romfont_half_glyph(&font, static_cast<std::uint8_t>(code), glyph);
  for (std::size_t i = 0; i + 1 < keys.size() && i < 512; i += 2) {
    romfont_full_glyph(&font, static_cast<std::uint16_t>(static_cast<std::uint8_t>(keys[i]) << 8 | static_cast<std::uint8_t>(keys[i + 1])),
                       glyph);
  }
  romfont_walker walker;
  romfont_char ch;
  romfont_walk(&walker, &font, text.data(), static_cast<std::uint32_t>(text.size() < 256 ? text.size() : 256));
  for (int steps = 0; romfont_next_char(&walker, &ch) != ROMFONT_END; ++steps) {
    if (steps > 256) std::abort();  // every step must move the walk on
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto [index, glyphs] = splitInput(data, size);
  Images images{std::vector<std::uint8_t>(index.begin(), index.end()), std::vector<std::uint8_t>(glyphs.begin(), glyphs.end())};
  romfont fromMemory;
  romfont_init_memory(&fromMemory, images.index.data(), static_cast<std::uint32_t>(images.index.size()),
                      images.data.data(), static_cast<std::uint32_t>(images.data.size()));
  lookUp(fromMemory, index, glyphs);
  romfont throughReads;
  romfont_init_callback(&throughReads, readImage, &images, static_cast<std::uint32_t>(images.index.size()),
                        static_cast<std::uint32_t>(images.data.size()));
  lookUp(throughReads, glyphs, index);
  return 0;
}
