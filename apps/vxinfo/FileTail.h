#pragma once
// The end of a text file, read safely whatever the path names: only a regular file is opened, and
// without blocking (a FIFO or a device is never read), and only its last bytes are read.

#include "vxinfo/FileTimes.h"

#include <cstddef>
#include <string>

namespace vxinfo {

enum class TailState { Missing, NotRegularFile, Unreadable, Read };

struct FileTail {
    TailState state = TailState::Missing;
    std::string text; // Read: the end of the file, from the start of a line
    bool truncated = false; // Read: the file holds more than text (whose first line is whole)
    FileTimes times; // Read: the times of the file that was read
    int error = 0; // Unreadable: the system's error number
};

// Reads the last maxBytes bytes of the file at path (all of it when smaller); of a longer file the
// part of a line cut at the start is dropped.
FileTail ReadFileTail(const std::string& path, std::size_t maxBytes);

} // namespace vxinfo
