// Fuzz target: the whole run (read, build, report, write, read back) on an arbitrary font pair (half-width
// font, then full-width font).
#include "driver/run.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto [half, full, separated] = splitInput(data, size);
  writeWholeFile("half.bdf", half);
  writeWholeFile("full.bdf", full);
  const char* const argv[] = {"maskburn", "-8x16", "half.bdf", "-16x16", "full.bdf"};
  runMaskburn(5, argv);
  return 0;
}
