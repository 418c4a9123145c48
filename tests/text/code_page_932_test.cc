// Code page 932: the decoder's own choices for single bytes and unmapped pairs, and every catalogue text
// encoded exactly as an independent converter (the C library's iconv) encodes it.
#include "text/code_page_932.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include "text/messages.h"

namespace {

std::string iconvCp932(std::string input) {
  iconv_t converter = iconv_open("CP932", "UTF-8");
  std::string output(input.size() * 2 + 16, '\0');
  char* in = input.data();
  char* out = output.data();
  std::size_t inLeft = input.size(), outLeft = output.size();
  EXPECT_NE(iconv(converter, &in, &inLeft, &out, &outLeft), static_cast<std::size_t>(-1)) << input;
  iconv_close(converter);
  return output.substr(0, output.size() - outLeft);
}

TEST(CodePage932, DecodesTheCodePagesOwnChoices) {
  const struct {
    std::uint8_t lead, trail;
    std::uint16_t key;
  } cases[] = {{0x41, 0x00, 0x0041}, {0x80, 0x41, 0x0080}, {0xA0, 0x00, 0xF8F0}, {0xB1, 0x00, 0xFF71},
               {0xFD, 0x00, 0xF8F1}, {0xFF, 0x00, 0xF8F3}, {0xF0, 0x40, 0xE000}, {0xF9, 0xFC, 0xE757},
               {0x87, 0x40, 0x2460}, {0xFA, 0x40, 0x2170}, {0x00, 0x41, 0x0000}, {0x81, 0x00, 0x30FB},
               {0x81, 0x7F, 0x30FB}, {0x81, 0xFD, 0x30FB}, {0x85, 0x40, 0x30FB}};
  for (const auto& c : cases) EXPECT_EQ(decodeCodePage932(c.lead, c.trail), c.key) << int{c.lead} << " " << int{c.trail};
  EXPECT_EQ(kCodePage932DefaultKey, 0x30FB);
}

TEST(CodePage932, EveryCatalogueTextEncodesAsIconvDoes) {
  for (int i = 0; i < static_cast<int>(Text::Count); ++i) {
    const char* text = textUtf8(static_cast<Text>(i));
    EXPECT_EQ(encodeCodePage932(text), iconvCp932(text)) << text;
  }
  EXPECT_EQ(encodeCodePage932("\xF0\x9F\x98\x80"), "?");  // outside the code page
}

}  // namespace
