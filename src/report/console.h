// The console channel: the one way any part of the tool prints, always in code page 932.
// Output is buffered in large blocks; tests can capture it into a string instead of standard output.
#pragma once

#include <string>
#include <string_view>

#include "report/messages.h"

// printf-style output of a catalogue text, converted to code page 932. %s arguments go out unchanged.
void consolePrint(Text format, ...);

// Raw bytes, already in code page 932 (pre-formatted pieces such as drawn glyph rows).
void consoleWrite(std::string_view bytes);

// The code page 932 bytes of a catalogue text (converted once, on first use).
const std::string& consoleText(Text text);

// Hands everything buffered to standard output (or to the capture string).
void consoleFlush();

// Sends all later output to *sink (appended) instead of standard output; nullptr restores standard output.
// Anything still buffered is flushed to the old destination first.
void consoleCaptureTo(std::string* sink);
