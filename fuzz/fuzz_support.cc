// Fuzz target support: see fuzz_support.h.
#include "fuzz_support.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "text/console.h"

namespace {
std::string sink;
}

void captureConsole() { consoleCaptureTo(&sink); }

void resetConsoleSink() { sink.clear(); }

void enterPrivateFolder() {
  const std::filesystem::path base = std::filesystem::exists("/dev/shm") ? "/dev/shm" : "/tmp";
  std::string pattern = (base / "maskburn-fuzz-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) std::abort();
  std::filesystem::current_path(pattern);
}

std::pair<std::string_view, std::string_view> splitInput(const std::uint8_t* data, std::size_t size) {
  const auto* bytes = reinterpret_cast<const char*>(data);
  if (size < 2) return {std::string_view(bytes, size), std::string_view()};
  const std::size_t rest = size - 2;
  const std::size_t first = rest == 0 ? 0 : (static_cast<std::size_t>(data[0]) | static_cast<std::size_t>(data[1]) << 8) % (rest + 1);
  return {std::string_view(bytes + 2, first), std::string_view(bytes + 2 + first, rest - first)};
}

void writeWholeFile(const char* name, std::string_view bytes) {
  std::FILE* file = std::fopen(name, "wb");
  if (file == nullptr) std::abort();
  if (std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size()) std::abort();
  std::fclose(file);
}
