#include "database/RecordBinding.h"

#include "base/Placement.h"

namespace vx {

namespace {

void BindNext(Sqlite3::Statement& statement, int& position, double value)
{
    statement.Param(position++).BindDouble(value);
}

} // namespace

void BindBox(Sqlite3::Statement& statement, int& position, const ZR::Aabb& box)
{
    if (!box.valid) {
        for (int i = 0; i < 6; ++i)
            BindNext(statement, position, 0.0);
        return;
    }
    BindNext(statement, position, RoundLength(box.min.x));
    BindNext(statement, position, RoundLength(box.min.z));
    BindNext(statement, position, RoundLength(box.min.y));
    BindNext(statement, position, RoundLength(box.max.x));
    BindNext(statement, position, RoundLength(box.max.z));
    BindNext(statement, position, RoundLength(box.max.y));
}

void BindPlacement(Sqlite3::Statement& statement, int& position, const ZR::Placement& placement)
{
    const PlacementAndSizes stored = TransformToPlacement(placement.matrix, placement.position);
    BindNext(statement, position, RoundLength(stored.placement.x));
    BindNext(statement, position, RoundLength(stored.placement.y));
    BindNext(statement, position, RoundLength(stored.placement.z));
    BindNext(statement, position, stored.placement.azimuth);
    BindNext(statement, position, stored.placement.elevation);
    BindNext(statement, position, stored.placement.twist);
    BindNext(statement, position, RoundLength(stored.sizes.x));
    BindNext(statement, position, RoundLength(stored.sizes.y));
    BindNext(statement, position, RoundLength(stored.sizes.z));
}

void BindNullPlacement(Sqlite3::Statement& statement, int& position)
{
    for (int i = 0; i < 9; ++i)
        statement.Param(position++).BindNull();
}

} // namespace vx
