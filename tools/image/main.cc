// maskburn-image: writes a ROM (FONTINDEX.BIN + FONTDATA.BIN), whole or cut down to the glyphs of a UTF-8 text,
// as the one file to burn on a flash chip, an EEPROM or an SD card, which firmware opens with romfont_image.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <utility>
#include <vector>

#include "burn_image.h"
#include "driver/exit_status.h"
#include "files/replace_file.h"
#include "glyph_pick.h"
#include "rom/rom_files.h"
#include "rom_source.h"
#include "romfont_image.h"

namespace {

constexpr std::uint64_t kMaxPadBytes = 256u << 20;
constexpr std::size_t kDamageShown = 20;

constexpr const char* kUsage =
    "usage: maskburn-image [--index FILE] [--data FILE] [--text TEXT | --text-file FILE] [--compact] [--pad SIZE]\n"
    "                      OUT.img\n"
    "Writes the ROM (default FONTINDEX.BIN + FONTDATA.BIN of this folder) as one image to burn: a 36-byte\n"
    "header, the index at 4096 and the data at the next 4 KiB boundary, 0xFF between. With a text, the ROM is\n"
    "first cut down to the text's glyphs, as maskburn-subset cuts it. --compact writes format version 2: a\n"
    "compact index (48 bytes a block instead of 512) and its data, the same glyphs for every code. --pad fills\n"
    "the image with 0xFF up to SIZE bytes (decimal, with K or M for KiB or MiB, or 0x hex; at most 256M).\n"
    "Exit status: 0 written; 1 a file unreadable, the ROM damaged, the image larger than SIZE or the output\n"
    "not written (nothing written); 2 bad arguments; 3 characters the ROM lacks or malformed UTF-8 (listed;\n"
    "the rest written, or nothing when none is left).\n";

struct Options {
  std::string indexPath = "FONTINDEX.BIN";
  std::string dataPath = "FONTDATA.BIN";
  std::optional<std::string> text;
  std::optional<std::string> textPath;
  std::optional<std::string> padText;
  std::optional<std::string> output;
  std::uint32_t pad = 0;  // 0: no padding
  bool compact = false;
  bool help = false;
  bool version = false;
};

// A --pad SIZE: decimal bytes, the same with a suffix K or M (KiB, MiB), or 0x and hex digits. Returns "" or
// what is wrong with it.
std::string parsePad(std::string_view text, std::uint32_t& size) {
  const bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
  if (hex) text.remove_prefix(2);
  unsigned shift = 0;
  if (!hex && !text.empty() && (text.back() == 'K' || text.back() == 'M')) {
    shift = text.back() == 'K' ? 10 : 20;
    text.remove_suffix(1);
  }
  std::uint64_t value = 0;
  for (const char digit : text) {
    const int decimal = digit >= '0' && digit <= '9' ? digit - '0' : -1;
    const int lower = digit >= 'a' && digit <= 'f' ? digit - 'a' + 10 : -1;
    const int upper = digit >= 'A' && digit <= 'F' ? digit - 'A' + 10 : -1;
    const int digitValue = decimal >= 0 ? decimal : !hex ? -1 : lower >= 0 ? lower : upper;
    if (digitValue < 0) return "not a size (bytes, or with K or M, or 0x hex)";
    if (value <= kMaxPadBytes) value = value * (hex ? 16u : 10u) + static_cast<unsigned>(digitValue);  // no overflow
  }
  if (text.empty()) return "not a size (bytes, or with K or M, or 0x hex)";
  if ((value << shift) > kMaxPadBytes) return "more than 256M (" + std::to_string(kMaxPadBytes) + " bytes)";
  size = static_cast<std::uint32_t>(value << shift);
  return "";
}

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
    } else if (name == "--index" || name == "--data" || name == "--text" || name == "--text-file" || name == "--pad") {
      if (i + 1 == arguments.size()) return name + " needs a value";
      const std::string& value = arguments[++i];
      std::optional<std::string>* slot = name == "--text"        ? &options.text
                                         : name == "--text-file" ? &options.textPath
                                         : name == "--pad"       ? &options.padText
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
    } else if (options.output) {
      return "one output file only, not both '" + *options.output + "' and '" + name + "'";
    } else {
      options.output = name;
    }
  }
  if (options.help || options.version) return "";
  if (options.text && options.textPath) return "give at most one of --text TEXT and --text-file FILE";
  if (options.text && options.text->empty()) return "--text: the text is empty";
  if (!options.output) return "give the image's file name (OUT.img)";
  if (options.output->empty()) return "the output name is empty";
  if (options.padText) {
    if (const std::string problem = parsePad(*options.padText, options.pad); !problem.empty()) {
      return "--pad: '" + *options.padText + "' is " + problem;
    }
  }
  return "";
}

void say(const std::string& line) { std::fprintf(stderr, "maskburn-image: %s\n", line.c_str()); }

// The ROM's two files that go into the image, and how many glyphs they give.
struct ImageParts {
  std::string index;
  std::string data;
  std::size_t half = 0;
  std::size_t full = 0;
  bool missing = false;  // the text had characters the ROM lacks, or malformed UTF-8
};

// The gatherers return the exit status of a run that must stop (having said why), or kExitSuccess.
// The ROM as read, once every entry is found to lead inside its files.
int gatherWhole(const Options& options, const LoadedRom& rom, ImageParts& parts) {
  const RomSurvey survey = surveyRom(rom.font);
  if (!survey.damaged.empty()) {
    for (std::size_t i = 0; i < survey.damaged.size() && i < kDamageShown; ++i) say(survey.damaged[i]);
    if (survey.damaged.size() > kDamageShown) {
      say("... and " + std::to_string(survey.damaged.size() - kDamageShown) + " more");
    }
    say("the ROM is damaged: " + std::to_string(survey.damaged.size()) + " entries lead outside " + options.indexPath +
        " or " + options.dataPath + "; nothing written");
    return kExitFailure;
  }
  parts.index.assign(rom.index.begin(), rom.index.end());
  parts.data.assign(rom.data.begin(), rom.data.end());
  parts.half = survey.half;
  parts.full = survey.full;
  return kExitSuccess;
}

// The ROM laid out of the text's glyphs, as maskburn-subset lays it out.
int gatherCut(const Options& options, const LoadedRom& rom, ImageParts& parts) {
  std::string text = options.text ? *options.text : "";
  if (options.textPath) {
    if (const std::string problem = readTextFile(*options.textPath, text); !problem.empty()) {
      say(problem);
      return kExitFailure;
    }
  }
  const GlyphPick pick = pickGlyphs(rom.font, text);
  if (const int status = judgePick(pick, say); status != kExitSuccess) return status;
  buildPickedRom(pick);
  parts.index = indexFileBytes();
  parts.data = dataFileBytes();
  parts.half = pick.half.size();
  parts.full = pick.full.size();
  parts.missing = !pick.problems.empty();
  return kExitSuccess;
}

// What stands in the way of writing the image: an output that may not be replaced (files/replace_file.h: a
// folder, device, FIFO or link), or one that is a file being read. "" when nothing does.
std::string outputProblem(const Options& options) {
  const std::string& output = *options.output;
  if (!isReplaceable(output)) return output + " exists and is not a regular file; nothing written";
  std::error_code error;
  for (const std::string& input : {options.indexPath, options.dataPath, options.textPath.value_or("")}) {
    if (!input.empty() && std::filesystem::equivalent(output, input, error)) {
      return output + " is a file being read; write the image somewhere else";
    }
  }
  return "";
}

int run(const Options& options) {
  LoadedRom rom;
  if (const std::string problem = loadRom(options.indexPath, options.dataPath, rom); !problem.empty()) {
    say(problem);
    return kExitFailure;
  }
  ImageParts parts;
  const bool cut = options.text || options.textPath;
  const int status = cut ? gatherCut(options, rom, parts) : gatherWhole(options, rom, parts);
  if (status != kExitSuccess) return status;
  if (options.compact) {  // the ROM gathered, as firmware reads it, into a compact index and its data
    romfont font;
    romfont_init_memory(&font, reinterpret_cast<const std::uint8_t*>(parts.index.data()),
                        static_cast<std::uint32_t>(parts.index.size()),
                        reinterpret_cast<const std::uint8_t*>(parts.data.data()),
                        static_cast<std::uint32_t>(parts.data.size()));
    CompactRom compact = compactRom(font);
    parts.index = std::move(compact.index);
    parts.data = std::move(compact.data);
  }
  BurnImage image = layOutImage(parts.index, parts.data,
                                options.compact ? ROMFONT_IMAGE_COMPACT_VERSION : ROMFONT_IMAGE_VERSION);
  const std::size_t imageSize = image.bytes.size();
  if (options.padText && options.pad < imageSize) {
    say("the image (" + std::to_string(imageSize) + " bytes) does not fit in " + std::to_string(options.pad) +
        " bytes; nothing written");
    return kExitFailure;
  }
  if (options.padText) image.bytes.resize(options.pad, '\xFF');
  if (const std::string problem = outputProblem(options); !problem.empty()) {
    say(problem);
    return kExitFailure;
  }
  if (const std::string problem = replaceFileWhole(*options.output, image.bytes); !problem.empty()) {
    say("cannot write " + *options.output + " (" + problem + "); an earlier file of that name is left as it was");
    return kExitFailure;
  }
  const std::string padding = image.bytes.size() > imageSize ? ", then 0xFF from " + std::to_string(imageSize) : "";
  std::printf("%s: %zu bytes%s (index %zu at %u, data %zu at %u%s), %zu half-width and %zu full-width glyphs, "
              "index CRC-32 0x%08X, data CRC-32 0x%08X\n",
              options.output->c_str(), image.bytes.size(), options.compact ? ", version 2" : "", parts.index.size(), static_cast<unsigned>(image.indexOffset),
              parts.data.size(), static_cast<unsigned>(image.dataOffset), padding.c_str(), parts.half, parts.full,
              static_cast<unsigned>(image.indexCrc), static_cast<unsigned>(image.dataCrc));
  return parts.missing ? kExitMissing : kExitSuccess;
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
    std::fputs(options.help ? kUsage : "maskburn-image " MASKBURN_VERSION "\n", stdout);
    return kExitSuccess;
  }
  return run(options);
}
