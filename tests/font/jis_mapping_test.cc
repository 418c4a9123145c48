// JIS X 0208 code -> UTF-16 key: the worked values, the arithmetic's boundaries, and every 16-bit
// value against a reference computed by Python's cp932 codec.
#include "font/jis_mapping.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>

namespace {

TEST(JisMapping, WorkedValues) {
  struct Case {
    int encoding;
    std::uint8_t lead, trail;
    std::uint16_t key;
  };
  const Case cases[] = {{8481, 0x81, 0x40, 0x3000},  {9008, 0x82, 0x4F, 0xFF10},  {9250, 0x82, 0xA0, 0x3042},
                        {12321, 0x88, 0x9F, 0x4E9C}, {24190, 0x9F, 0xFC, 0x6ECC}, {24353, 0xE0, 0x40, 0x6F3E},
                        {29734, 0xEA, 0xA4, 0x7199}};
  for (const Case& c : cases) {
    const ShiftJisPair pair = jisToShiftJis(c.encoding);
    EXPECT_EQ(pair.lead, c.lead) << c.encoding;
    EXPECT_EQ(pair.trail, c.trail) << c.encoding;
    EXPECT_EQ(jisToUnicodeKey(c.encoding), c.key) << c.encoding;
  }
}

TEST(JisMapping, BoundariesAndOddValues) {
  EXPECT_EQ(jisToShiftJis(0x215F).trail, 0x7E);  // odd row: 0x7F is skipped
  EXPECT_EQ(jisToShiftJis(0x2160).trail, 0x80);
  EXPECT_EQ(jisToUnicodeKey(0x2141), 0xFF5E);  // code page 932's choice for 0x8160
  EXPECT_EQ(jisToUnicodeKey(0x215D), 0xFF0D);  // and for 0x817C
  for (int low : {0, 0x41, 255}) EXPECT_EQ(jisToUnicodeKey(low), 0x0070);  // lead byte 0x70 alone
  EXPECT_EQ(jisToUnicodeKey(40704), 0);  // lead byte 0: no key
  EXPECT_EQ(jisToUnicodeKey(41215), 0);
  EXPECT_EQ(jisToUnicodeKey(-1), 0x0030);  // pair 0x30 0x1F
  EXPECT_EQ(jisToUnicodeKey(0x12D2D), jisToUnicodeKey(0x2D2D));  // bits above 15 are ignored
  EXPECT_EQ(jisToUnicodeKey(0x2D21), 0x2460);  // NEC row 13: circled digit one
  EXPECT_EQ(jisToUnicodeKey(0x2F21), 0x30FB);  // pair 0x88 0x40 is unassigned: the default character
}

TEST(JisMapping, EveryValueMatchesTheReferenceCodec) {
  const std::string command = std::string(PYTHON_EXECUTABLE) + " " MASKBURN_SOURCE_DIR "/tests/font/jis_reference.py";
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), &pclose);
  ASSERT_TRUE(pipe);
  int mismatches = 0;
  int value = 0;
  unsigned expected = 0;
  for (; value < 65536 && std::fscanf(pipe.get(), "%x", &expected) == 1; ++value) {
    const std::uint16_t key = jisToUnicodeKey(value);
    if (key != expected && ++mismatches <= 10) {
      ADD_FAILURE() << "ENCODING " << value << ": key " << std::hex << key << ", reference " << expected;
    }
  }
  EXPECT_EQ(value, 65536) << "the reference did not give every value";
  EXPECT_EQ(mismatches, 0);
}

}  // namespace
