// The exit statuses of the project's programs (maskburn, maskburn-view, maskburn-subset, maskburn-image), one
// vocabulary for all: scripts can tell a failed run from bad arguments the same way whichever program they call.
#pragma once

inline constexpr int kExitSuccess = 0;
// Something failed: a font missing, unreadable or of the wrong size, a ROM unreadable or damaged, an output
// not written, or (maskburn) a report that could not be written to standard output.
inline constexpr int kExitFailure = 1;
// Bad arguments (an option without its value, an unknown option of the companion tools): nothing was done.
inline constexpr int kExitUsage = 2;
// maskburn-subset and maskburn-image: characters the ROM lacks or malformed UTF-8, listed; the rest was written.
inline constexpr int kExitMissing = 3;
