// Fuzz target: the read-back check on arbitrary FONTINDEX.BIN / FONTDATA.BIN pairs (the input is split
// into the two files). The check must list whatever it finds without reading outside what it holds.
#include <cstdint>
#include <filesystem>

#include "fuzz_support.h"
#include "report/readback_check.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  captureConsole();
  enterPrivateFolder();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  resetConsoleSink();
  const auto [index, glyphs] = splitInput(data, size);
  // An odd first byte leaves the data file out, to cover a missing file too.
  writeWholeFile("FONTINDEX.BIN", index);
  std::error_code error;
  if (size > 0 && (data[0] & 0x80)) {
    std::filesystem::remove("FONTDATA.BIN", error);
  } else {
    writeWholeFile("FONTDATA.BIN", glyphs);
  }
  checkRomFiles();
  return 0;
}
