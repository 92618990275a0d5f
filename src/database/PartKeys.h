#pragma once
// Part keys: an instance marked as a part ("VNXPart") gets a geometry of its own, and that
// geometry a property naming the part and where the instance places it.

#include "database/SqlWriter.h"

#include "design/ObjectInstance.h"

#include <string>

namespace vx {

// Whether the instance's Texts map has an entry named "VNXPart" (any type).
bool HasPartProperty(const ZR::ObjectInstance& oi);

// The part key "N[<part>]##P[<x> <y> <z>]##R[<az> <el> <tw>]": the part name, the instance's
// position in database axes (x, z, y) and its angles (negated degrees rounded to 0.1), numbers in
// the "%g" form. The name is kept whole.
std::string PartKeyText(const std::string& partName, const ZR::Placement& placement);

// For the first "VNXPart" entry of oi's Texts map, writes one Properties row on the geometry of
// oi's target (luid = the target's Model.geomid, the entry's dictionary luid, the part key with the
// entry's text as part name, or the instance's name when the text is empty). Nothing is written when
// the target is null, was not made from a geometry node, or has no written geometry.
void WritePartKeys(SqlWriter& writer, const ZR::ObjectInstance& oi);

} // namespace vx
