// Command line scan: whole-string, case-sensitive option matching; names are copied whole, of any length.
#include "driver/command_line.h"

#include <cstring>

CommandLine scanArguments(int argc, const char* const* argv) {
  CommandLine line;
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
