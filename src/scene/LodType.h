#pragma once
// The level-of-detail type of a composite object, from the run's option, its node's properties and
// its bounding box.

#include "design/Aabb.h"

#include <cstdint>

namespace vx {

class NodeProperty;

// The level-of-detail type: lodType when it is 0, 1 or 2; otherwise, when properties has a
// "ZRLODType" line, its rest compared without regard to case ("background" 0, "occluder" 1,
// "detail" 2, "invalid" -1, anything else 2); otherwise from a valid box (2 when two extents are
// below 0.1, else 0 for a diagonal above 6, 1 above 1, 2 otherwise); otherwise 0. properties may be
// null.
int32_t GetLodType(int32_t lodType, const NodeProperty* properties, const ZR::Aabb& box);

} // namespace vx
