#include "vxinfo/DesignLog.h"

#include "vxinfo/FileTail.h"
#include "vxinfo/RunLogLines.h"

namespace vxinfo {

namespace {

// The state of a log whose tail was not read.
LogState UnreadState(TailState state)
{
    switch (state) {
    case TailState::Missing:
        return LogState::Missing;
    case TailState::NotRegularFile:
        return LogState::NotRegularFile;
    case TailState::Unreadable:
    case TailState::Read:
        break;
    }
    return LogState::Unreadable;
}

} // namespace

DesignLog ReadDesignLog(const DesignContent& content)
{
    const FileTail tail = ReadFileTail(content.path + ".log", kLogTailBytes);
    DesignLog log;
    if (tail.state != TailState::Read) {
        log.state = UnreadState(tail.state);
        log.error = tail.error;
        return log;
    }
    RunLogLines lines = ReadRunLogLines(tail.text);
    log.verdict = JudgeLogOwnership(content, FileTimesAt(content.path), lines, tail.times);
    if (log.verdict.sign != ForeignLogSign::None)
        log.state = LogState::FromAnotherRun;
    // The list is written whole at the end of the log: when its start is not in the tail, the
    // log holds either no list or one too long to read.
    else if (tail.truncated && lines.failedObjects.empty())
        log.state = LogState::ListOutOfReach;
    else {
        log.state = LogState::Read;
        log.failedObjects = std::move(lines.failedObjects);
    }
    return log;
}

} // namespace vxinfo
