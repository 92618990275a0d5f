#pragma once
// The "debugger output" channel: diagnostic text for developers (SQL errors, assertion reports,
// suspicious values). On the original host this went to the attached debugger; here it goes to a
// pluggable sink that the front end points at stderr or a file and tests capture.

#include <functional>
#include <string_view>

namespace vx {

using DebugOutputSink = std::function<void(std::string_view text)>;

// Writes text to the current sink exactly as given (no newline is added). Without a sink the
// text is dropped, as it is on a host with no debugger attached.
void WriteDebugOutput(std::string_view text);

// printf-style variant; the formatted text may be of any length.
void WriteDebugOutputF(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Replaces the sink and returns the previous one. An empty function drops all output.
DebugOutputSink SetDebugOutputSink(DebugOutputSink sink);

// Installs a sink for the lifetime of the object and restores the previous sink afterwards.
class ScopedDebugOutputSink {
public:
    explicit ScopedDebugOutputSink(DebugOutputSink sink);
    ~ScopedDebugOutputSink();
    ScopedDebugOutputSink(const ScopedDebugOutputSink&) = delete;
    ScopedDebugOutputSink& operator=(const ScopedDebugOutputSink&) = delete;

private:
    DebugOutputSink previous_;
};

} // namespace vx
