#pragma once
// Whether the log beside a database can be the log of the run that wrote the database. A later run
// that was cancelled or failed rewrites the log but keeps the database, so the log beside a file
// may tell of another run.
//
// Signs that it does, in the order they are looked for:
// - the log says the run kept the previous target (cancelled, not replaced, file in use);
// - the log was created after the database's version stamp: a run creates its log at its start
//   and stamps the database as it closes it. Used when the file system keeps birth times and the
//   database file itself was created before its stamp (a copied or unpacked database is newer
//   than its stamp, and so is its copied log);
// - the log was last written more than kLateWriteMarginMs after the stamp: a run writes its last
//   lines right after stamping. Used when the database file was last written within that margin
//   of its stamp (a plain copy gives both files the time of copying);
// - the log names objects (library objects, templates) and the database holds none of them, as
//   objects or instances, nor are they among the log's failed objects. One unknown name says
//   nothing: objects of the run that merged into others or shared their equal data are stored
//   under other names. But the first library object a run writes is always stored (or failed), and
//   a single-object run stores its one library object.

#include "vxinfo/DesignContent.h"
#include "vxinfo/FileTimes.h"
#include "vxinfo/RunLogLines.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vxinfo {

// Far more than a run takes from stamping the database to its last log line, and more than the
// clocks of a file server and its client usually differ.
constexpr int64_t kLateWriteMarginMs = 5 * 60 * 1000;

enum class ForeignLogSign {
    None,
    SaysTargetKept,
    CreatedAfterStamp,
    WrittenLongAfterStamp,
    NamesOtherObjects
};

struct ForeignLogVerdict {
    ForeignLogSign sign = ForeignLogSign::None;
    std::string line; // SaysTargetKept: the line
    int64_t lateByMs = 0; // CreatedAfterStamp, WrittenLongAfterStamp: how long after the stamp
    std::vector<std::string> names; // NamesOtherObjects: the first few names the log gives
};

// The database's own times (nothing when unknown), the log's lines and times.
ForeignLogVerdict JudgeLogOwnership(const DesignContent& content,
    const std::optional<FileTimes>& databaseTimes, const RunLogLines& lines, const FileTimes& logTimes);

} // namespace vxinfo
