#pragma once
// The toolkit's message services: information, warnings and errors of the conversion (materials,
// textures, meshes) for the user. Messages go to a pluggable sink, which the export run points at
// its log; without a sink they are dropped. Delivered messages are counted by kind.

#include <functional>
#include <string_view>

namespace vx {

enum class VMMessageKind {
    Information,
    Warning,
    Error,
};

using VMMessageSink = std::function<void(VMMessageKind kind, std::string_view text)>;

// Hands text to the current sink and counts it; dropped (and not counted) without a sink.
void ReportMessage(VMMessageKind kind, std::string_view text);
void ReportInformation(std::string_view text);
void ReportWarning(std::string_view text);
void ReportError(std::string_view text);

// Replaces the sink and returns the previous one; an empty function drops every message.
VMMessageSink SetMessageSink(VMMessageSink sink);

// Installs a sink for the lifetime of the object and restores the previous one afterwards.
class ScopedMessageSink {
public:
    explicit ScopedMessageSink(VMMessageSink sink);
    ~ScopedMessageSink();
    ScopedMessageSink(const ScopedMessageSink&) = delete;
    ScopedMessageSink& operator=(const ScopedMessageSink&) = delete;

private:
    VMMessageSink previous_;
};

// The numbers of messages delivered since the last reset, by kind.
struct VMMessageCounts {
    int information = 0;
    int warnings = 0;
    int errors = 0;
};
VMMessageCounts GetMessageCounts();
void ResetMessageCounts();

// The text a log line starts with for kind: "Information: ", "Warning: " or "Error: ".
const char* MessagePrefix(VMMessageKind kind);

} // namespace vx
