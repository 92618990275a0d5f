#include "database/InstanceWriter.h"

#include "database/CompositeObjectWriter.h"
#include "database/GroupWriter.h"
#include "database/ObjectSharing.h"
#include "database/PartKeys.h"
#include "database/PropertyWriter.h"
#include "database/RecordBinding.h"

#include "base/Assert.h"
#include "base/DebugOutput.h"
#include "base/Numeric.h"
#include "base/Placement.h"
#include "design/Bounds.h"
#include "design/NoName.h"
#include "design/PropertyKey.h"
#include "design/PropertyTypes.h"

#include <cmath>
#include <string>
#include <vector>

namespace vx {

namespace {

constexpr const char* kImportTemplateName = "ImportTemplate";
constexpr const char* kImportTemplateValue = "Release";
constexpr const char* kLogLibraryObjects = "The following objects can be imported as library object:";

void RecordFailedInstance(RunReport& report, const ZR::ObjectInstance& oi, const char* reason)
{
    report.AddFailedObject(oi.name.c_str());
    WriteDebugOutput(std::string("Instance \"") + (oi.name.IsEmpty() ? kTextNoName : oi.name.c_str())
        + "\" not written: " + reason + "\r\n");
}

bool IsWritableTarget(const ZR::CompositeObject& target)
{
    const ZR::CompositeObjectData& data = target.data;
    if (data.Lod == ZR::CompositeObjectData::lInvalid)
        return false;
    if (data.Components.IsEmpty() && data.Model.pairs.IsEmpty())
        return false;
    return data.Aabb.valid;
}

bool IsFiniteVector(const Vector3& v)
{
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

bool HasLength(const Vector3& row)
{
    return row.x != 0.0f || row.y != 0.0f || row.z != 0.0f;
}

// Whether the instance's row can be stored: finite sizes and placement, three axes of some length,
// and finite stored values.
bool HasStorablePlacement(const ZR::ObjectInstance& oi)
{
    const ZR::Placement& placement = oi.placement;
    const Rotation& rows = placement.matrix;
    if (!std::isfinite(oi.length) || !std::isfinite(oi.width) || !std::isfinite(oi.height))
        return false;
    if (!IsFiniteVector(placement.position) || !IsFiniteVector(rows.R0) || !IsFiniteVector(rows.R1)
        || !IsFiniteVector(rows.R2))
        return false;
    if (!HasLength(rows.R0) || !HasLength(rows.R1) || !HasLength(rows.R2))
        return false;
    const AnglePlacement stored = TransformToPlacement(rows, placement.position).placement;
    return std::isfinite(stored.x) && std::isfinite(stored.y) && std::isfinite(stored.z)
        && std::isfinite(stored.azimuth) && std::isfinite(stored.elevation) && std::isfinite(stored.twist);
}

// The box of target recomputed just before it is written; a rejection names the object in the log.
void RecomputeBounds(DesignWrite& write, ZR::CompositeObject& target)
{
    ZR::ComputeBounds(target, [&write](const ZR::CompositeObject& rejected, const char* reason) {
        if (!write.rejectedBoxes.insert(&rejected).second)
            return;
        const std::string line = std::string("Bounding box of object \"")
            + (rejected.name.IsEmpty() ? kTextNoName : rejected.name.c_str()) + "\": " + reason;
        write.report.WriteLogLine(line.c_str());
    });
}

void BindSizes(Sqlite3::Statement& insert, int& position, const ZR::ObjectInstance& oi)
{
    if (oi.lengthFlag || oi.sizeFlag)
        insert.Param(position++).BindDouble(oi.length);
    else
        insert.Param(position++).BindNull();
    if (oi.sizeFlag) {
        insert.Param(position++).BindDouble(oi.height);
        insert.Param(position++).BindDouble(oi.width);
    } else {
        insert.Param(position++).BindNull();
        insert.Param(position++).BindNull();
    }
}

void BindInstanceRow(Sqlite3::Statement& insert, const ZR::ObjectInstance& oi, int64_t luid,
    int64_t ownerLuid, int64_t targetLuid)
{
    int position = 0;
    insert.Param(position++).BindInt64(luid);
    insert.Param(position++).BindText(oi.name.c_str());
    insert.Param(position++).BindInt64(ownerLuid);
    insert.Param(position++).BindInt64(targetLuid);
    if (oi.chainFlag)
        insert.Param(position++).BindInt(oi.chain);
    else
        insert.Param(position++).BindNull();
    BindSizes(insert, position, oi);
    insert.Param(position++).BindInt(oi.flags);
    const AnglePlacement stored = TransformToPlacement(oi.placement.matrix, oi.placement.position).placement;
    for (const double value :
        {static_cast<double>(RoundLength(stored.x)), static_cast<double>(RoundLength(stored.y)),
            static_cast<double>(RoundLength(stored.z)), static_cast<double>(stored.azimuth),
            static_cast<double>(stored.elevation), static_cast<double>(stored.twist)})
        insert.Param(position++).BindDouble(value);
}

// The ObjectInstances row of oi; returns its row id, or -1 when it was not inserted.
int64_t InsertInstanceRow(
    SqlWriter& writer, const ZR::ObjectInstance& oi, int64_t ownerLuid, int64_t targetLuid)
{
    const int64_t luid = writer.NewLuid(oi.guid);
    if (luid < 0)
        return -1;
    const bool inserted = writer.BindAndRun(writer.GetStatement(WriterStatement::InsertObjectInstance),
        [&](Sqlite3::Statement& insert) { BindInstanceRow(insert, oi, luid, ownerLuid, targetLuid); });
    return inserted ? writer.LastInsertRowid() : -1;
}

void WriteMembership(SqlWriter& writer, int64_t instanceLuid, int64_t groupLuid)
{
    writer.BindAndRun(writer.GetStatement(WriterStatement::InsertProperty), [&](Sqlite3::Statement& insert) {
        insert.Param(0).BindInt64(instanceLuid);
        insert.Param(1).BindInt64(groupLuid);
        insert.Param(2).BindNull();
        insert.Param(3).BindNull();
    });
}

void WriteGroupMemberships(SqlWriter& writer, const ZR::ObjectInstance& oi)
{
    for (ZR::Group* group : oi.groups) {
        if (!VX_ASSERT_TEXT(group, "gr"))
            continue;
        const int64_t groupLuid = WriteGroup(writer, *group);
        if (groupLuid >= 0)
            WriteMembership(writer, oi.guid.dbid, groupLuid);
    }
}

// Writes target (or the object that takes its place) when it is not written yet; returns the object
// the instance places, or null when it could not be written.
ZR::CompositeObject* WriteTarget(DesignWrite& write, ZR::ObjectInstance& oi, bool& unique)
{
    SqlWriter& writer = write.sql;
    ZR::CompositeObject* target = oi.object;
    if (target->IsInDB())
        return target;
    const DesignWriteOptions& options = write.options;
    if (options.shareEqualData) {
        if (!options.singleObjectActive) {
            target = ShareEqualObject(writer.WriteState().sharing, target);
            oi.object = target;
        } else {
            unique = HasPartProperty(oi);
        }
    }
    if (writer.WriteState().inProgress.count(target))
        return nullptr;
    WriteCompositeObject(write, *target, false, unique);
    return target->IsInDB() ? target : nullptr;
}

// The rows of the instance, its target's first (see WriteInstance).
bool WriteInstanceRows(DesignWrite& write, ZR::ObjectInstance& oi, int64_t ownerLuid)
{
    SqlWriter& writer = write.sql;
    if (ownerLuid < 0 || oi.IsInDB())
        return oi.IsInDB();
    ZR::CompositeObject* target = oi.object;
    if (!VX_ASSERT_TEXT(target, "oi->object")) {
        RecordFailedInstance(write.report, oi, "no target");
        return false;
    }
    if (writer.WriteState().inProgress.count(target)) {
        RecordFailedInstance(write.report, oi, "the target contains this instance");
        return false;
    }
    // The box of a target about to be written is computed from its content now.
    if (!target->IsInDB())
        RecomputeBounds(write, *target);
    if (!IsWritableTarget(*target)) {
        RecordFailedInstance(write.report, oi, "the target is empty, has no valid box or no level of detail");
        return false;
    }
    if (!HasStorablePlacement(oi)) {
        RecordFailedInstance(write.report, oi, "placement or sizes not finite, or an axis of zero length");
        return false;
    }
    bool unique = false;
    target = WriteTarget(write, oi, unique);
    if (!target) {
        RecordFailedInstance(write.report, oi, "the target could not be written");
        return false;
    }
    const int64_t dbid = InsertInstanceRow(writer, oi, ownerLuid, target->guid.dbid);
    if (dbid < 0) {
        RecordFailedInstance(write.report, oi, "its row was refused");
        return false;
    }
    oi.guid.dbid = dbid;
    WriteProperties(writer, write.report, oi.properties, dbid, oi.name.c_str());
    if (unique)
        WritePartKeys(writer, oi);
    WriteGroupMemberships(writer, oi);
    return true;
}

} // namespace

bool WriteInstance(DesignWrite& write, ZR::ObjectInstance& oi, int64_t ownerLuid)
{
    SqlWriter& writer = write.sql;
    // A row refused while this instance and the object it places are written costs the instance
    // (a failed object), not the design; rows of instances inside have been claimed by those.
    const SqlWriter::FailureMark mark = writer.MarkFailures();
    const bool written = WriteInstanceRows(write, oi, ownerLuid);
    if (writer.ClaimFailuresSince(mark) > 0 && written)
        RecordFailedInstance(write.report, oi, "some of its rows were refused");
    return written;
}

bool WriteRootInstance(SqlWriter& writer, int64_t rootLuid, const ZR::CompositeObject& designRoot)
{
    if (!VX_ASSERT_TEXT(designRoot.IsInDB(), "co->IsInDB()") || rootLuid < 0)
        return false;
    const int64_t luid = writer.NewLuid(DUniqueID::NewSequential());
    if (luid < 0)
        return false;
    return writer.BindAndRun(
        writer.GetStatement(WriterStatement::InsertObjectInstance), [&](Sqlite3::Statement& insert) {
            int position = 0;
            insert.Param(position++).BindInt64(luid);
            insert.Param(position++).BindText(designRoot.name.c_str());
            insert.Param(position++).BindInt64(rootLuid);
            insert.Param(position++).BindInt64(designRoot.guid.dbid);
            for (int i = 0; i < 4; ++i)
                insert.Param(position++).BindNull();
            insert.Param(position++).BindInt(0);
            for (int i = 0; i < 6; ++i)
                insert.Param(position++).BindDouble(0.0);
        });
}

bool WriteLibraryObjects(
    DesignWrite& write, int64_t rootLuid, const Array<std::unique_ptr<ZR::ObjectInstance>>& components)
{
    const ZR::PropertyKey key = ZR::MakePropertyKey(kImportTemplateName, ZR::PROPERTY_TYPE_IMPORT_TEMPLATE);
    std::vector<std::string> libraryNames;
    for (const std::unique_ptr<ZR::ObjectInstance>& oi : components) {
        if (!oi)
            continue;
        ZR::CompositeObject* target = oi->object;
        if (target && !target->data.properties.FindText(key)) {
            target->data.properties.SetText(key, kImportTemplateValue);
            if (target->IsInDB()) {
                ZR::PropertySet release;
                release.SetText(key, kImportTemplateValue);
                WriteProperties(write.sql, write.report, release, target->guid.dbid, target->name.c_str());
            }
            libraryNames.emplace_back(target->name.c_str());
        }
        WriteInstance(write, *oi, rootLuid);
        if (write.report.StepProgressAndCheckCancel())
            return false;
    }
    write.report.WriteLogLine(kLogLibraryObjects);
    for (const std::string& name : libraryNames)
        write.report.WriteLogLine(name.c_str());
    return true;
}

} // namespace vx
