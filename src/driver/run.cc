// The run sequence. Failures after the argument checks never stop the run: each stage reports its own
// trouble and the later stages work on what there is; the exit status tells scripts that something failed.
#include "driver/run.h"

#include <filesystem>
#include <system_error>

#include "driver/command_line.h"
#include "font/bdf_reader.h"
#include "font/glyph_store.h"
#include "report/build_report.h"
#include "text/console.h"
#include "report/readback_check.h"
#include "rom/rom_files.h"
#include "rom/rom_image.h"

namespace {

// A font name is accepted when the path can be queried and is not a directory.
bool fontFileExists(const std::string& name) {
  std::error_code error;
  const auto status = std::filesystem::status(name, error);
  return !error && std::filesystem::exists(status) && !std::filesystem::is_directory(status);
}

}  // namespace

int runMaskburn(int argc, const char* const* argv) {
  consolePrint(Text::Banner);
  consolePrint(Text::Usage, argc > 0 && argv[0] != nullptr ? argv[0] : "");
  consolePrint(Text::UsageOutput);

  const CommandLine line = scanArguments(argc, argv);
  if (line.helpAsked || line.versionAsked) {
    if (line.versionAsked) consolePrint(Text::Version, MASKBURN_VERSION);
    return kExitSuccess;
  }
  if (!line.optionWithoutName.empty()) {
    consolePrint(Text::MissingNameAfterOption, line.optionWithoutName.c_str());
    return kExitUsage;
  }
  if (line.hasHalfName && !fontFileExists(line.halfName)) {
    consolePrint(Text::HalfFontMissing, line.halfName.c_str());
    return kExitFailure;
  }
  if (line.hasFullName && !fontFileExists(line.fullName)) {
    consolePrint(Text::FullFontMissing, line.fullName.c_str());
    return kExitFailure;
  }

  resetRomImage();
  clearGlyphStore();
  bool ok = true;
  if (line.hasHalfName) {
    consolePrint(Text::HalfFontConverting, line.halfName.c_str());
    ok = readHalfFont(line.halfName) == FontReadResult::Read && ok;
  }
  if (line.hasFullName) {
    consolePrint(Text::FullFontConverting, line.fullName.c_str());
    ok = readFullFont(line.fullName) == FontReadResult::Read && ok;
  }
  consolePrint(Text::HalfIndexHeading);
  consolePrint(Text::FullIndexHeading);
  buildRomImage();
  if (romImage.fullLeftOut > 0) consolePrint(Text::FullGlyphsLeftOut, romImage.fullLeftOut);
  printBuildReport();
  ok = writeRomFiles() && ok;
  checkRomFiles();
  releaseGlyphStore();
  return ok ? kExitSuccess : kExitFailure;
}
