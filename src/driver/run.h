// The run sequence of one conversion: start-up texts, argument checks, reading, building, report,
// writing and the read-back check, always in that order.
#pragma once

enum ExitStatus {
  kExitSuccess = 0,
  kExitFailure = 1,  // a font was missing, unreadable or of the wrong size, a ROM file was not written,
                     // or the report could not be written to standard output
  kExitUsage = 2,    // an option had no file name after it
};

// Runs the whole conversion for a command line and returns the exit status. Output goes to the console.
int runMaskburn(int argc, const char* const* argv);
