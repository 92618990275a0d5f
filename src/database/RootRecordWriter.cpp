#include "database/RootRecordWriter.h"

#include "database/RecordBinding.h"

#include "base/Assert.h"

#include <cmath>

namespace vx {

namespace {

// The columns from geometry_luid to traceable.
constexpr int NULL_COLUMNS_OF_ROOT = 13;

} // namespace

Vector3 RootCameraPosition(const ZR::Aabb& box)
{
    const Vector3 lo {box.min.x, box.min.z, box.min.y};
    const Vector3 hi {box.max.x, box.max.z, box.max.y};
    const Vector3 centre = (hi + lo) * 0.5f;
    const Vector3 size = hi - lo;
    const float halfFieldOfView = 0.5235988f;
    const float distance = size.y / 2.0f + (size.z * 0.5f * 1.1f) / std::tan(halfFieldOfView) + 0.1f;
    return {centre.x, centre.y - distance, centre.z};
}

int64_t WriteDatabaseRoot(SqlWriter& writer, const char* name, const ZR::Aabb& box, bool withCamera)
{
    const int64_t designRootLuid = writer.NewLuid(DUniqueID::NewSequential());
    // Without its identifier the record has no rows: a NULL luid would make SQLite pick one.
    if (!VX_ASSERT_TEXT(designRootLuid > 0, "designRootLuid>0"))
        return designRootLuid;

    writer.BindAndRun(
        writer.GetStatement(WriterStatement::InsertCompositeObject), [&](Sqlite3::Statement& object) {
            int position = 0;
            object.Param(position++).BindInt64(designRootLuid);
            object.Param(position++).BindText(name);
            if (withCamera) {
                BindBox(object, position, box);
            } else {
                for (int i = 0; i < 6; ++i)
                    object.Param(position++).BindDouble(0.0);
            }
            for (int i = 0; i < NULL_COLUMNS_OF_ROOT; ++i)
                object.Param(position++).BindNull();
            object.Param(position++).BindInt(0);
        });

    writer.BindAndRun(writer.GetStatement(WriterStatement::InsertRoot), [&](Sqlite3::Statement& root) {
        root.Param(0).BindInt64(designRootLuid);
        root.Param(1).BindNull();
        if (withCamera) {
            const Vector3 camera = RootCameraPosition(box);
            root.Param(2).BindDouble(RoundLength(camera.x));
            root.Param(3).BindDouble(RoundLength(camera.y));
            root.Param(4).BindDouble(RoundLength(camera.z));
            root.Param(5).BindInt(0);
            root.Param(6).BindInt(0);
        } else {
            for (int i = 2; i <= 6; ++i)
                root.Param(i).BindNull();
        }
    });
    return designRootLuid;
}

} // namespace vx
