// Read-only opening of regular files for the font reader and the read-back check.
#include "font/font_file.h"

#include <filesystem>
#include <system_error>

ReadOnlyFile openRegularFileForReading(const std::string& path) {
  std::error_code error;
  const bool regular = std::filesystem::is_regular_file(path, error);
  return ReadOnlyFile(regular ? std::fopen(path.c_str(), "rb") : nullptr, &std::fclose);
}
