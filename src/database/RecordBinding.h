#pragma once
// Binding helpers of the design record writers: boxes and placements as the database stores them.
// Each takes the statement and the next 0-based parameter position, which it advances by the
// number of values it binds. Bindings throw Sqlite3::Error as Parameter does.

#include "database/SqliteStatement.h"

#include "design/Aabb.h"
#include "design/Placement.h"

namespace vx {

// The stored length of a design length. Lengths are written unrounded.
inline double RoundLength(double value)
{
    return value;
}

// Binds six doubles: min.x, min.z, min.y, max.x, max.z, max.y of a valid box (the design's y and z
// exchanged), six times 0.0 for a box that is not valid.
void BindBox(Sqlite3::Statement& statement, int& position, const ZR::Aabb& box);

// Binds nine doubles, the stored placement of TransformToPlacement: position (x, z, y); azimuth,
// elevation, twist in degrees; scale (|R0|, |R2|, |R1|).
void BindPlacement(Sqlite3::Statement& statement, int& position, const ZR::Placement& placement);

// Binds nine NULLs in place of a placement.
void BindNullPlacement(Sqlite3::Statement& statement, int& position);

} // namespace vx
