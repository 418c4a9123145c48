// Fuzz target: the firmware lookup library on arbitrary index and data images, from memory (exact-size
// heap copies, so any over-read is caught) and through a read callback that stops the run if it is ever
// asked for bytes outside an image; both ways must give the same results and glyphs. The whole input also
// serves as full-width keys and as the UTF-8 text walked (a walk that stops moving on grows the results
// without end: a memory or time-out finding). And the whole input as a memory holding a burned image, opened,
// checked and looked up through by romfont_image; its read function stops the run if asked for bytes outside it.
// And the input as a text broken into lines (each must move on and lie within it) and drawn into two small buffers of
// exact size, clipped, at a width and place from its first bytes.
#include <algorithm>
#include <cstring>
#include <vector>

#include "fuzz_support.h"
#include "romfont.h"
#include "romfont_image.h"
#include "romfont_text.h"

static std::vector<std::uint8_t> images[2];  // the index and the data image of the current input

static std::uint8_t readImage(void*, std::uint8_t file, std::uint32_t offset, std::uint8_t* buffer, std::uint16_t length) {
  const std::vector<std::uint8_t>& image = images[file == ROMFONT_INDEX_FILE ? 0 : 1];
  if (offset > image.size() || length > image.size() - offset) std::abort();  // romfont must never ask this
  std::memcpy(buffer, image.data() + offset, length);
  return 1;
}

// Every result and glyph: the half-width table, full-width keys from the input, a walk over the input.
static std::string lookUp(const romfont& font, const std::uint8_t* input, std::size_t size) {
  std::string seen;
  romfont_char ch;
  const auto note = [&](romfont_result result, std::size_t bytes) {
    seen.append(1, static_cast<char>(result)).append(reinterpret_cast<const char*>(ch.glyph), bytes);
  };
  for (int code = 0; code < 256; ++code) note(romfont_half_glyph(&font, static_cast<std::uint8_t>(code), ch.glyph), 16);
  for (std::size_t i = 0; i + 1 < std::min<std::size_t>(size, 512); i += 2) {
    note(romfont_full_glyph(&font, static_cast<std::uint16_t>(input[i] << 8 | input[i + 1]), ch.glyph), 32);
  }
  romfont_walker walker;
  romfont_walk(&walker, &font, reinterpret_cast<const char*>(input), static_cast<std::uint32_t>(std::min<std::size_t>(size, 256)));
  for (romfont_result result; (result = romfont_next_char(&walker, &ch)) != ROMFONT_END;) note(result, ch.width * 2u);
  return seen;
}

// The image read function: absolute addresses of the memory (a vector given as context).
static std::uint8_t readMemory(void* context, std::uint32_t address, std::uint8_t* buffer, std::uint16_t length) {
  const auto& memory = *static_cast<const std::vector<std::uint8_t>*>(context);
  if (length == 0 || length > 36 || address > memory.size() || length > memory.size() - address) std::abort();
  std::memcpy(buffer, memory.data() + address, length);
  return 1;
}

// The input opened as an image and checked; the lookups through it must be those from its parts in memory. When
// refused, lookups find nothing and read nothing.
static void throughImage(const std::uint8_t* input, std::size_t size) {
  std::vector<std::uint8_t> memory(input, input + size);  // exact size
  romfont_image image;
  romfont font;
  std::uint8_t glyph[32];
  if (romfont_image_init(&image, &font, readMemory, &memory, 0, static_cast<std::uint32_t>(size)) == ROMFONT_IMAGE_OK) {
    romfont direct;
    romfont_init_memory(&direct, memory.data() + image.index_offset, image.index_size, memory.data() + image.data_offset, image.data_size);
    if (romfont_image_check(&image) == ROMFONT_IMAGE_BAD_ARGUMENT || lookUp(font, input, size) != lookUp(direct, input, size)) std::abort();
  } else if (romfont_image_check(&image) != ROMFONT_IMAGE_BAD_ARGUMENT || romfont_full_glyph(&font, 0x3042, glyph) != ROMFONT_BAD_IMAGE) {
    std::abort();
  }
}

static void layOutAndDraw(const romfont& font, const std::uint8_t* input, std::size_t size) {
  const romfont_text text{reinterpret_cast<const char*>(input), static_cast<std::uint32_t>(size), ROMFONT_IN_RAM};
  const std::uint16_t width = size > 0 ? input[0] : 0;
  romfont_line line;
  for (std::uint32_t at = 0; romfont_next_line(&text, at, width, &line) == ROMFONT_OK; at = line.next)
    if (line.start != at || line.end > line.next || line.next <= at || line.next > size) std::abort();
  std::vector<std::uint8_t> pages(3 * 7), rows(11 * 2);  // exact size: 7 x 20 pixels in pages, 13 x 11 in rows
  const romfont_buffer buffers[] = {{pages.data(), 7, 20, 7, ROMFONT_BUFFER_PAGES}, {rows.data(), 13, 11, 2, ROMFONT_BUFFER_ROWS}};
  for (const romfont_buffer& buffer : buffers) {
    const romfont_pen pen{&font, nullptr, &buffer, nullptr, nullptr};
    romfont_draw_text(&pen, size > 1 ? input[1] % 40 - 20 : 0, size > 2 ? input[2] % 40 - 20 : 0, &text, width, 16);
  }
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto [index, glyphs, separated] = splitInput(data, size);
  images[0] = std::vector<std::uint8_t>(index.begin(), index.end());  // fresh, exact-size copies
  images[1] = std::vector<std::uint8_t>(glyphs.begin(), glyphs.end());
  const auto indexSize = static_cast<std::uint32_t>(index.size()), dataSize = static_cast<std::uint32_t>(glyphs.size());
  romfont fromMemory, throughReads;
  romfont_init_memory(&fromMemory, images[0].data(), indexSize, images[1].data(), dataSize);
  romfont_init_callback(&throughReads, readImage, nullptr, indexSize, dataSize);
  if (lookUp(fromMemory, data, size) != lookUp(throughReads, data, size)) std::abort();  // memory and reads disagree
  throughImage(data, size);
  layOutAndDraw(fromMemory, data, size);
  return 0;
}
