// Command line scan: whole-string, case-sensitive option matching; names are copied whole, of any length.
#include "driver/command_line.h"

#include <cstring>

CommandLine scanArguments(int argc, const char* const* argv) {
  CommandLine line;
  // Checked before anything else, wherever they stand: a user asking for help must never lose the ROM files
  // of the folder to an empty ROM.
  for (int index = 1; index < argc; ++index) {
    line.helpAsked = line.helpAsked || std::strcmp(argv[index], "--help") == 0 || std::strcmp(argv[index], "-h") == 0;
    line.versionAsked = line.versionAsked || std::strcmp(argv[index], "--version") == 0;
  }
  for (int index = 1; index < argc;) {
    const char* argument = argv[index];
    const bool half = std::strcmp(argument, "-8x16") == 0;
    const bool full = std::strcmp(argument, "-16x16") == 0;
    if (!half && !full) {
      ++index;
      continue;
    }
    if (index + 1 >= argc) {
      line.optionWithoutName = argument;
      break;
    }
    if (half) {
      line.hasHalfName = true;
      line.halfName = argv[index + 1];
    } else {
      line.hasFullName = true;
      line.fullName = argv[index + 1];
    }
    index += 2;
  }
  return line;
}
