#pragma once
// SourceBox: the bounding box of a model pair's source object in host axes and host units. A new box
// is empty (its minimum lies above its maximum).

#include "base/Vector3.h"

#include <cfloat>

namespace ZR {

struct SourceBox {
    vx::Vector3 min {FLT_MAX, FLT_MAX, FLT_MAX};
    vx::Vector3 max {-FLT_MAX, -FLT_MAX, -FLT_MAX};

    // True when the minimum lies above the maximum in some axis.
    bool IsEmpty() const { return min.x > max.x || min.y > max.y || min.z > max.z; }
};

} // namespace ZR
