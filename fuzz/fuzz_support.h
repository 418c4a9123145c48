// Shared set-up for the fuzz targets: console output into a discarded string, a private working folder
// (the run writes FONTINDEX.BIN and FONTDATA.BIN into the current folder), and input splitting.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

// Sends console output to a string that each call of resetConsoleSink() empties.
void captureConsole();
void resetConsoleSink();

// Makes a fresh folder under /dev/shm (or /tmp) the current folder.
void enterPrivateFolder();

// Splits input into two parts: the first two bytes give the first part's length (little-endian, taken
// modulo what is left), the rest after it is the second part.
std::pair<std::string_view, std::string_view> splitInput(const std::uint8_t* data, std::size_t size);

void writeWholeFile(const char* name, std::string_view bytes);
