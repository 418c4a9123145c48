// The console channel: the one way any part of the tool prints, always in code page 932.
// Output is buffered in large blocks; tests can capture it into a string instead of standard output.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "text/messages.h"

// printf-style output of a catalogue text, converted to code page 932. The formats use %s, %d and %X
// with an optional 0 flag and width; %s arguments go out unchanged.
void consolePrint(Text format, ...);

// One listing row of cells: each value printed with the one-number format cell, except that zeros print
// the text blank when one is given (Text::Count = none). Same bytes as one consolePrint per cell.
void consolePrintCells(Text cell, Text blank, const std::uint8_t* values, std::size_t count);
void consolePrintCells(Text cell, Text blank, const std::uint16_t* values, std::size_t count);

// Raw bytes, already in code page 932 (pre-formatted pieces such as drawn glyph rows).
void consoleWrite(std::string_view bytes);

// Room for length bytes (at most 64 KiB) in the output, to be filled by the caller right away.
char* consoleReserve(std::size_t length);

// The code page 932 bytes of a catalogue text (converted once, on first use).
const std::string& consoleText(Text text);

// Hands everything buffered to standard output (or to the capture string).
void consoleFlush();

// True once any output could not be written to standard output (a full disk, a closed pipe).
bool consoleOutputFailed();

// Sends all later output to *sink (appended) instead of standard output; nullptr restores standard output.
// Anything still buffered is flushed to the old destination first.
void consoleCaptureTo(std::string* sink);
