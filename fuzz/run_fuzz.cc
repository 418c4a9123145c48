// Fuzz target: the whole run sequence (read, build, report, write, read back) on an arbitrary font pair
// (the input is split into the half-width and the full-width font file).
#include <cstdint>

#include "driver/run.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  captureConsole();
  enterPrivateFolder();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  resetConsoleSink();
  const auto [half, full] = splitInput(data, size);
  writeWholeFile("half.bdf", half);
  writeWholeFile("full.bdf", full);
  const char* const argv[] = {"maskburn", "-8x16", "half.bdf", "-16x16", "full.bdf"};
  runMaskburn(5, argv);
  return 0;
}
