// Opening an existing file for reading only, as fonts and ROM files are read: only regular files count.
// A FIFO without a writer would block for ever, and a directory or a device holds no font or ROM.
#pragma once

#include <cstdio>
#include <memory>
#include <string>

using ReadOnlyFile = std::unique_ptr<std::FILE, int (*)(std::FILE*)>;

// The open file, or an empty handle when path is not a regular file or cannot be opened for reading.
ReadOnlyFile openRegularFileForReading(const std::string& path);
