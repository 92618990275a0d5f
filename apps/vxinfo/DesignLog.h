#pragma once
// The export log beside a design database (FILE.vx.log): the failed objects it lists, when it can
// be the log of the run that wrote the database, or why they cannot be reported.

#include "vxinfo/DesignContent.h"
#include "vxinfo/LogOwnership.h"

#include <cstddef>
#include <string>
#include <vector>

namespace vxinfo {

// How much of the end of a log is read. The failed objects are listed at its end.
constexpr std::size_t kLogTailBytes = 1024 * 1024;

enum class LogState {
    Missing, // no file beside the database
    NotRegularFile, // a FIFO, a device or a folder: never opened
    Unreadable, // error: the system's error number
    FromAnotherRun, // verdict: why
    ListOutOfReach, // a longer log whose last kLogTailBytes hold no list of failed objects
    Read // failedObjects is the log's list
};

struct DesignLog {
    LogState state = LogState::Missing;
    std::vector<std::string> failedObjects;
    int error = 0;
    ForeignLogVerdict verdict;
};

// Reads the log at content.path + ".log".
DesignLog ReadDesignLog(const DesignContent& content);

} // namespace vxinfo
