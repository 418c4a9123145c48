// Narrow file names on each platform: on Windows the C runtime's multibyte code page is set to the ANSI code
// page, the one the arguments arrive in and std::fopen uses; elsewhere there is nothing to do.
#include "driver/platform_file_names.h"

#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <clocale>
#include <string>

void prepareFileNames() {
  // Only the character classes and multibyte conversions change (numbers, messages and times keep the "C"
  // locale). A code page the runtime cannot take leaves the "C" locale in place.
  const std::string codePage = "." + std::to_string(GetACP());
  (void)std::setlocale(LC_CTYPE, codePage.c_str());
}

#else

void prepareFileNames() {}

#endif
