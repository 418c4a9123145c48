// A ROM written as C source: both files as const uint8_t arrays with their sizes, or a compact image as one, to
// #include in firmware.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// The header text for the two files' bytes; the glyph counts go in its opening comment.
std::string romAsCSource(std::string_view index, std::string_view data, std::size_t halfGlyphs, std::size_t fullGlyphs);
// The header text for a version-2 image (packed: its parts right after the header), opened with romfont_image_init.
std::string imageAsCSource(std::string_view image, std::size_t halfGlyphs, std::size_t fullGlyphs);
