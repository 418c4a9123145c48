// Replacing files whole through temporary files and renames, with one policy for special files in the way.
#include "files/replace_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace {

constexpr int kTemporaryNameTries = 100;

std::FILE* createTemporaryBeside(const std::string& target, std::string* name) {
  const std::size_t slash = target.find_last_of('/');
  const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
  for (int attempt = 0; attempt < kTemporaryNameTries; ++attempt) {
    *name = target.substr(0, nameStart) + "." + target.substr(nameStart) + "." + std::to_string(attempt) + ".tmp";
    std::error_code error;
    const auto status = std::filesystem::symlink_status(*name, error);
    if (std::filesystem::exists(status)) continue;  // taken, or a dangling link
    if (error && error != std::errc::no_such_file_or_directory) return nullptr;
    return std::fopen(name->c_str(), "wb");
  }
  errno = EEXIST;
  return nullptr;
}

}  // namespace

bool isReplaceable(const std::string& target) {
  std::error_code error;
  const auto status = std::filesystem::symlink_status(target, error);
  if (!std::filesystem::exists(status)) return true;
  if (!std::filesystem::is_regular_file(status)) return false;
#ifdef _WIN32
  if ((status.permissions() & std::filesystem::perms::owner_write) == std::filesystem::perms::none) return false;
#endif
  return true;
}

std::string writeTemporaryBeside(const std::string& target, std::string_view bytes,
                                 const std::function<void()>& onCreated) {
  std::string temporary;
  std::FILE* file = createTemporaryBeside(target, &temporary);
  if (file == nullptr) return "";
  onCreated();
  bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  ok = std::fflush(file) == 0 && ok;
  int writeError = ok ? 0 : errno;
  if (std::fclose(file) != 0 && ok) ok = false, writeError = errno;
  if (ok) return temporary;
  std::remove(temporary.c_str());
  errno = writeError != 0 ? writeError : EIO;
  return "";
}

int installPair(const std::string (&temporaries)[2], const std::string (&targets)[2]) {
  std::error_code error;
  std::string aside;
  if (std::filesystem::exists(std::filesystem::symlink_status(targets[0], error))) {
    std::FILE* reserved = createTemporaryBeside(targets[0] + ".old", &aside);
    if (reserved == nullptr) return 1;
    std::fclose(reserved);
    std::filesystem::rename(targets[0], aside, error);
    if (error) return std::filesystem::remove(aside, error), 1;
  }
  int refused = 0;
  std::filesystem::rename(temporaries[0], targets[0], error);
  if (error) refused = 1;
  if (!refused) std::filesystem::rename(temporaries[1], targets[1], error);
  if (!refused && error) refused = 2;
  if (refused == 2) std::filesystem::remove(targets[0], error);  // the new first target
  if (!aside.empty() && refused) std::filesystem::rename(aside, targets[0], error);
  if (!aside.empty() && !refused) std::filesystem::remove(aside, error);
  return refused;
}

std::string replaceFileWhole(const std::string& target, std::string_view bytes) {
  if (!isReplaceable(target)) return "it exists and is not a regular file";
  errno = 0;
  const std::string temporary = writeTemporaryBeside(target, bytes);
  if (temporary.empty()) return std::strerror(errno);
  std::error_code error;
  std::filesystem::rename(temporary, target, error);
  if (!error) return "";
  const std::string problem = error.message();
  std::filesystem::remove(temporary, error);
  return problem;
}
