// romfont's text layer: line breaking on a table of texts, widths and expected lines; the glyph shown for a character
// (its own, its folded form's, a fallback, ROM trouble passed on) from small ROMs built here; and glyphs drawn clipped
// at every edge of page-format and row-major buffers against a drawing pixel by pixel.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <numeric>
#include <random>
#include <string>
#include <vector>

#include "romfont_text.h"

namespace {

// A ROM of the given half-width codes and full-width keys whose glyphs name themselves: the first two bytes of each
// are its code or key (little-endian), the others 0xFF. Glyphs are stored in the order given.
struct Rom {
  Rom(std::initializer_list<unsigned> half, std::initializer_list<unsigned> full) : index(512) {
    const auto label = [this](unsigned key, std::size_t bytes) { data.insert(data.end(), {std::uint8_t(key), std::uint8_t(key >> 8)}), data.resize(data.size() + bytes - 2, 0xFF); };
    for (unsigned code : half) index[code] = std::uint8_t(data.size() / 16 + 1), label(code, 16);
    data.resize(data.size() / 32 * 32 + 32);  // full-width slots follow, from 1
    for (unsigned key : full) {
      if (!index[256 + (key >> 8)]) index[256 + (key >> 8)] = std::uint8_t(index.size() / 512), index.resize(index.size() + 512);
      const std::size_t entry = 512u * index[256 + (key >> 8)] + 2 * (key & 0xFF), slot = data.size() / 32;
      index[entry] = std::uint8_t(slot), index[entry + 1] = std::uint8_t(slot >> 8), label(key, 32);
    }
    romfont_init_memory(&font, index.data(), std::uint32_t(index.size()), data.data(), std::uint32_t(data.size()));
  }
  std::vector<std::uint8_t> index, data;
  romfont font{};
};

using Glyph = std::array<std::uint8_t, 32>;
Glyph labelled(unsigned key, unsigned width) {
  Glyph glyph{std::uint8_t(key), std::uint8_t(key >> 8)};
  return std::fill(glyph.begin() + 2, glyph.begin() + width * 2, 0xFF), glyph;
}
// The empty box: the outline of columns 1 to width-2 and rows 1 to 14, as the viewer draws it.
Glyph box(unsigned width) {
  Glyph glyph{};
  for (unsigned row = 1; row <= 14; ++row)
    for (unsigned column = 1; column <= width - 2; ++column)
      if (row == 1 || row == 14 || column == 1 || column == width - 2) glyph[row * width / 8 + column / 8] |= 0x80 >> column % 8;
  return glyph;
}

// The characters of a UTF-8 text as romfont_text reads them, and its width in pixels.
std::vector<std::string> charactersOf(const std::string& utf8, std::uint32_t* width = nullptr) {
  const romfont_text text{utf8.c_str(), std::uint32_t(utf8.size()), ROMFONT_IN_RAM};
  std::vector<std::string> characters;
  for (std::uint32_t at = 0, length, point; (length = romfont_text_char(&text, at, &point)) != 0; at += length) characters.push_back(utf8.substr(at, length));
  return width && (*width = romfont_text_width(&text)), characters;
}

}  // namespace

// Each text laid out at a width in pixels (ASCII 8 wide, Japanese 16), line after line: the bytes each line draws; and
// every character of the kinsoku sets, and some of their neighbours that are not in them, at the end of a full line.
// The same from a NUL-terminated text read as program memory. Each line's width must be that of its bytes, and within
// the width unless it holds one character.
TEST(RomfontText, LinesBreakAtNewlinesSpacesAndBetweenJapaneseCharactersKeepingTheKinsokuRules) {
  struct Case { std::string text; std::uint16_t width; std::vector<std::string> lines; };
  std::vector<Case> cases{
      {"", 128, {}}, {"\n", 128, {""}}, {"A\n\nB\n", 128, {"A", "", "B"}}, {"  indented", 128, {"  indented"}},
      {"hello world", 40, {"hello", "world"}}, {"ab cd ef", 48, {"ab cd", "ef"}},  // the last space that fits
      {"a    b", 16, {"a", "b"}}, {"abc  \ndef", 24, {"abc", "def"}},               // spaces (and a '\n') at a wrap dropped
      {"abcdefghij xy", 32, {"abcd", "efgh", "ij", "xy"}},                           // a word wider than the width
      {"あいうえお", 32, {"あい", "うえ", "お"}}, {"ABCあいう", 40, {"ABCあ", "いう"}}, {"あいう", 48, {"あいう"}},
      {"あい、」", 48, {"あ", "い、」"}}, {"あい「う」", 48, {"あい", "「う」"}}, {"あい(う)", 40, {"あい", "(う)"}},  // oidashi
      {"ｱｲｳｴｫ", 32, {"ｱｲｳ", "ｴｫ"}}, {"ｱｲｳ｡", 24, {"ｱｲ", "ｳ｡"}}, {"ｱｲ｢ｳ", 24, {"ｱｲ", "｢ｳ"}},   // half-width forms
      {"あ。。。", 32, {"あ。", "。。"}},                                             // nowhere to push: before what does not fit
      {"あ。b", 4, {"あ", "。", "b"}}, {"ab", 0, {"a", "b"}}, {"  a", 4, {" ", "a"}},   // narrower than a glyph
      {"a\tb\r\nc", 16, {"a\tb\r", "c"}}, {"\xE3\x81" "ab\xFF", 16, {"\xE3\x81", "ab", "\xFF"}}, {"¥10‾", 24, {"¥10", "‾"}}};
  for (const std::string& c : charactersOf("、。，．・：；？！ー）」』】〕ぁぃぅぇぉっゃゅょァィゥェォッャュョ｡｣､･ｧｨｩｪｫｬｭｮｯｰ,.:;?!)"))
    cases.push_back({"あいう" + c, 48, {"あい", "う" + c}});
  for (const std::string& c : charactersOf("（「『【〔｢(")) cases.push_back({"あい" + c + "う", 48, {"あい", c + "う"}});
  for (const std::string& c : charactersOf("あアゎヮｦｱ")) cases.push_back({"あいう" + c, 48, {"あいう", c}});
  for (const Case& c : cases) {
    for (const unsigned memory : {ROMFONT_IN_RAM, ROMFONT_IN_PROGRAM_MEMORY}) {
      const romfont_text text{c.text.c_str(), memory ? ROMFONT_NUL_TERMINATED : std::uint32_t(c.text.size()), std::uint8_t(memory)};
      std::vector<std::string> lines;
      romfont_line line;
      for (std::uint32_t at = 0, width; romfont_next_line(&text, at, c.width, &line) == ROMFONT_OK && lines.size() < 20; at = line.next) {
        lines.push_back(c.text.substr(line.start, line.end - line.start));
        EXPECT_TRUE((charactersOf(lines.back(), &width).size() == 1 || line.width <= c.width) && line.width == width && line.next > at) << c.text << " " << lines.back();
      }
      EXPECT_EQ(lines, c.lines) << c.text;
    }
  }
}

// The glyph shown for each character of the code page 932 folding table: from a ROM of the folded forms only, the
// folded form's; from one holding both, the character's own (yen and overline always from the half-width table).
// Then the fallbacks: the geta mark, the box where the ROM has none or the character is half-width, a caller's
// glyphs, nothing for a control character; and a damaged ROM at the character and at the geta mark.
TEST(RomfontText, GlyphsComeFromTheRomTheFoldedFormOrTheFallback) {
  const std::vector<std::pair<unsigned, unsigned>> folds{{0x301C, 0xFF5E}, {0x2212, 0xFF0D}, {0x2016, 0x2225}, {0x2014, 0x2015},
                                                         {0xA2, 0xFFE0}, {0xA3, 0xFFE1}, {0xAC, 0xFFE2}, {0xA5, 0x5C}, {0x203E, 0x7E}};
  const Rom cp932({'A', 0x5C, 0x7E}, {0xFF5E, 0xFF0D, 0x2225, 0x2015, 0xFFE0, 0xFFE1, 0xFFE2, 0x3013}),
      both({'A', 0x5C, 0x7E}, {0xFF5E, 0xFF0D, 0x2225, 0x2015, 0xFFE0, 0xFFE1, 0xFFE2, 0x301C, 0x2212, 0x2016, 0x2014, 0xA2, 0xA3, 0xAC, 0xA5, 0x203E});
  Rom cut({'A'}, {0xFF5E, 0x3013});
  --cut.font.data_size;  // the geta mark's last byte is beyond the data
  const auto shown = [](const Rom& rom, std::uint32_t point, const romfont_fallback* fallback = nullptr) {
    romfont_char ch;
    const romfont_result result = romfont_text_glyph(&rom.font, point, fallback, &ch);
    return std::tuple(result, unsigned(ch.code_point == point ? ch.width : 0), std::to_array(ch.glyph));
  };
  for (const auto& [from, to] : folds) {
    const unsigned width = to < 0x100 ? 8 : 16;
    EXPECT_EQ(std::tuple(romfont_fold(from), shown(cp932, from), shown(both, from)),
              std::tuple(to, std::tuple(ROMFONT_OK, width, labelled(to, width)), std::tuple(ROMFONT_OK, width, labelled(width == 8 ? to : from, width)))) << from;
  }
  Glyph mine, mineHalf{};
  std::iota(mine.begin(), mine.end(), 1), std::copy_n(mine.begin(), 16, mineHalf.begin());
  const romfont_fallback own{mine.data(), mine.data()}, halfOnly{mine.data(), nullptr};
  for (const auto& [rom, point, fallback, expected] : std::initializer_list<std::tuple<const Rom*, std::uint32_t, const romfont_fallback*, std::tuple<romfont_result, unsigned, Glyph>>>{
           {&cp932, 0x4E00, nullptr, {ROMFONT_NO_GLYPH, 16, labelled(0x3013, 16)}}, {&cp932, 0x1F600, nullptr, {ROMFONT_NO_GLYPH, 16, labelled(0x3013, 16)}},
           {&cp932, ROMFONT_MALFORMED, nullptr, {ROMFONT_BAD_UTF8, 16, labelled(0x3013, 16)}}, {&both, 0x4E00, nullptr, {ROMFONT_NO_GLYPH, 16, box(16)}},
           {&cp932, 'B', nullptr, {ROMFONT_NO_GLYPH, 8, box(8)}}, {&cp932, 0xFF71, nullptr, {ROMFONT_NO_GLYPH, 8, box(8)}}, {&cp932, '\n', nullptr, {ROMFONT_OK, 0, {}}},
           {&cp932, 0x4E00, &own, {ROMFONT_NO_GLYPH, 16, mine}}, {&cp932, 'B', &own, {ROMFONT_NO_GLYPH, 8, mineHalf}}, {&cp932, ROMFONT_MALFORMED, &halfOnly, {ROMFONT_BAD_UTF8, 16, labelled(0x3013, 16)}},
           {&cut, 0x301C, nullptr, {ROMFONT_OK, 16, labelled(0xFF5E, 16)}}, {&cut, 0x4E00, nullptr, {ROMFONT_BAD_IMAGE, 16, {}}}, {&cut, 0x3013, &own, {ROMFONT_BAD_IMAGE, 16, {}}}})
    EXPECT_EQ(shown(*rom, point, fallback), expected) << std::hex << point;
}

// Glyphs of random bytes, 1 to 16 wide, drawn at places across every edge of a page-format and a row-major buffer (its
// height not a multiple of 8, padding at the end of each page or row) must set exactly the pixels a drawing pixel by
// pixel sets. And a text drawn through a pen into the buffer equals its glyphs handed to a function drawing them there.
TEST(RomfontText, DrawingIsClippedAtEveryEdgeOfBothBufferKinds) {
  constexpr int kWidth = 21, kHeight = 19;
  std::mt19937 random(19);
  for (const unsigned format : {ROMFONT_BUFFER_PAGES, ROMFONT_BUFFER_ROWS}) {
    const auto stride = std::uint16_t(format == ROMFONT_BUFFER_PAGES ? kWidth + 2 : (kWidth + 7) / 8 + 1);
    for (const int x : {-17, -16, -9, -5, -1, 0, 3, kWidth - 12, kWidth - 8, kWidth - 1, kWidth, kWidth + 4})
      for (const int y : {-17, -16, -9, -1, 0, 5, kHeight - 15, kHeight - 1, kHeight, 40})
        for (std::uint8_t width = 1; width <= 16; width += 3) {
          Glyph glyph;
          std::generate(glyph.begin(), glyph.end(), random);
          std::vector<std::uint8_t> got(stride * 24u), expected(got);
          const romfont_buffer buffer{got.data(), std::uint16_t(kWidth), std::uint16_t(kHeight), stride, std::uint8_t(format)};
          for (int row = 0; row < 16; ++row)  // pixel by pixel, as a setPixel call would
            for (int column = 0, px = x, py = y + row; column < width; ++column, ++px)
              if (glyph[row * ((width + 7) / 8) + column / 8] & 0x80 >> column % 8 && px >= 0 && px < kWidth && py >= 0 && py < kHeight)
                expected[format == ROMFONT_BUFFER_PAGES ? py / 8 * stride + px : py * stride + px / 8] |= format == ROMFONT_BUFFER_PAGES ? 1 << py % 8 : 0x80 >> px % 8;
          EXPECT_EQ(romfont_draw_bitmap(&buffer, x, y, width, glyph.data()), ROMFONT_OK);
          EXPECT_EQ(got, expected) << int(format) << " " << x << " " << y << " " << int(width);
        }
  }
  const Rom rom({'A', 'B', ' '}, {0x3042, 0x3013});
  const romfont_text text{"AB \xFF\tあ\nい", ROMFONT_NUL_TERMINATED, ROMFONT_IN_RAM};
  std::vector<std::uint8_t> direct(3 * 40), handed(direct);  // 40 x 20 pixels in pages
  const romfont_buffer into{direct.data(), 40, 20, 40, ROMFONT_BUFFER_PAGES}, other{handed.data(), 40, 20, 40, ROMFONT_BUFFER_PAGES};
  std::pair<const romfont_buffer*, std::string> seen{&other, ""};  // the function's buffer, and a log of the glyphs it got
  const romfont_pen pen{&rom.font, nullptr, &into, nullptr, nullptr}, calling{&rom.font, nullptr, nullptr, [](void* context, std::int32_t x, std::int32_t y, std::uint8_t width, const std::uint8_t* glyph) {
    auto& [buffer, log] = *static_cast<std::pair<const romfont_buffer*, std::string>*>(context);
    log += std::to_string(x) + "," + std::to_string(y) + ":" + std::to_string(glyph[0] | glyph[1] << 8) + " ";
    romfont_draw_bitmap(buffer, x, y, width, glyph);
  }, &seen};
  EXPECT_EQ(std::pair(romfont_draw_text(&pen, -15, 2, &text, 56, 16), romfont_draw_text(&calling, -15, 2, &text, 56, 16)), std::pair(ROMFONT_NO_GLYPH, ROMFONT_NO_GLYPH));  // the last missing: い
  EXPECT_EQ(seen.second, "-15,2:65 -7,2:66 1,2:32 9,2:12307 25,2:12354 -15,18:12307 ");  // malformed and missing: the geta mark
  EXPECT_EQ(direct, handed);
}
