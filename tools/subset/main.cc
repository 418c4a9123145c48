// maskburn-subset: cuts a ROM (FONTINDEX.BIN + FONTDATA.BIN) down to the glyphs a UTF-8 text needs and writes
// it as the two ROM files, exactly as maskburn lays them out, or as C source for firmware; or as a compact
// (version 2) image, as a file or as C source.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "burn_image.h"
#include "c_source.h"
#include "driver/exit_status.h"
#include "files/replace_file.h"
#include "glyph_pick.h"
#include "rom/rom_files.h"
#include "rom_source.h"
#include "romfont_image.h"

namespace {

constexpr const char* kUsage =
    "usage: maskburn-subset [--index FILE] [--data FILE] (--text TEXT | --text-file FILE) [--compact]\n"
    "                       (OUTDIR | --c-source FILE.h)\n"
    "Cuts the ROM (default FONTINDEX.BIN + FONTDATA.BIN of this folder) down to the glyphs of a UTF-8 text and\n"
    "writes FONTINDEX.BIN + FONTDATA.BIN into OUTDIR (made if missing), or both as C arrays into FILE.h\n"
    "(- for standard output). --compact writes a version-2 image instead (a compact index, its parts packed\n"
    "after the header), as FONTIMAGE.BIN in OUTDIR or as one C array, for romfont_image_init.\n"
    "Line ends and other control characters are not glyphs. Exit status: 0 written; 1 a file unreadable, the\n"
    "ROM damaged or the output not written (nothing written); 2 bad arguments; 3 characters the ROM lacks or\n"
    "malformed UTF-8 (listed; the rest written, or nothing when none is left).\n";

struct Options {
  std::string indexPath = "FONTINDEX.BIN";
  std::string dataPath = "FONTDATA.BIN";
  std::optional<std::string> text;
  std::optional<std::string> textPath;
  std::optional<std::string> outFolder;
  std::optional<std::string> cSourcePath;
  bool compact = false;
  bool help = false;
  bool version = false;
};

// Parses the arguments; returns "" or what is wrong with them.
std::string parseArguments(const std::vector<std::string>& arguments, Options& options) {
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& name = arguments[i];
    if (name == "--help" || name == "-h") {
      options.help = true;
    } else if (name == "--version") {
      options.version = true;
    } else if (name == "--compact") {
      options.compact = true;
    } else if (name == "--index" || name == "--data" || name == "--text" || name == "--text-file" ||
               name == "--c-source") {
      if (i + 1 == arguments.size()) return name + " needs a value";
      const std::string& value = arguments[++i];
      std::optional<std::string>* slot = name == "--text" ? &options.text
                                         : name == "--text-file" ? &options.textPath
                                         : name == "--c-source" ? &options.cSourcePath
                                                                : nullptr;
      if (slot == nullptr) {
        (name == "--index" ? options.indexPath : options.dataPath) = value;
      } else if (*slot) {
        return name + " is given twice";
      } else {
        *slot = value;
      }
    } else if (name.size() > 1 && name[0] == '-') {
      return "unknown option '" + name + "'";
    } else if (options.outFolder) {
      return "one output folder only, not both '" + *options.outFolder + "' and '" + name + "'";
    } else {
      options.outFolder = name;
    }
  }
  if (options.help || options.version) return "";
  if (options.text.has_value() == options.textPath.has_value()) return "give one of --text TEXT and --text-file FILE";
  if (options.outFolder.has_value() == options.cSourcePath.has_value()) {
    return "give one of an output folder and --c-source FILE.h";
  }
  if ((options.outFolder ? *options.outFolder : *options.cSourcePath).empty()) return "the output name is empty";
  if (options.text && options.text->empty()) return "--text: the text is empty";
  return "";
}

void say(const std::string& line) { std::fprintf(stderr, "maskburn-subset: %s\n", line.c_str()); }

constexpr const char* kCompactImageName = "FONTIMAGE.BIN";

// The cut ROM as a packed version-2 image.
std::string compactImage(const std::string& index, std::string_view data) {
  romfont font;
  romfont_init_memory(&font, reinterpret_cast<const std::uint8_t*>(index.data()), static_cast<std::uint32_t>(index.size()),
                      reinterpret_cast<const std::uint8_t*>(data.data()), static_cast<std::uint32_t>(data.size()));
  const CompactRom compact = compactRom(font);
  return layOutImage(compact.index, compact.data, ROMFONT_IMAGE_COMPACT_VERSION, true).bytes;
}

// The text, from the command line or whole from its file.
std::optional<std::string> loadText(const Options& options) {
  if (options.text) return *options.text;
  std::string text;
  if (const std::string problem = readTextFile(*options.textPath, text); !problem.empty()) {
    say(problem);
    return std::nullopt;
  }
  return text;
}

// The files the subset would replace: FILE.h, or the pair in OUTDIR ("-" is standard output, replacing nothing).
std::vector<std::string> outputFiles(const Options& options) {
  if (options.cSourcePath) return {*options.cSourcePath == "-" ? std::string() : *options.cSourcePath};
  const std::string prefix = *options.outFolder + "/";
  if (options.compact) return {prefix + kCompactImageName};
  return {prefix + kIndexFileName, prefix + kDataFileName};
}

// What stands in the way of writing, checked before anything is written: an output that may not be replaced
// (files/replace_file.h: a folder, device, FIFO or link), or one that is the ROM being cut. "" when nothing does.
std::string outputProblem(const Options& options) {
  for (const std::string& output : outputFiles(options)) {
    if (output.empty()) continue;
    if (!isReplaceable(output)) return output + " exists and is not a regular file; nothing written";
    std::error_code error;
    for (const std::string& input : {options.indexPath, options.dataPath}) {
      if (std::filesystem::equivalent(output, input, error)) {
        return output + " is the ROM being cut; write the subset somewhere else";
      }
    }
  }
  return "";
}

// Writes the subset; returns false, having said why, when nothing could be written.
bool writeSubset(const Options& options, const GlyphPick& pick) {
  const std::string index = indexFileBytes();
  const std::string_view data = dataFileBytes();
  const std::string image = options.compact ? compactImage(index, data) : "";
  if (options.cSourcePath) {
    const std::string source = options.compact ? imageAsCSource(image, pick.half.size(), pick.full.size())
                                               : romAsCSource(index, data, pick.half.size(), pick.full.size());
    if (*options.cSourcePath == "-") {
      return std::fwrite(source.data(), 1, source.size(), stdout) == source.size() && std::fflush(stdout) == 0;
    }
    const std::string problem = replaceFileWhole(*options.cSourcePath, source);
    if (problem.empty()) return true;
    say("cannot write " + *options.cSourcePath + " (" + problem + "); an earlier file of that name is left as it was");
    return false;
  }
  const std::string& folder = *options.outFolder;
  std::error_code error;
  const bool made = std::filesystem::create_directories(folder, error);
  if (options.compact) {
    const std::string problem = replaceFileWhole(folder + "/" + kCompactImageName, image);
    if (problem.empty()) return true;
    if (made) std::filesystem::remove(folder, error);
    say("cannot write " + folder + "/" + kCompactImageName + " (" + problem + "); an earlier file of that name is left as it was");
    return false;
  }
  const RomPairOutcome outcome = writeRomPair(folder, [] {});
  if (outcome.installed) return true;
  if (made) std::filesystem::remove(folder, error);  // the folder made for the files, left empty
  say("cannot write the ROM into " + folder + (outcome.complete[0] || outcome.complete[1] ? " (renaming failed)" : "") +
      "; earlier ROM files there are left as they were");
  return false;
}

int run(const Options& options) {
  LoadedRom rom;
  if (const std::string problem = loadRom(options.indexPath, options.dataPath, rom); !problem.empty()) {
    say(problem);
    return kExitFailure;
  }
  const std::optional<std::string> text = loadText(options);
  if (!text) return kExitFailure;
  const GlyphPick pick = pickGlyphs(rom.font, *text);
  if (const int status = judgePick(pick, say); status != kExitSuccess) return status;
  if (const std::string problem = outputProblem(options); !problem.empty()) {
    say(problem);
    return kExitFailure;
  }
  buildPickedRom(pick);
  if (!writeSubset(options, pick)) return kExitFailure;
  if (options.cSourcePath && *options.cSourcePath == "-") return pick.problems.empty() ? kExitSuccess : kExitMissing;
  const std::string sizes = options.compact ? "a version-2 image of " + std::to_string(compactImage(indexFileBytes(), dataFileBytes()).size()) + " bytes"
                                            : std::to_string(indexFileBytes().size()) + " + " + std::to_string(dataFileBytes().size()) + " bytes";
  std::printf("%zu half-width and %zu full-width glyphs, %s, written to %s\n", pick.half.size(),
              pick.full.size(), sizes.c_str(), (options.cSourcePath ? *options.cSourcePath : *options.outFolder).c_str());
  return pick.problems.empty() ? kExitSuccess : kExitMissing;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
  Options options;
  if (const std::string problem = parseArguments(arguments, options); !problem.empty()) {
    say(problem);
    std::fputs(kUsage, stderr);
    return kExitUsage;
  }
  if (options.help || options.version) {
    std::fputs(options.help ? kUsage : "maskburn-subset " MASKBURN_VERSION "\n", stdout);
    return kExitSuccess;
  }
  return run(options);
}
