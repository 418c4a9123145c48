// maskburn-view: draws a ROM (FONTINDEX.BIN + FONTDATA.BIN) as PNG pictures, reading it through romfont:
// a sheet of every glyph, or a UTF-8 text as the device would show it.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "driver/exit_status.h"
#include "png_output.h"
#include "rom_source.h"
#include "romfont_text.h"
#include "screen_picture.h"
#include "sheet.h"
#include "text_art.h"
#include "text_picture.h"

namespace {

constexpr std::size_t kMaxTextBytes = 100000;
constexpr std::size_t kMaxScreenLines = 64;
constexpr int kMaxScreenSide = 4096;
constexpr int kMaxLinePosition = 100000;

constexpr const char* kUsage =
    "usage: maskburn-view --sheet OUT.png [--rows FIRST-LAST] [options]\n"
    "       maskburn-view --text TEXT OUT.png [--width N] [options]\n"
    "       maskburn-view --screen OUT.png [--size WxH] [--wrap] --line X Y TEXT [--line X Y TEXT ...] [options]\n"
    "       maskburn-view --art TEXT [--index FILE] [--data FILE]\n"
    "options: --index FILE (default FONTINDEX.BIN)  --data FILE (default FONTDATA.BIN)  --scale N (1-16, default 1)\n"
    "--sheet draws every glyph of the ROM, half-width then full-width in code order, 32 to a row, each row\n"
    "labelled with its first code in hex; --rows keeps only rows FIRST to LAST (counted from 1).\n"
    "--text draws a UTF-8 text as the device does, through romfont's text layer: lines 16 pixels apart, broken\n"
    "at '\\n' and, with --width, at N pixels (1-65535) by its line-breaking rule; characters the ROM lacks\n"
    "(and whose folded form it lacks) are shown as its geta mark (U+3013) or, half-width or without one, an\n"
    "empty box, and listed; control characters are skipped.\n"
    "--screen draws up to 64 UTF-8 texts on a device's screen (default 128x64) as its firmware does, each\n"
    "from its top-left pixel X Y (whole numbers, clipped at the edges), lit pixels white on black; each breaks\n"
    "into lines at '\\n' and, with --wrap, at the screen's right edge.\n"
    "--art prints each character of a UTF-8 text as \"U+XXXX\" and 16 rows of '#' and '.', as firmware\n"
    "does on a serial port; a character the ROM cannot give gets the reason on its line instead.\n"
    "--version prints the version.\n";

struct Options {
  std::optional<std::string> sheetPath;
  std::string textPath;
  std::optional<std::string> text;
  std::optional<std::string> screenPath;
  std::vector<ScreenLine> lines;
  int screenWidth = 128;
  int screenHeight = 64;
  bool wrap = false;
  std::optional<int> textWidth;
  bool sizeGiven = false;
  bool art = false;
  std::string indexPath = "FONTINDEX.BIN";
  std::string dataPath = "FONTDATA.BIN";
  RowRange rows;
  int scale = 1;
  bool help = false;
  bool version = false;
};

// A whole decimal number in [low, high], or nothing.
std::optional<int> parseNumber(std::string_view text, int low, int high) {
  if (text.empty() || text.size() > 9) return std::nullopt;
  int value = 0;
  for (char digit : text) {
    if (digit < '0' || digit > '9') return std::nullopt;
    value = value * 10 + (digit - '0');
  }
  if (value < low || value > high) return std::nullopt;
  return value;
}

// A whole number in [-limit, limit], with an optional minus sign, or nothing.
std::optional<int> parseSigned(std::string_view text, int limit) {
  const bool negative = !text.empty() && text[0] == '-';
  const auto magnitude = parseNumber(text.substr(negative ? 1 : 0), 0, limit);
  if (!magnitude) return std::nullopt;
  return negative ? -*magnitude : *magnitude;
}

// The width --text breaks its lines at: --width, else ROMFONT_NO_WRAP (at '\n' only).
std::uint16_t lineWidth(const Options& options) {
  return static_cast<std::uint16_t>(options.textWidth.value_or(ROMFONT_NO_WRAP));
}

// Parses the arguments; returns "" or what is wrong with them.
std::string parseArguments(const std::vector<std::string>& arguments, Options& options) {
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& name = arguments[i];
    const std::size_t valuesNeeded = name == "--text" ? 2 : name == "--line" ? 3 : 1;
    const bool takesValue = name == "--sheet" || name == "--text" || name == "--art" || name == "--index" ||
                            name == "--data" || name == "--rows" || name == "--scale" || name == "--screen" ||
                            name == "--size" || name == "--line" || name == "--width";
    if (name == "--help" || name == "-h" || name == "--version") {
      (name == "--version" ? options.version : options.help) = true;
      continue;
    }
    if (name == "--wrap") {
      options.wrap = true;
      continue;
    }
    if (!takesValue) return "unknown argument '" + name + "'";
    if (arguments.size() - i - 1 < valuesNeeded) {
      return name + (valuesNeeded == 3   ? " needs X, Y and a text"
                     : valuesNeeded == 2 ? " needs a text and an output file"
                                         : " needs a value");
    }
    const std::string& value = arguments[++i];
    if (name == "--sheet" || name == "--text" || name == "--art" || name == "--screen") {
      if (options.sheetPath || options.text || options.screenPath) {
        return "give only one of --sheet, --text, --art and --screen";
      }
    }
    if (name == "--screen") {
      options.screenPath = value;
    } else if (name == "--size") {
      const std::size_t cross = value.find('x');
      const auto width = parseNumber(std::string_view(value).substr(0, cross), 1, kMaxScreenSide);
      const auto height = cross == std::string::npos
                              ? std::nullopt
                              : parseNumber(std::string_view(value).substr(cross + 1), 1, kMaxScreenSide);
      if (!width || !height) return "--size takes WIDTHxHEIGHT, each 1 to 4096, such as 128x64, not '" + value + "'";
      options.screenWidth = *width;
      options.screenHeight = *height;
      options.sizeGiven = true;
    } else if (name == "--line") {
      const auto x = parseSigned(value, kMaxLinePosition);
      const auto y = parseSigned(arguments[i + 1], kMaxLinePosition);
      if (!x || !y) {
        return "--line takes X Y TEXT, X and Y whole numbers from -100000 to 100000, not '" + value + "' '" +
               arguments[i + 1] + "'";
      }
      options.lines.push_back({*x, *y, arguments[i + 2]});
      i += 2;
      if (options.lines.back().text.size() > kMaxTextBytes) {
        return "--line: the text is longer than " + std::to_string(kMaxTextBytes) + " bytes";
      }
      if (options.lines.size() > kMaxScreenLines) return "--screen takes at most 64 lines";
    } else if (name == "--width") {
      options.textWidth = parseNumber(value, 1, static_cast<int>(ROMFONT_NO_WRAP));
      if (!options.textWidth) return "--width takes a whole number of pixels from 1 to 65535, not '" + value + "'";
    } else if (name == "--sheet") {
      options.sheetPath = value;
    } else if (name == "--text" || name == "--art") {
      options.text = value;
      options.art = name == "--art";
      if (!options.art) options.textPath = arguments[++i];
    } else if (name == "--index") {
      options.indexPath = value;
    } else if (name == "--data") {
      options.dataPath = value;
    } else if (name == "--scale") {
      const auto scale = parseNumber(value, 1, 16);
      if (!scale) return "--scale takes a whole number from 1 to 16, not '" + value + "'";
      options.scale = *scale;
    } else {
      const std::size_t dash = value.find('-');
      const auto first = parseNumber(std::string_view(value).substr(0, dash), 1, 100000);
      const auto last = dash == std::string::npos ? std::nullopt
                                                  : parseNumber(std::string_view(value).substr(dash + 1), 1, 100000);
      if (!first || !last || *first > *last) return "--rows takes FIRST-LAST, such as 1-8, not '" + value + "'";
      options.rows = {*first, *last};
    }
  }
  if (options.help || options.version) return "";
  if (!options.screenPath && (options.sizeGiven || !options.lines.empty() || options.wrap)) {
    return "--line, --size and --wrap apply to --screen only";
  }
  if (options.textWidth && (!options.text || options.art)) return "--width applies to --text only";
  if (!options.sheetPath && !options.text && !options.screenPath) {
    return "nothing to do: give --sheet OUT.png, --text TEXT OUT.png or --screen OUT.png";
  }
  if (options.screenPath && options.lines.empty()) return "--screen needs at least one --line X Y TEXT";
  const std::string& outputPath =
      options.sheetPath ? *options.sheetPath : options.screenPath ? *options.screenPath : options.textPath;
  if (!options.art && outputPath.empty()) {
    return "the output file name is empty";
  }
  if (options.text && options.text->empty()) return "--text: the text is empty";
  if (options.text && options.text->size() > kMaxTextBytes) {
    return "--text: the text is longer than " + std::to_string(kMaxTextBytes) + " bytes";
  }
  if (options.text && !options.art) {
    const TextSize size = measureText(*options.text, lineWidth(options));
    const auto width = std::max<std::uint64_t>(size.widest, static_cast<std::uint64_t>(options.textWidth.value_or(0)));
    if (size.widest == 0) return "--text: the text has nothing to draw, only line ends and control characters";
    if (size.lines > kMaxTextLines || width * size.lines * kLineHeight > kMaxTextPixels) {
      return "--text: a picture of " + std::to_string(width) + " x " + std::to_string(size.lines * kLineHeight) +
             " pixels is too large (at most " + std::to_string(kMaxTextLines) + " lines and " +
             std::to_string(kMaxTextPixels) + " pixels)";
    }
  }
  if (!options.sheetPath && options.rows.last != 0) return "--rows applies to --sheet only";
  if (options.art && options.scale != 1) return "--scale applies to pictures only";
  return "";
}

void say(const std::string& line) { std::fprintf(stderr, "maskburn-view: %s\n", line.c_str()); }

int run(const Options& options) {
  LoadedRom rom;
  if (const std::string problem = loadRom(options.indexPath, options.dataPath, rom); !problem.empty()) {
    say(problem);
    return kExitFailure;
  }

  if (options.art) {
    const TextArt art = drawTextArt(rom.font, *options.text);
    std::fputs(art.art.c_str(), stdout);
    if (std::fflush(stdout) != 0) say("the art could not be written to standard output");
    return art.romFailed || std::ferror(stdout) ? kExitFailure : kExitSuccess;
  }
  if (options.text || options.screenPath) {
    const TextPicture picture =
        options.text ? drawText(rom.font, *options.text, lineWidth(options), options.textWidth.value_or(0))
                     : drawScreen(rom.font, options.screenWidth, options.screenHeight, options.lines, options.wrap);
    if (!picture.romError.empty()) {
      say("the ROM failed at " + picture.romError + "; nothing written");
      return kExitFailure;
    }
    for (const std::string& note : picture.notes) say(note);
    const std::string& path = options.text ? options.textPath : *options.screenPath;
    const Palette& palette = options.text ? kPalette : kScreenPalette;
    if (const std::string problem = writePng(path, picture.canvas, options.scale, palette); !problem.empty()) {
      say(problem);
      return kExitFailure;
    }
    return kExitSuccess;
  }

  const Sheet sheet = drawSheet(rom.font, options.rows);
  constexpr std::size_t kProblemsShown = 20;
  for (std::size_t i = 0; i < sheet.problems.size() && i < kProblemsShown; ++i) say(sheet.problems[i]);
  if (sheet.problems.size() > kProblemsShown) {
    say("... and " + std::to_string(sheet.problems.size() - kProblemsShown) + " more damaged entries");
  }
  if (sheet.canvas.width() == 0) {
    say(options.rows.last == 0 ? "the ROM holds no glyph that could be drawn; nothing written"
                               : "the sheet has no rows in the range asked for; nothing written");
    return kExitFailure;
  }
  if (const std::string problem = writePng(*options.sheetPath, sheet.canvas, options.scale); !problem.empty()) {
    say(problem);
    return kExitFailure;
  }
  if (!sheet.problems.empty()) {
    say("the ROM is damaged: " + std::to_string(sheet.problems.size()) +
        " entries point outside its files; the sheet shows the rest");
    return kExitFailure;
  }
  return kExitSuccess;
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
    std::fputs(options.help ? kUsage : "maskburn-view " MASKBURN_VERSION "\n", stdout);
    return kExitSuccess;
  }
  return run(options);
}
