#pragma once
// The design root: the composite object every exported object hangs under, named after the target.

#include "design/Design.h"

#include <cstdint>
#include <string>

namespace vx {

// The design name of a target path: its file title, and of that the file title again (the target
// "plan.final.vx" gives "plan"); "- no name -" when the first title is empty (a file named ".vx").
std::string DesignNameOf(const std::string& targetPath);

// The level-of-detail type of an object without node properties: lodType when it is 0, 1 or 2;
// otherwise from its box when valid (2 when two extents are below 0.1, else 0 for a diagonal above
// 6, 1 above 1, 2 otherwise), and 0 without a valid box.
int32_t LodTypeWithoutProperties(int32_t lodType, const ZR::Aabb& box);

// Makes the design root in design: a composite object with a new sequential identifier, the valid
// box (-1000, -1000, -1000)..(1000, 1000, 1000), the name (cut to 255 bytes; null counts as
// empty), the Lod of LodTypeWithoutProperties, chain 0, not from a geometry node. It becomes the
// design's root and is returned.
ZR::CompositeObject* CreateDesignRoot(ZR::Design& design, const char* name, int32_t lodType);

} // namespace vx
