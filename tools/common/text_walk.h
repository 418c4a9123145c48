// Walking a UTF-8 text through romfont as firmware does, and naming the characters the ROM could not give.
#pragma once

#include <string>
#include <string_view>

#include "romfont.h"

// Starts a walk over utf8 (the text must outlive the walk). romfont lengths are 32-bit and the largest value
// means "up to a NUL", so a longer text is walked up to just below that.
void walkText(romfont_walker& walker, const romfont& font, std::string_view utf8);

// "byte N: U+XXXX is not in the ROM" or "byte N: malformed UTF-8 (K bytes)", N counted from 1.
std::string describeMissing(const romfont_char& ch, romfont_result result);

// "byte N: U+XXXX: bad image" and the like, for a result that means the ROM itself failed.
std::string describeRomFailure(const romfont_char& ch, romfont_result result);

// Whether a result means the ROM itself failed (damaged, unreadable) rather than a character it lacks.
bool isRomFailure(romfont_result result);
