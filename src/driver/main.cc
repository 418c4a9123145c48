// Entry point of maskburn: runs one conversion and hands the buffered console output to standard output.
#include <csignal>

#include "driver/platform_file_names.h"
#include "driver/run.h"
#include "report/console.h"

int main(int argc, char** argv) {
  prepareFileNames();
#ifdef SIGXFSZ
  // Past a file-size limit a write must fail (and be reported), not kill the tool mid-file.
  std::signal(SIGXFSZ, SIG_IGN);
#endif
#ifdef SIGPIPE
  // A reader that stops early (maskburn ... | head) must not cost the ROM files: the report is lost, the
  // conversion still runs to its end.
  std::signal(SIGPIPE, SIG_IGN);
#endif
  const int status = runMaskburn(argc, argv);
  consoleFlush();
  return status;
}
