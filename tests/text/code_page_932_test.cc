// Code page 932: the decoder's special single bytes and unmapped pairs, and every catalogue text encoded
// exactly as an independent converter (the C library's iconv) encodes it.
#include "text/code_page_932.h"

#include <gtest/gtest.h>

#include "text/messages.h"
#include "support/text_builder.h"

namespace {

TEST(CodePage932, DecodesTheCodePagesOwnChoices) {
  EXPECT_EQ(decodeCodePage932(0x41, 0x00), 0x0041);
  EXPECT_EQ(decodeCodePage932(0x80, 0x41), 0x0080);  // not a lead byte: the trail byte does not matter
  EXPECT_EQ(decodeCodePage932(0xA0, 0x00), 0xF8F0);
  EXPECT_EQ(decodeCodePage932(0xB1, 0x00), 0xFF71);  // half-width katakana
  EXPECT_EQ(decodeCodePage932(0xFD, 0x00), 0xF8F1);
  EXPECT_EQ(decodeCodePage932(0xFF, 0x00), 0xF8F3);
  EXPECT_EQ(decodeCodePage932(0xF0, 0x40), 0xE000);  // user-defined area
  EXPECT_EQ(decodeCodePage932(0xF9, 0xFC), 0xE757);
  EXPECT_EQ(decodeCodePage932(0x87, 0x40), 0x2460);  // NEC row 13
  EXPECT_EQ(decodeCodePage932(0xFA, 0x40), 0x2170);  // IBM extension
  EXPECT_EQ(decodeCodePage932(0x00, 0x41), 0);
  for (int trail : {0x00, 0x20, 0x7F, 0xFD}) {
    EXPECT_EQ(decodeCodePage932(0x81, static_cast<std::uint8_t>(trail)), kCodePage932DefaultKey) << trail;
  }
  EXPECT_EQ(decodeCodePage932(0x85, 0x40), kCodePage932DefaultKey);  // unassigned pair
}

TEST(CodePage932, EveryCatalogueTextEncodesAsIconvDoes) {
  for (int i = 0; i < static_cast<int>(Text::Count); ++i) {
    const char* text = textUtf8(static_cast<Text>(i));
    EXPECT_EQ(encodeCodePage932(text), cp932(text)) << text;
  }
  EXPECT_EQ(encodeCodePage932("■□　"), "\x81\xA1\x81\xA0\x81\x40");
  EXPECT_EQ(encodeCodePage932("\xF0\x9F\x98\x80"), "?");  // outside the code page
}

}  // namespace
