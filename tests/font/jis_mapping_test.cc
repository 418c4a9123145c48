// JIS code -> UTF-16 key: every 16-bit value of a JIS X 0208 and of a JIS X 0213 plane 1 font against a
// reference computed by Python's cp932 and shift_jis_2004 codecs (plane 2 and values outside 16 bits are
// cases of reader_cases.txt).
#include "font/jis_mapping.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>

namespace {

TEST(JisMapping, EveryValueMatchesTheReferenceCodecs) {
  for (const auto& [codes, name] : {std::pair(FullWidthCodes::JisX0208, "jisx0208"), {FullWidthCodes::JisX0213Plane1, "jisx0213-plane1"}}) {
    const std::string command = std::string(PYTHON_EXECUTABLE) + " " MASKBURN_SOURCE_DIR "/tests/font/jis_reference.py " + name;
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), &pclose);
    ASSERT_TRUE(pipe);
    int mismatches = 0, value = 0;
    for (char line[16]; value < 65536 && std::fgets(line, sizeof line, pipe.get()) != nullptr; ++value) {
      const FullWidthKey got = fullWidthKey(value, codes);
      const FullWidthKey expected{static_cast<std::uint16_t>(line[0] == '-' ? 0 : std::stoul(line, nullptr, 16)), line[0] == '-'};
      if ((got.key != expected.key || got.unmapped != expected.unmapped) && ++mismatches <= 10) {
        ADD_FAILURE() << name << " " << value << ": key " << got.key << (got.unmapped ? " unmapped" : "") << ", reference " << line;
      }
    }
    EXPECT_EQ(value, 65536) << "the reference did not give every value";
    EXPECT_EQ(mismatches, 0) << name;
  }
}

}  // namespace
