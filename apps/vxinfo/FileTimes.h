#pragma once
// When a file was created and last written, as the file system records them.

#include <cstdint>
#include <optional>
#include <string>

namespace vxinfo {

struct FileTimes {
    std::optional<int64_t>
        bornMs; // creation (birth) time in Unix milliseconds, where the file system keeps it
    int64_t modifiedMs = 0; // last modification in Unix milliseconds
};

// The times of the open file fd / of the file at path (links followed); nothing when they cannot
// be read. Asking never opens the file.
std::optional<FileTimes> FileTimesOf(int fd);
std::optional<FileTimes> FileTimesAt(const std::string& path);

} // namespace vxinfo
