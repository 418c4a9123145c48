// The C source form of a ROM. The arrays are fontindex_bin and fontdata_bin, exactly the bytes of FONTINDEX.BIN
// and FONTDATA.BIN, or fontimage_bin, a compact image; MASKBURN_ROM_STORAGE, empty unless defined first, places them (PROGMEM on AVR, a section
// attribute elsewhere).
#include "c_source.h"

#include <cstdio>

namespace {

void appendArray(std::string& out, const char* name, const char* sizeName, std::string_view bytes) {
  char line[160];
  std::snprintf(line, sizeof line, "static const uint8_t %s[%s] MASKBURN_ROM_STORAGE = {", name, sizeName);
  out += line;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    std::snprintf(line, sizeof line, "%s0x%02X,", i % 16 == 0 ? "\n  " : " ", static_cast<unsigned char>(bytes[i]));
    out += line;
  }
  out += "\n};\n";
}

}  // namespace

std::string romAsCSource(std::string_view index, std::string_view data, std::size_t halfGlyphs, std::size_t fullGlyphs) {
  char text[200];
  std::snprintf(text, sizeof text, "/* A maskburn ROM as C source, made by maskburn-subset: %zu half-width and %zu full-width glyphs.\n",
                halfGlyphs, fullGlyphs);
  std::string out = text;
  out +=
      "   fontindex_bin holds FONTINDEX.BIN and fontdata_bin FONTDATA.BIN, byte for byte. From memory:\n"
      "       romfont_init_memory(&font, fontindex_bin, FONTINDEX_BIN_SIZE, fontdata_bin, FONTDATA_BIN_SIZE);\n"
      "   To place the arrays, define MASKBURN_ROM_STORAGE before including this file; on AVR,\n"
      "       #define MASKBURN_ROM_STORAGE PROGMEM\n"
      "   keeps them in program memory, to be read with memcpy_P in a romfont read function. */\n"
      "#include <stdint.h>\n\n"
      "#ifndef MASKBURN_ROM_STORAGE\n#define MASKBURN_ROM_STORAGE\n#endif\n\n";
  std::snprintf(text, sizeof text, "#define FONTINDEX_BIN_SIZE %zuu\n#define FONTDATA_BIN_SIZE %zuu\n\n", index.size(),
                data.size());
  out += text;
  appendArray(out, "fontindex_bin", "FONTINDEX_BIN_SIZE", index);
  out += "\n";
  appendArray(out, "fontdata_bin", "FONTDATA_BIN_SIZE", data);
  return out;
}

std::string imageAsCSource(std::string_view image, std::size_t halfGlyphs, std::size_t fullGlyphs) {
  char text[200];
  std::snprintf(text, sizeof text, "/* A compact maskburn ROM as C source, made by maskburn-subset: %zu half-width and %zu full-width glyphs.\n",
                halfGlyphs, fullGlyphs);
  std::string out = text;
  out +=
      "   fontimage_bin holds a version-2 image (romfont_image.h: the header, the compact index and the data, packed).\n"
      "   Open it through a read function, which on AVR, with MASKBURN_ROM_STORAGE defined as PROGMEM, is\n"
      "       static uint8_t read_image(void *context, uint32_t address, uint8_t *buffer, uint16_t length) {\n"
      "         (void)context;\n"
      "         memcpy_P(buffer, fontimage_bin + (uint16_t)address, length);\n"
      "         return 1;\n"
      "       }\n"
      "       romfont_image_init(&image, &font, read_image, NULL, 0, FONTIMAGE_BIN_SIZE);\n"
      "   (with memcpy elsewhere); font then gives every glyph as romfont.h describes. */\n"
      "#include <stdint.h>\n\n"
      "#ifndef MASKBURN_ROM_STORAGE\n#define MASKBURN_ROM_STORAGE\n#endif\n\n";
  std::snprintf(text, sizeof text, "#define FONTIMAGE_BIN_SIZE %zuu\n\n", image.size());
  out += text;
  appendArray(out, "fontimage_bin", "FONTIMAGE_BIN_SIZE", image);
  return out;
}
