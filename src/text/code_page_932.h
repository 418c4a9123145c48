// Code page 932 (Windows Shift_JIS) conversions from a built-in table.
// The tool decodes JIS-derived byte pairs into UTF-16 keys and encodes its own texts the same way on every platform.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The code page's default character: the key of every pair the code page does not map.
inline constexpr std::uint16_t kCodePage932DefaultKey = 0x30FB;

bool isCodePage932LeadByte(std::uint8_t byte);

// The first UTF-16 code unit of the zero-terminated string lead, trail, 0 in code page 932.
// A lead byte of 0 gives the empty string, so 0. A byte that is not a lead byte decodes by itself and the
// trail byte does not matter. A lead byte whose pair is not mapped gives kCodePage932DefaultKey.
std::uint16_t decodeCodePage932(std::uint8_t lead, std::uint8_t trail);

// Whether code page 932 maps the byte pair lead, trail (every single byte that is not a lead byte is mapped;
// a mapped pair may still decode to kCodePage932DefaultKey, as 0x81 0x45 does, the real middle dot).
bool codePage932Maps(std::uint8_t lead, std::uint8_t trail);

// Encodes UTF-8 text as code page 932. Each character takes the lowest byte sequence that decodes to it;
// a character the code page cannot represent becomes '?'.
std::string encodeCodePage932(std::string_view utf8);
