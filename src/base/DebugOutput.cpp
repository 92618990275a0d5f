#include "base/DebugOutput.h"

#include <cstdarg>
#include <cstdio>
#include <string>
#include <utility>

namespace vx {

namespace {
DebugOutputSink& CurrentSink()
{
    static DebugOutputSink sink;
    return sink;
}
} // namespace

void WriteDebugOutput(std::string_view text)
{
    if (auto& sink = CurrentSink())
        sink(text);
}

void WriteDebugOutputF(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    va_list measure;
    va_copy(measure, args);
    const int length = std::vsnprintf(nullptr, 0, format, measure);
    va_end(measure);
    if (length > 0) {
        std::string text(static_cast<size_t>(length), '\0');
        std::vsnprintf(text.data(), text.size() + 1, format, args);
        WriteDebugOutput(text);
    }
    va_end(args);
}

DebugOutputSink SetDebugOutputSink(DebugOutputSink sink)
{
    return std::exchange(CurrentSink(), std::move(sink));
}

ScopedDebugOutputSink::ScopedDebugOutputSink(DebugOutputSink sink)
    : previous_(SetDebugOutputSink(std::move(sink)))
{
}

ScopedDebugOutputSink::~ScopedDebugOutputSink()
{
    SetDebugOutputSink(std::move(previous_));
}

} // namespace vx
