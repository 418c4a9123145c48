// The command line: "-8x16 NAME" picks the half-width font, "-16x16 NAME" the full-width font.
// Other arguments are ignored; a later occurrence of an option replaces the earlier name.
#pragma once

#include <string>

struct CommandLine {
  bool hasHalfName = false;
  std::string halfName;
  bool hasFullName = false;
  std::string fullName;
  std::string optionWithoutName;  // an option that was the last argument, with no name after it
};

// Scans argv[1..argc-1]. The argument after an option is its name whatever it holds, even another option.
CommandLine scanArguments(int argc, const char* const* argv);
