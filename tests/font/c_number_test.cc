// The reader's number conversions on the table of number_cases.txt, each text given as the exact bytes of a buffer
// (a sanitizer build sees any read past them) and followed by a digit it must not read.
#include "font/c_number.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <memory>

#include "support/support.h"

TEST(CNumber, TableOfTextsAndValuesReadOnlyInTheirBytes) {
  std::ifstream cases(MASKBURN_SOURCE_DIR "/tests/font/number_cases.txt");
  int checked = 0;
  for (std::string line; std::getline(cases, line);) {
    if (line.starts_with("#")) continue;
    const auto parse = line.starts_with("hex") ? parseHex32 : parseDecimal32;
    for (std::size_t at = line.find('|'), end = at; end != std::string::npos; at = end, ++checked) {
      const std::string text = unescape(line.substr(at + 1, (end = line.find('|', at + 1)) - at - 1));
      for (const std::string tail : {"", "5"}) {
        const auto bytes = std::make_unique<char[]>(text.size() + tail.size());
        std::memcpy(bytes.get(), (text + tail).data(), text.size() + tail.size());
        EXPECT_EQ(parse(std::string_view(bytes.get(), text.size())), std::stol(line.substr(line.find(' ')))) << line << ": " << text << tail;
      }
    }
  }
  EXPECT_EQ(checked, 51);
}
