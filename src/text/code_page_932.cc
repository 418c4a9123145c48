// Code page 932 decoding through the generated table, and the reverse mapping built from it on first use.
// The table comes from tools/gen/code_page_932.py so anyone can regenerate it and compare.
#include "text/code_page_932.h"

#include <array>

namespace {

#include "text/code_page_932_table.inc"

int leadRow(std::uint8_t lead) {
  return lead <= 0x9F ? lead - 0x81 : lead - 0xE0 + 31;
}

// Code point -> code page 932 bytes (high byte 0 for a single byte); 0 = not representable.
// Filled in ascending byte order, keeping the first (lowest) sequence of each character.
const std::array<std::uint16_t, 65536>& reverseTable() {
  static const std::array<std::uint16_t, 65536> table = [] {
    std::array<std::uint16_t, 65536> reverse{};
    for (int byte = 1; byte < 256; ++byte) {
      if (!isCodePage932LeadByte(static_cast<std::uint8_t>(byte))) {
        std::uint16_t& slot = reverse[kSingleByteTable[byte]];
        if (slot == 0) slot = static_cast<std::uint16_t>(byte);
      }
    }
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
      if (!isCodePage932LeadByte(static_cast<std::uint8_t>(lead))) continue;
      for (int trail = 1; trail < 256; ++trail) {
        std::uint16_t key = kPairTable[leadRow(static_cast<std::uint8_t>(lead)) * 256 + trail];
        if (!codePage932Maps(static_cast<std::uint8_t>(lead), static_cast<std::uint8_t>(trail))) continue;
        std::uint16_t& slot = reverse[key];
        if (slot == 0) slot = static_cast<std::uint16_t>(lead << 8 | trail);
      }
    }
    return reverse;
  }();
  return table;
}

// Decodes one UTF-8 sequence at text[pos]; returns U+FFFD (and moves one byte) on malformed input.
char32_t nextCodePoint(std::string_view text, std::size_t& pos) {
  auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  unsigned char first = byte(pos);
  int length = first < 0x80 ? 1 : (first >> 5) == 0x6 ? 2 : (first >> 4) == 0xE ? 3 : (first >> 3) == 0x1E ? 4 : 0;
  if (length == 0 || pos + length > text.size()) {
    ++pos;
    return 0xFFFD;
  }
  char32_t value = length == 1 ? first : first & (0x7F >> length);
  for (int i = 1; i < length; ++i) {
    if ((byte(pos + i) & 0xC0) != 0x80) {
      ++pos;
      return 0xFFFD;
    }
    value = value << 6 | (byte(pos + i) & 0x3F);
  }
  pos += length;
  return value;
}

}  // namespace

bool isCodePage932LeadByte(std::uint8_t byte) {
  return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

std::uint16_t decodeCodePage932(std::uint8_t lead, std::uint8_t trail) {
  if (lead == 0) return 0;
  if (!isCodePage932LeadByte(lead)) return kSingleByteTable[lead];
  return kPairTable[leadRow(lead) * 256 + trail];
}

bool codePage932Maps(std::uint8_t lead, std::uint8_t trail) {
  // The table holds the default character for unmapped pairs; only 0x81 0x45 maps to it for real.
  return decodeCodePage932(lead, trail) != kCodePage932DefaultKey || (lead == 0x81 && trail == 0x45);
}

std::string encodeCodePage932(std::string_view utf8) {
  const auto& reverse = reverseTable();
  std::string out;
  out.reserve(utf8.size());
  for (std::size_t pos = 0; pos < utf8.size();) {
    char32_t code = nextCodePoint(utf8, pos);
    if (code == 0) {
      out.push_back('\0');
      continue;
    }
    std::uint16_t bytes = code < 0x10000 ? reverse[code] : 0;
    if (bytes == 0) {
      out.push_back('?');
    } else if (bytes > 0xFF) {
      out.push_back(static_cast<char>(bytes >> 8));
      out.push_back(static_cast<char>(bytes & 0xFF));
    } else {
      out.push_back(static_cast<char>(bytes));
    }
  }
  return out;
}
