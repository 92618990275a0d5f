#pragma once
// Writes a composite object of the design: its geometry, its CompositeObjects row, its stretch
// limits, its properties and categories, and then its instances depth first.

#include "database/DesignWrite.h"

#include "design/CompositeObject.h"

namespace vx {

// Writes co unless it is written already, its Lod is lInvalid, it has neither components nor model
// pairs, or its box is not valid (nothing is written then). Model pairs without a written geometry
// are written first (WriteGeometry with unique); when that fails co is not written. The row holds
// the box (BindBox), the
// geometry (NULL and nine NULL placement values while co has no written geometry, else its
// geometry id and placement), explode, chain (NULL for 0), traceable (NULL unless its flag is set)
// and the Lod. On success co.guid.dbid is the new row id, then the StretchableInfo row (unless the
// stretch type is STRETCH_NONE), the properties (WriteProperties), one ObjectCategories row per
// category (WriteCategory; a category without id gets none) and the instances of Components in
// order (WriteInstance) follow. With progress, the run's progress steps after each instance and the
// writing stops at once when the host reports that the user cancelled. When the identifier or the
// row cannot be inserted (reported), co stays unwritten and nothing more is written for it.
// Returns whether co is written now; after Close nothing is written and the result is false.
bool WriteCompositeObject(
    DesignWrite& write, ZR::CompositeObject& co, bool progress = false, bool unique = false);

} // namespace vx
