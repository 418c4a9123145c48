// Test support shared by the suites: temporary folders, whole files, escapes in data files, running the real
// executables through the shell, and the real Shinonome fonts (converted to BDF by the test command).
#pragma once

#include <string>

// A fresh folder under the system's temporary folder, removed with everything in it at the end of scope.
struct TempDir {
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  std::string path;
  std::string file(const std::string& name) const { return path + "/" + name; }
};

// Text of a data file of cases with its escapes resolved: \r \n \t \v \f \0 \\, \xHH, \{N}C for N times C,
// and \c for nothing (a mark that a line has no line feed).
std::string unescape(const std::string& text);

std::string readFile(const std::string& path);
void writeFile(const std::string& path, const std::string& bytes);

// Runs a shell command line in dir; its exit status, or -1 when it did not exit normally.
int runIn(const std::string& dir, const std::string& command);

// MASKBURN_FONT_DIR/NAME.bdf, or "" when it is not there: the caller then skips, but the test fails
// instead when MASKBURN_REQUIRE_REAL_FONTS is set, so CI cannot pass without the fonts.
std::string realFontPath(const std::string& name);
