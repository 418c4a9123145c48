// Runs the real maskburn executable in a folder of its own and captures exactly what it printed.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct ToolRun {
  int exitStatus = -1;  // -1 when the tool did not exit normally
  int signal = 0;       // the signal that ended it, 0 if none
  std::string output;   // standard output, byte for byte
};

struct ToolOptions {
  long fileSizeLimit = -1;                // RLIMIT_FSIZE in bytes for the tool's process; -1 = unlimited
  std::vector<std::string> environment;   // extra NAME=VALUE settings for the tool's process
  std::size_t closeOutputAfter = SIZE_MAX;  // stop reading (and close the pipe) after this many bytes
};

// Runs maskburn with argv[0] "maskburn" and the given arguments, in workDir.
ToolRun runTool(const std::vector<std::string>& arguments, const std::string& workDir, ToolOptions options = {});

// A fresh folder under the system's temporary folder, removed with everything in it at the end of scope.
struct TempDir {
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  std::string path;
  std::string file(const std::string& name) const { return path + "/" + name; }
};

std::string readFile(const std::string& path);
void writeFile(const std::string& path, const std::string& bytes);
