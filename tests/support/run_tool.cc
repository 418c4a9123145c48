// Test support: fork/exec of the real executable with its standard output on a pipe, and temp folders.
#include "support/run_tool.h"

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

ToolRun runTool(const std::vector<std::string>& arguments, const std::string& workDir, ToolOptions options) {
  int pipeEnds[2];
  if (pipe(pipeEnds) != 0) throw std::runtime_error("pipe failed");
  const pid_t child = fork();
  if (child < 0) throw std::runtime_error("fork failed");
  if (child == 0) {
    close(pipeEnds[0]);
    dup2(pipeEnds[1], STDOUT_FILENO);
    close(pipeEnds[1]);
    if (chdir(workDir.c_str()) != 0) _exit(127);
    alarm(120);  // a tool that hangs is ended (and the test sees the signal) instead of stalling the suite
    if (options.fileSizeLimit >= 0) {
      const rlimit limit{static_cast<rlim_t>(options.fileSizeLimit), static_cast<rlim_t>(options.fileSizeLimit)};
      setrlimit(RLIMIT_FSIZE, &limit);
    }
    for (std::string& setting : options.environment) putenv(setting.data());
    std::vector<char*> argv;
    std::string name = "maskburn";
    argv.push_back(name.data());
    std::vector<std::string> copies = arguments;
    for (std::string& argument : copies) argv.push_back(argument.data());
    argv.push_back(nullptr);
    execv(MASKBURN_EXECUTABLE, argv.data());
    _exit(127);
  }
  close(pipeEnds[1]);
  ToolRun run;
  char buffer[65536];
  while (run.output.size() < options.closeOutputAfter) {
    const std::size_t want = std::min(sizeof buffer, options.closeOutputAfter - run.output.size());
    const ssize_t got = read(pipeEnds[0], buffer, want);
    if (got <= 0) break;
    run.output.append(buffer, static_cast<std::size_t>(got));
  }
  close(pipeEnds[0]);
  int status = 0;
  waitpid(child, &status, 0);
  if (WIFEXITED(status)) run.exitStatus = WEXITSTATUS(status);
  if (WIFSIGNALED(status)) run.signal = WTERMSIG(status);
  return run;
}

TempDir::TempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "maskburn-test-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  path = pattern;
}

TempDir::~TempDir() {
  std::error_code error;
  std::filesystem::permissions(path, std::filesystem::perms::owner_all, std::filesystem::perm_options::add, error);
  std::filesystem::remove_all(path, error);
}

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void writeFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}
