// Read-only opening of regular files for the font reader and the read-back check, and of pipes and FIFOs
// for the font reader.
#include "font/font_file.h"

#include <filesystem>
#include <system_error>

#ifndef _WIN32
#include <fcntl.h>
#include <signal.h>
#include <sys/time.h>
#include <unistd.h>
#endif

namespace {

ReadOnlyFile noFile() { return ReadOnlyFile(nullptr, &std::fclose); }

#ifndef _WIN32
void interruptWait(int) {}

// Opening a FIFO for reading waits until a program opens it for writing. An alarm, with a handler installed
// without SA_RESTART and the signal unblocked, ends that wait with EINTR after the given time; the earlier
// handler and signal mask are put back.
int openFifoWaitingAtMost(const char* path, int seconds) {
  struct sigaction action {};
  struct sigaction previous {};
  action.sa_handler = interruptWait;
  sigemptyset(&action.sa_mask);
  sigaction(SIGALRM, &action, &previous);
  sigset_t alarmOnly;
  sigset_t previousMask;
  sigemptyset(&alarmOnly);
  sigaddset(&alarmOnly, SIGALRM);
  sigprocmask(SIG_UNBLOCK, &alarmOnly, &previousMask);  // a blocked alarm would never end the wait
  itimerval timer{};
  timer.it_value.tv_sec = seconds;
  setitimer(ITIMER_REAL, &timer, nullptr);
  const int descriptor = open(path, O_RDONLY | O_CLOEXEC);
  const itimerval off{};
  setitimer(ITIMER_REAL, &off, nullptr);
  sigprocmask(SIG_SETMASK, &previousMask, nullptr);
  sigaction(SIGALRM, &previous, nullptr);
  return descriptor;
}
#endif

}  // namespace

ReadOnlyFile openRegularFileForReading(const std::string& path) {
  std::error_code error;
  const bool regular = std::filesystem::is_regular_file(path, error);
  return regular ? ReadOnlyFile(std::fopen(path.c_str(), "rb"), &std::fclose) : noFile();
}

ReadOnlyFile openFontForReading(const std::string& path) {
#ifndef _WIN32
  std::error_code error;
  if (std::filesystem::is_fifo(path, error)) {
    const int descriptor = openFifoWaitingAtMost(path.c_str(), kFifoWriterWaitSeconds);
    std::FILE* file = descriptor < 0 ? nullptr : fdopen(descriptor, "rb");
    if (descriptor >= 0 && file == nullptr) close(descriptor);
    return ReadOnlyFile(file, &std::fclose);
  }
#endif
  return openRegularFileForReading(path);
}
