#pragma once
// Sharing of equal composite objects in per-object mode: distinct targets that would write the same
// rows are written once and placed by every instance of any of them.

#include "database/DesignWriteState.h"

#include "design/CompositeObject.h"

namespace vx {

// Whether a and b write the same object: the same identifier; or, component by component, the same
// model pairs (vertex data, material and pair transform), properties, stretch type and limits, Lod,
// explode, chain, traceable value and geometry placement, and the same components: both absent, or
// sizes within a near-zero amount, equal positions, rows within a near-zero amount per value, equal
// flags, chain, properties and groups, and equal targets (compared the same way). A comparison that
// comes back to a pair it is already comparing (a cycle in the design) gives false. Null objects are
// equal only to each other.
bool AreEqualObjects(const ZR::CompositeObject* a, const ZR::CompositeObject* b);

// The object to write in place of object: the list entry it was resolved to before, else the first
// list entry equal to it (remembered), else object itself, which joins the list. A null object gives
// null.
ZR::CompositeObject* ShareEqualObject(SharingList& list, ZR::CompositeObject* object);

} // namespace vx
