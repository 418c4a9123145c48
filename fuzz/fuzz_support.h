// Shared by the four fuzz targets (header only, included once per target): console output into a
// discarded string, a private working folder (a run writes FONTINDEX.BIN and FONTDATA.BIN into the current
// folder), and the input layout. Every target takes a pair input: the first part, the line "--8<--", then
// the second part (split at the first "\n--8<--\n"); an input without it is all first part, no second.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <tuple>

#include "text/console.h"  // also brings <cstdint>, <string> and <string_view>

inline std::string consoleSink;  // what the code under test prints; emptied for each input

// Every target prints into consoleSink and works in a fresh folder under /dev/shm (or /tmp), removed at a
// normal exit (a crash leaves it for a look).
extern "C" int LLVMFuzzerInitialize(int*, char***) {
  consoleCaptureTo(&consoleSink);
  static std::string folder = std::string(std::filesystem::exists("/dev/shm") ? "/dev/shm" : "/tmp") + "/maskburn-fuzz-XXXXXX";
  if (mkdtemp(folder.data()) == nullptr) std::abort();
  std::filesystem::current_path(folder);
  std::atexit([] { std::error_code ignored; std::filesystem::remove_all(folder, ignored); });
  return 0;
}

// Starts an input: empties the console sink and splits the input into the first part, the second part and
// whether it has the separator at all.
inline std::tuple<std::string_view, std::string_view, bool> splitInput(const std::uint8_t* data, std::size_t size) {
  static constexpr std::string_view kSeparator = "\n--8<--\n";
  consoleSink.clear();
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::size_t at = input.find(kSeparator);
  if (at == input.npos) return {input, input.substr(size), false};  // an empty view, but never a null one
  return {input.substr(0, at), input.substr(at + kSeparator.size()), true};
}

inline void writeWholeFile(const char* name, std::string_view bytes) {
  if (!std::ofstream(name, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()))) std::abort();
}
