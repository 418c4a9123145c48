// Fuzz target: the read-back check on arbitrary FONTINDEX.BIN / FONTDATA.BIN pairs (without a second part
// FONTDATA.BIN is missing). The check must list whatever it finds without reading outside what it holds.
#include "fuzz_support.h"
#include "report/readback_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto [index, glyphs, separated] = splitInput(data, size);
  writeWholeFile("FONTINDEX.BIN", index);
  separated ? writeWholeFile("FONTDATA.BIN", glyphs) : void(std::filesystem::remove("FONTDATA.BIN"));
  checkRomFiles();
  return 0;
}
