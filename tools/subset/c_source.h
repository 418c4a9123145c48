// A ROM written as C source: both files as const uint8_t arrays with their sizes, to #include in firmware.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// The header text for the two files' bytes; the glyph counts go in its opening comment.
std::string romAsCSource(std::string_view index, std::string_view data, std::size_t halfGlyphs, std::size_t fullGlyphs);
