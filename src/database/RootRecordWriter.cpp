#include "database/RootRecordWriter.h"

#include "database/RecordBinding.h"

#include "base/Assert.h"

#include <cmath>

namespace vx {

namespace {

// The columns from geometry_luid to traceable.
constexpr int NULL_COLUMNS_OF_ROOT = 13;

} // namespace

namespace {

// The camera in the precision of T (float or double).
template <class T> CameraPosition CameraIn(const ZR::Aabb& box)
{
    const T lo[3] = {box.min.x, box.min.z, box.min.y};
    const T hi[3] = {box.max.x, box.max.z, box.max.y};
    const T half = T(0.5f);
    const T halfFieldOfView = T(0.5235988f);
    const T sizeY = hi[1] - lo[1];
    const T sizeZ = hi[2] - lo[2];
    const T distance = sizeY / T(2.0f) + (sizeZ * half * T(1.1f)) / std::tan(halfFieldOfView) + T(0.1f);
    return {(hi[0] + lo[0]) * half, (hi[1] + lo[1]) * half - distance, (hi[2] + lo[2]) * half};
}

} // namespace

CameraPosition RootCameraPosition(const ZR::Aabb& box)
{
    const CameraPosition single = CameraIn<float>(box);
    if (std::isfinite(single.x) && std::isfinite(single.y) && std::isfinite(single.z))
        return single;
    return CameraIn<double>(box);
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
            const CameraPosition camera = RootCameraPosition(box);
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
