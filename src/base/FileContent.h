#pragma once
// Reading and comparing the bytes of files, safely: only regular files are opened, without
// blocking (a FIFO or a device is not read), and only up to a size limit.

#include <cstddef>
#include <optional>
#include <vector>

namespace vx {

// The whole content of the regular file at path when it holds at most maxBytes; nothing when the
// path is null, missing, not a regular file (a FIFO, a device, a folder), larger than maxBytes, or
// cannot be read in full.
std::optional<std::vector<unsigned char>> ReadRegularFile(const char* path, std::size_t maxBytes);

// Whether path names a regular file (after following links); asking never blocks, whatever the
// path names. Readers that open files by other means ask this first.
bool IsRegularFileAt(const char* path);

// Whether something other than a regular file is at path (after following links): a FIFO, a
// device, a folder. False when nothing is there. Asking never blocks; a reader that is refused
// such a path says why with it.
bool IsSpecialFileAt(const char* path);

// True when the files at a and b can both be read whole and hold the same bytes (the same path
// counts as the same content once it can be read). False when either cannot be opened or read, or
// for a null path.
bool SameFileContent(const char* a, const char* b);

} // namespace vx
