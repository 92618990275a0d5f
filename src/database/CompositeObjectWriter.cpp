#include "database/CompositeObjectWriter.h"

#include "database/PropertyWriter.h"
#include "database/RecordBinding.h"
#include "database/StatementTexts.h"

#include "base/Assert.h"

namespace vx {

namespace {

constexpr const char* INSERT_STRETCHABLE_INFO
    = "INSERT INTO StretchableInfo (object_luid,min_size,max_size,template_size,type) "
      "VALUES (?,?,?,1,?);";

bool IsWritable(const ZR::CompositeObject& co)
{
    const ZR::CompositeObjectData& data = co.data;
    if (data.Lod == ZR::CompositeObjectData::lInvalid)
        return false;
    if (data.Components.IsEmpty() && data.Model.pairs.IsEmpty())
        return false;
    return data.Aabb.valid;
}

// The CompositeObjects row; returns its row id, or -1 when it was not inserted.
int64_t InsertObjectRow(SqlWriter& writer, const ZR::CompositeObject& co)
{
    const ZR::CompositeObjectData& data = co.data;
    const int64_t luid = writer.NewLuid(co.guid);
    if (luid < 0)
        return -1;
    Sqlite3::Statement insert = writer.GetDatabase().Prepare(INSERT_COMPOSITE_OBJECT);
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
    VX_ASSERT_TEXT(data.Lod != ZR::CompositeObjectData::lInvalid,
        "co->data.Lod != ZR::CompositeObjectData::lInvalid");
    insert.Param(position++).BindInt(data.Lod);
    // A failed insert must not take the row id of an earlier record.
    return writer.Run(insert) ? writer.LastInsertRowid() : -1;
}

void InsertStretchableInfo(SqlWriter& writer, const ZR::CompositeObject& co)
{
    Sqlite3::Statement insert = writer.GetDatabase().Prepare(INSERT_STRETCHABLE_INFO);
    insert.Param(0).BindInt64(co.guid.dbid);
    insert.Param(1).BindDouble(co.data.minSize);
    insert.Param(2).BindDouble(co.data.maxSize);
    insert.Param(3).BindInt(co.data.stretchType);
    writer.Run(insert);
}

} // namespace

bool WriteCompositeObject(SqlWriter& writer, ZR::CompositeObject& co)
{
    if (co.IsInDB())
        return true;
    if (!IsWritable(co))
        return false;
    // The object's own geometry is written here once the geometry writer exists.
    const int64_t dbid = InsertObjectRow(writer, co);
    if (dbid < 0)
        return false;
    co.guid.dbid = dbid;
    if (co.data.stretchType != ZR::CompositeObjectData::STRETCH_NONE)
        InsertStretchableInfo(writer, co);
    WriteProperties(writer, co.data.properties, dbid);
    // Categories and the instances of Components are written here once their writers exist.
    return true;
}

} // namespace vx
