// Replacing files whole: the one way every program of the project writes an output file (the ROM pair, a PNG
// picture, a C header). Bytes go to a new temporary file beside the target and are renamed over it only once
// complete, so a failed write never leaves a partial file or costs the old one.
//
// Policy for what already stands in the target's place: an absent name or a regular file is replaced; anything
// else (a folder, a device, a FIFO, a symbolic link, a socket) is left alone and the write fails. Replacing a
// device or a FIFO would write into whatever is behind it, and replacing a link would silently cut it.
// (On Windows a read-only file also fails, since the system refuses to rename over it.)
#pragma once

#include <functional>
#include <string>
#include <string_view>

// True when target is absent or a regular file that may be replaced.
bool isReplaceable(const std::string& target);

// Writes bytes to a new temporary file beside target, under a name nothing else holds (a stale file, a FIFO or
// a link left under such a name is never opened or written through). onCreated runs once the file exists,
// before its bytes are written. Returns its name, or "" when it could not be written whole (then nothing of
// it is left, and errno tells why).
std::string writeTemporaryBeside(const std::string& target, std::string_view bytes,
                                 const std::function<void()>& onCreated = [] {});

// Renames the two temporary files over the two targets, together or not at all; returns which one the system
// refused (1 or 2), or 0. The old first target is moved aside first, so that it can be put back as it was.
int installPair(const std::string (&temporaries)[2], const std::string (&targets)[2]);

// Replaces target with bytes under the policy above. Returns "" on success, otherwise why nothing was written
// (any old file is left as it was).
std::string replaceFileWhole(const std::string& target, std::string_view bytes);
