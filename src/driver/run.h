// The run sequence of one conversion: start-up texts, argument checks, reading, building, report,
// writing and the read-back check, always in that order.
#pragma once

#include "driver/exit_status.h"

// Runs the whole conversion for a command line and returns the exit status. Output goes to the console.
int runMaskburn(int argc, const char* const* argv);
