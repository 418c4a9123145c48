// PNG decoding through libpng's simplified reader, and a fork/exec runner for maskburn-view.
#include "view/png_check.h"

#include <png.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <stdexcept>

DecodedPng decodePng(const std::string& path) {
  DecodedPng decoded;
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, path.c_str())) {
    decoded.error = image.message;
    return decoded;
  }
  image.format = PNG_FORMAT_RGB;
  std::vector<png_byte> rgb(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr)) {
    decoded.error = image.message;
    return decoded;
  }
  decoded.width = static_cast<int>(image.width);
  decoded.height = static_cast<int>(image.height);
  for (std::size_t i = 0; i + 2 < rgb.size(); i += 3) {
    int found = -1;
    for (int entry = 0; entry < 4; ++entry) {
      if (rgb[i] == kPalette[entry].red && rgb[i + 1] == kPalette[entry].green && rgb[i + 2] == kPalette[entry].blue) {
        found = entry;
      }
    }
    if (found < 0) {
      decoded.error = "a colour that is not in the palette";
      return decoded;
    }
    decoded.pixels.push_back(static_cast<Color>(found));
  }
  return decoded;
}

ViewRun runView(const std::vector<std::string>& arguments, const std::string& workDir, long fileSizeLimit) {
  int pipeEnds[2];
  if (pipe(pipeEnds) != 0) throw std::runtime_error("pipe failed");
  const pid_t child = fork();
  if (child < 0) throw std::runtime_error("fork failed");
  if (child == 0) {
    close(pipeEnds[0]);
    dup2(pipeEnds[1], STDOUT_FILENO);
    dup2(pipeEnds[1], STDERR_FILENO);
    close(pipeEnds[1]);
    if (chdir(workDir.c_str()) != 0) _exit(127);
    if (fileSizeLimit >= 0) {
      // A write past the limit then fails with EFBIG instead of ending the process.
      std::signal(SIGXFSZ, SIG_IGN);
      const rlimit limit{static_cast<rlim_t>(fileSizeLimit), static_cast<rlim_t>(fileSizeLimit)};
      setrlimit(RLIMIT_FSIZE, &limit);
    }
    std::vector<std::string> copies = arguments;
    std::string name = "maskburn-view";
    std::vector<char*> argv{name.data()};
    for (std::string& argument : copies) argv.push_back(argument.data());
    argv.push_back(nullptr);
    execv(MASKBURN_VIEW_EXECUTABLE, argv.data());
    _exit(127);
  }
  close(pipeEnds[1]);
  ViewRun run;
  char buffer[4096];
  for (;;) {
    const ssize_t got = read(pipeEnds[0], buffer, sizeof buffer);
    if (got <= 0) break;
    run.output.append(buffer, static_cast<std::size_t>(got));
  }
  close(pipeEnds[0]);
  int status = 0;
  waitpid(child, &status, 0);
  if (WIFEXITED(status)) run.exitStatus = WEXITSTATUS(status);
  return run;
}
