// Test support: see support.h.
#include "support/support.h"

#include <sys/wait.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

TempDir::TempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "maskburn-test-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  path = pattern;
}

TempDir::~TempDir() {
  std::error_code error;
  std::filesystem::remove_all(path, error);
}

std::string unescape(const std::string& text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\' || i + 1 == text.size()) {
      out += text[i];
      continue;
    }
    const char c = text[++i];
    const std::size_t close = text.find('}', i);
    if (c == 'x') out += static_cast<char>(std::stoi(text.substr(i + 1, 2), nullptr, 16)), i += 2;
    else if (c == '{') out.append(std::stoul(text.substr(i + 1)), text[close + 1]), i = close + 1;
    else if (const std::size_t at = std::string_view("rntvf0\\").find(c); at != std::string_view::npos) out += "\r\n\t\v\f\0\\"[at];
    else if (c != 'c') out += c;
  }
  return out;
}

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void writeFile(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

int runIn(const std::string& dir, const std::string& command) {
  const int status = std::system(("cd '" + dir + "' && " + command).c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string realFontPath(const std::string& name) {
  const char* dir = std::getenv("MASKBURN_FONT_DIR");
  const std::string path = dir ? std::string(dir) + "/" + name + ".bdf" : "";
  if (!path.empty() && std::filesystem::is_regular_file(path)) return path;
  if (std::getenv("MASKBURN_REQUIRE_REAL_FONTS")) ADD_FAILURE() << "real font " << name << ".bdf not found";
  return "";
}
