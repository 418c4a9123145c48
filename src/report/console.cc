// Console channel implementation: catalogue texts encoded once, formatted straight into a 64 KiB buffer.
// A report of several megabytes thus costs a few large writes instead of one write per mark.
#include "report/console.h"

#include <array>
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "font/code_page_932.h"

namespace {

constexpr std::size_t kBufferBytes = 65536;

struct ConsoleState {
  std::array<char, kBufferBytes> buffer;
  std::size_t used = 0;
  std::string* capture = nullptr;
};

ConsoleState console;

void writeOut(const char* bytes, std::size_t length) {
  if (console.capture != nullptr) {
    console.capture->append(bytes, length);
  } else {
    // A failed write to standard output cannot be reported anywhere; the run goes on regardless.
    (void)std::fwrite(bytes, 1, length, stdout);
  }
}

}  // namespace

const std::string& consoleText(Text text) {
  static const std::array<std::string, static_cast<int>(Text::Count)> encoded = [] {
    std::array<std::string, static_cast<int>(Text::Count)> all;
    for (int i = 0; i < static_cast<int>(Text::Count); ++i) all[i] = encodeCodePage932(textUtf8(static_cast<Text>(i)));
    return all;
  }();
  return encoded[static_cast<int>(text)];
}

void consoleWrite(std::string_view bytes) {
  if (bytes.size() > kBufferBytes - console.used) {
    consoleFlush();
    if (bytes.size() > kBufferBytes) {
      writeOut(bytes.data(), bytes.size());
      return;
    }
  }
  std::memcpy(console.buffer.data() + console.used, bytes.data(), bytes.size());
  console.used += bytes.size();
}

void consolePrint(Text format, ...) {
  const char* pattern = consoleText(format).c_str();
  std::va_list args;
  va_start(args, format);
  std::va_list retry;
  va_copy(retry, args);
  std::size_t room = kBufferBytes - console.used;
  int length = std::vsnprintf(console.buffer.data() + console.used, room, pattern, args);
  if (length >= 0 && static_cast<std::size_t>(length) < room) {
    console.used += static_cast<std::size_t>(length);
  } else if (length >= 0) {
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    std::vsnprintf(text.data(), text.size(), pattern, retry);
    text.pop_back();
    consoleWrite(text);
  }
  va_end(retry);
  va_end(args);
}

void consoleFlush() {
  if (console.used > 0) writeOut(console.buffer.data(), console.used);
  console.used = 0;
  if (console.capture == nullptr) std::fflush(stdout);
}

void consoleCaptureTo(std::string* sink) {
  consoleFlush();
  console.capture = sink;
}
