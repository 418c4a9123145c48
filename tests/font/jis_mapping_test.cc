// JIS X 0208 code -> UTF-16 key: every 16-bit value against a reference computed by Python's cp932 codec,
// and values outside 16 bits.
#include "font/jis_mapping.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>

namespace {

TEST(JisMapping, EveryValueMatchesTheReferenceCodec) {
  const std::string command = std::string(PYTHON_EXECUTABLE) + " " MASKBURN_SOURCE_DIR "/tests/font/jis_reference.py";
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), &pclose);
  ASSERT_TRUE(pipe);
  int mismatches = 0, value = 0;
  for (unsigned expected = 0; value < 65536 && std::fscanf(pipe.get(), "%x", &expected) == 1; ++value) {
    const std::uint16_t key = jisToUnicodeKey(value);
    if (key != expected && ++mismatches <= 10) ADD_FAILURE() << value << ": key " << key << ", reference " << expected;
  }
  EXPECT_EQ(value, 65536) << "the reference did not give every value";
  EXPECT_EQ(mismatches, 0);
}

TEST(JisMapping, BitsAbove15AreIgnored) {
  EXPECT_EQ(jisToUnicodeKey(0x12D2D), jisToUnicodeKey(0x2D2D));
  EXPECT_EQ(jisToUnicodeKey(-1), 0x0030);  // pair 0x30 0x1F
}

}  // namespace
