// Opening an existing file for reading only, as fonts and ROM files are read. ROM files must be regular files;
// a font may also come from a pipe or FIFO, but never from a directory or a device, which hold no font.
#pragma once

#include <cstdio>
#include <memory>
#include <string>

using ReadOnlyFile = std::unique_ptr<std::FILE, int (*)(std::FILE*)>;

// How long a font FIFO may wait for a program to open it for writing.
inline constexpr int kFifoWriterWaitSeconds = 5;

// The open file, or an empty handle when path is not a regular file or cannot be opened for reading.
ReadOnlyFile openRegularFileForReading(const std::string& path);

// As openRegularFileForReading, but a pipe or FIFO is opened too, as cat opens it (`<(pcf2bdf ...)`,
// `/dev/stdin`): its data is waited for. A FIFO that no program opens for writing within
// kFifoWriterWaitSeconds gives an empty handle, so it is reported as unopenable, never read as an empty
// font. (Windows has no FIFOs of this kind: there only regular files are opened.)
ReadOnlyFile openFontForReading(const std::string& path);
