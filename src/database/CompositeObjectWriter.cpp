#include "database/CompositeObjectWriter.h"

#include "database/CategoryWriter.h"
#include "database/GeometryWriter.h"
#include "database/InstanceWriter.h"
#include "database/PropertyWriter.h"
#include "database/RecordBinding.h"

#include "base/Assert.h"

namespace vx {

namespace {

bool IsWritable(const ZR::CompositeObject& co)
{
    const ZR::CompositeObjectData& data = co.data;
    if (data.Lod == ZR::CompositeObjectData::lInvalid)
        return false;
    if (data.Components.IsEmpty() && data.Model.pairs.IsEmpty())
        return false;
    return data.Aabb.valid;
}

void BindObjectRow(Sqlite3::Statement& insert, const ZR::CompositeObject& co, int64_t luid)
{
    const ZR::CompositeObjectData& data = co.data;
    int position = 0;
    insert.Param(position++).BindInt64(luid);
    insert.Param(position++).BindText(co.name.c_str());
    BindBox(insert, position, data.Aabb);
    if (data.Model.geomid < 0) {
        insert.Param(position++).BindNull();
        BindNullPlacement(insert, position);
    } else {
        insert.Param(position++).BindInt64(data.Model.geomid);
        BindPlacement(insert, position, data.placement);
    }
    insert.Param(position++).BindInt(data.explode ? 1 : 0);
    if (data.chain != 0)
        insert.Param(position++).BindInt(data.chain);
    else
        insert.Param(position++).BindNull();
    if (data.traceableFlag)
        insert.Param(position++).BindInt(data.traceable);
    else
        insert.Param(position++).BindNull();
    VX_ASSERT_TEXT(
        data.Lod != ZR::CompositeObjectData::lInvalid, "co->data.Lod != ZR::CompositeObjectData::lInvalid");
    insert.Param(position++).BindInt(data.Lod);
}

// The CompositeObjects row; returns its row id, or -1 when it was not inserted.
int64_t InsertObjectRow(SqlWriter& writer, const ZR::CompositeObject& co)
{
    const int64_t luid = writer.NewLuid(co.guid);
    if (luid < 0)
        return -1;
    const bool inserted = writer.BindAndRun(writer.GetStatement(WriterStatement::InsertCompositeObject),
        [&](Sqlite3::Statement& insert) { BindObjectRow(insert, co, luid); });
    // A failed insert must not take the row id of an earlier record.
    return inserted ? writer.LastInsertRowid() : -1;
}

void InsertStretchableInfo(SqlWriter& writer, const ZR::CompositeObject& co)
{
    writer.BindAndRun(
        writer.GetStatement(WriterStatement::InsertStretchableInfo), [&](Sqlite3::Statement& insert) {
            insert.Param(0).BindInt64(co.guid.dbid);
            insert.Param(1).BindDouble(co.data.minSize);
            insert.Param(2).BindDouble(co.data.maxSize);
            insert.Param(3).BindInt(co.data.stretchType);
        });
}

void WriteCategories(SqlWriter& writer, const ZR::CompositeObject& co)
{
    for (ZR::Category* category : co.data.categories) {
        if (!VX_ASSERT_TEXT(category, "category"))
            continue;
        const int64_t id = WriteCategory(writer, *category);
        if (id < 0)
            continue;
        writer.BindAndRun(
            writer.GetStatement(WriterStatement::InsertObjectCategory), [&](Sqlite3::Statement& insert) {
                insert.Param(0).BindInt64(co.guid.dbid);
                insert.Param(1).BindInt64(id);
            });
    }
}

// The instances of co, depth first; co is marked as being written meanwhile so that an instance
// that leads back to it is refused.
void WriteComponents(DesignWrite& write, ZR::CompositeObject& co, bool progress)
{
    auto& inProgress = write.sql.WriteState().inProgress;
    inProgress.insert(&co);
    for (const std::unique_ptr<ZR::ObjectInstance>& oi : co.data.Components) {
        if (oi)
            WriteInstance(write, *oi, co.guid.dbid);
        if (progress && write.report.StepProgressAndCheckCancel())
            break;
    }
    inProgress.erase(&co);
}

} // namespace

bool WriteCompositeObject(DesignWrite& write, ZR::CompositeObject& co, bool progress, bool unique)
{
    SqlWriter& writer = write.sql;
    if (co.IsInDB())
        return true;
    if (!IsWritable(co))
        return false;
    if (!co.data.Model.pairs.IsEmpty() && co.data.Model.geomid < 0 && WriteGeometry(write, co, unique) < 0)
        return false;
    const int64_t dbid = InsertObjectRow(writer, co);
    if (dbid < 0)
        return false;
    co.guid.dbid = dbid;
    if (co.data.stretchType != ZR::CompositeObjectData::STRETCH_NONE)
        InsertStretchableInfo(writer, co);
    WriteProperties(writer, write.report, co.data.properties, dbid, co.name.c_str());
    WriteCategories(writer, co);
    WriteComponents(write, co, progress);
    return true;
}

} // namespace vx
