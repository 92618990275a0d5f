#pragma once
// Aabb: the axis-aligned bounding box of a composite object (or of an instance) in its own
// coordinates. A new box is not valid; the box computation fills it and sets valid.

#include "base/Vector3.h"

namespace ZR {

struct Aabb {
    vx::Vector3 min;
    vx::Vector3 max;
    bool valid = false;
};

} // namespace ZR
