#include "design/PlacementTransform.h"

#include "base/Numeric.h"

namespace ZR {

namespace {

// A row whose length differs from 1 by a near-zero amount carries no scale.
bool HasUnitLength(const vx::Vector3& row)
{
    return vx::_feqz(static_cast<double>(vx::Length(row) - 1.0L));
}

} // namespace

void PlacementTransform::Set(const vx::Transform& t)
{
    rows = t.rows;
    position = t.position;
    flags = 0;
    if (!(position == vx::Vector3 {}))
        flags |= POSITION_FLAG;
    if (!(rows == vx::Rotation {}))
        flags |= ROWS_FLAG;
    if (!HasUnitLength(rows.R0) || !HasUnitLength(rows.R1) || !HasUnitLength(rows.R2))
        flags |= SCALE_FLAG;
}

} // namespace ZR
