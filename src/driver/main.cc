// Entry point of maskburn: runs one conversion and hands the buffered console output to standard output.
#include <csignal>

#include "driver/platform_file_names.h"
#include "driver/run.h"
#include "text/console.h"

int main(int argc, char** argv) {
  prepareFileNames();
#ifdef SIGXFSZ
  // Past a file-size limit a write must fail (and be reported), not kill the tool mid-file.
  std::signal(SIGXFSZ, SIG_IGN);
#endif
#ifdef SIGPIPE
  // A reader that stops early (maskburn ... | head) must not cost the ROM files: the rest of the report is
  // lost (and the exit status says so), the conversion still runs to its end.
  std::signal(SIGPIPE, SIG_IGN);
#endif
  const int status = runMaskburn(argc, argv);
  consoleFlush();
  // A report that could not be written in full is a failed run, even when the ROM files were written.
  return status == kExitSuccess && consoleOutputFailed() ? kExitFailure : status;
}
