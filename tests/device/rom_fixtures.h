// ROMs for the romfont and viewer tests: made by the real converter from BDF fonts (with the bitmaps those
// fonts hold, read independently), or built straight from the file format for exact control over which
// codes hold glyphs; and romfont sources over them, from memory and through a read function.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "romfont.h"

using HalfBitmap = std::array<std::uint8_t, 16>;
using FullBitmap = std::array<std::uint8_t, 32>;

struct SyntheticGlyphs {
  std::map<std::uint8_t, HalfBitmap> half;   // code -> bitmap
  std::map<std::uint16_t, FullBitmap> full;  // UTF-16 key -> bitmap
};

struct RomFiles {
  std::string index;
  std::string data;
};

// The ROM the converter executable makes from a font pair.
RomFiles convertFonts(const std::string& halfPath, const std::string& fullPath);

// The bitmaps of a font pair as its BDF files hold them: the first 16 rows of each character (zero rows
// after the last), full-width characters under their UTF-16 keys.
SyntheticGlyphs bdfGlyphs(const std::string& halfPath, const std::string& fullPath);

// Half-width glyphs numbered from 1 in code order; full-width slots right after them (never slot 0),
// in key order; blocks numbered from 1 in high-byte order.
RomFiles buildRom(const SyntheticGlyphs& glyphs);

// Bitmaps that differ for every code, so a glyph found under the wrong code shows.
HalfBitmap halfPattern(std::uint8_t code);
FullBitmap fullPattern(std::uint16_t key);

// A copy of bytes in a heap block of exactly their size, so AddressSanitizer catches any read past it.
class ExactCopy {
 public:
  explicit ExactCopy(const std::string& bytes);
  const std::uint8_t* data() const { return bytes_.get(); }
  std::uint32_t size() const { return size_; }

 private:
  std::unique_ptr<std::uint8_t[]> bytes_;
  std::uint32_t size_;
};

// A romfont over exact heap copies of the two files.
class MemoryRom {
 public:
  MemoryRom(const std::string& index, const std::string& data);
  explicit MemoryRom(const RomFiles& files) : MemoryRom(files.index, files.data) {}
  const romfont* font() const { return &font_; }
  romfont_result initResult() const { return initResult_; }

 private:
  ExactCopy index_;
  ExactCopy data_;
  romfont font_{};
  romfont_result initResult_;
};

// A romfont whose bytes come through the read function, counting calls. It fails the test if asked for
// bytes outside the files, and can be told to fail its n-th call (counted from 1; 0: never).
class CallbackRom {
 public:
  CallbackRom(const std::string& index, const std::string& data);
  explicit CallbackRom(const RomFiles& files) : CallbackRom(files.index, files.data) {}
  const romfont* font() const { return &font_; }
  int calls = 0;
  int failAtCall = 0;

 private:
  static std::uint8_t read(void* context, std::uint8_t file, std::uint32_t offset, std::uint8_t* buffer,
                           std::uint16_t length);
  std::string index_;
  std::string data_;
  romfont font_{};
};
