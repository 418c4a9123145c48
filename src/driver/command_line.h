// The command line: "-8x16 NAME" picks the half-width font, "-16x16 NAME" the full-width font.
// "--help", "-h" and "--version", anywhere, ask for the usage (and the version) alone; other arguments are
// ignored; a later occurrence of an option replaces the earlier name.
#pragma once

#include <string>

struct CommandLine {
  bool hasHalfName = false;
  std::string halfName;
  bool hasFullName = false;
  std::string fullName;
  std::string optionWithoutName;  // an option that was the last argument, with no name after it
  bool helpAsked = false;         // "--help" or "-h" anywhere: print the usage, touch no file
  bool versionAsked = false;      // "--version" anywhere: print the usage and the version, touch no file
};

// Scans argv[1..argc-1]. The argument after an option is its name whatever it holds, even another option.
CommandLine scanArguments(int argc, const char* const* argv);
