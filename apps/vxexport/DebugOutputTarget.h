#pragma once
// Where --debug-output sends the debugger output (SQL errors, assertion reports...).

#include "base/DebugOutput.h"

#include <cstdio>
#include <string>

namespace vx {

// Routes the debugger output to a file or stderr for the object's lifetime; the previous sink
// comes back afterwards.
class DebugOutputTarget {
public:
    DebugOutputTarget() = default;
    ~DebugOutputTarget();
    DebugOutputTarget(const DebugOutputTarget&) = delete;
    DebugOutputTarget& operator=(const DebugOutputTarget&) = delete;

    // Sends the output to path ("-" for stderr; a file is created or emptied). Returns false, with
    // nothing changed, when the file cannot be opened. Call once.
    bool Open(const std::string& path);

private:
    std::FILE* file_ = nullptr;
    bool ownsFile_ = false;
    bool installed_ = false;
    DebugOutputSink previous_;
};

} // namespace vx
