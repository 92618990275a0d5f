#include "toolkit/VMMessages.h"

#include <utility>

namespace vx {

namespace {

VMMessageSink& CurrentSink()
{
    static VMMessageSink sink;
    return sink;
}

VMMessageCounts& Counts()
{
    static VMMessageCounts counts;
    return counts;
}

} // namespace

void ReportMessage(VMMessageKind kind, std::string_view text)
{
    VMMessageSink& sink = CurrentSink();
    if (!sink)
        return;
    VMMessageCounts& counts = Counts();
    switch (kind) {
    case VMMessageKind::Information:
        ++counts.information;
        break;
    case VMMessageKind::Warning:
        ++counts.warnings;
        break;
    case VMMessageKind::Error:
        ++counts.errors;
        break;
    }
    sink(kind, text);
}

void ReportInformation(std::string_view text)
{
    ReportMessage(VMMessageKind::Information, text);
}

void ReportWarning(std::string_view text)
{
    ReportMessage(VMMessageKind::Warning, text);
}

void ReportError(std::string_view text)
{
    ReportMessage(VMMessageKind::Error, text);
}

VMMessageSink SetMessageSink(VMMessageSink sink)
{
    return std::exchange(CurrentSink(), std::move(sink));
}

ScopedMessageSink::ScopedMessageSink(VMMessageSink sink)
    : previous_(SetMessageSink(std::move(sink)))
{
}

ScopedMessageSink::~ScopedMessageSink()
{
    SetMessageSink(std::move(previous_));
}

VMMessageCounts GetMessageCounts()
{
    return Counts();
}

void ResetMessageCounts()
{
    Counts() = VMMessageCounts {};
}

const char* MessagePrefix(VMMessageKind kind)
{
    switch (kind) {
    case VMMessageKind::Information:
        return "Information: ";
    case VMMessageKind::Warning:
        return "Warning: ";
    case VMMessageKind::Error:
        return "Error: ";
    }
    return "";
}

} // namespace vx
