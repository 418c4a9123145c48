// Test support for real fonts: locating them and a straightforward BDF parse with the standard library.
#include "support/real_fonts.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

std::string realFontPath(const std::string& name) {
  const char* dir = std::getenv("MASKBURN_FONT_DIR");
  const std::string path = dir ? std::string(dir) + "/" + name + ".bdf" : "";
  if (!path.empty() && std::filesystem::is_regular_file(path)) return path;
  if (std::getenv("MASKBURN_REQUIRE_REAL_FONTS")) {
    ADD_FAILURE() << "real font " << name << ".bdf not found (MASKBURN_FONT_DIR)";
  } else {
    GTEST_LOG_(INFO) << "real font " << name << ".bdf not installed; skipping";
  }
  return "";
}

std::vector<ParsedGlyph> parseBdfGlyphs(const std::string& path) {
  std::ifstream in(path);
  std::vector<ParsedGlyph> glyphs;
  std::string line;
  bool inBitmap = false;
  while (std::getline(in, line)) {
    std::istringstream words(line);
    std::string keyword;
    words >> keyword;
    if (keyword == "STARTCHAR") {
      glyphs.emplace_back();
    } else if (keyword == "ENCODING") {
      words >> glyphs.back().encoding;
    } else if (keyword == "BITMAP") {
      inBitmap = true;
    } else if (keyword == "ENDCHAR") {
      inBitmap = false;
    } else if (inBitmap) {
      glyphs.back().rows.push_back(std::stoul(keyword, nullptr, 16));
    }
  }
  return glyphs;
}
