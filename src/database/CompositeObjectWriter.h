#pragma once
// Writes a composite object of the design: its CompositeObjects row, its stretch limits and its
// properties.

#include "database/SqlWriter.h"

#include "design/CompositeObject.h"

namespace vx {

// Writes co unless it is written already, its Lod is lInvalid, it has neither components nor model
// pairs, or its box is not valid (nothing is written then). The row holds the box (BindBox), the
// geometry (NULL and nine NULL placement values while co has no written geometry, else its
// geometry id and placement), explode, chain (NULL for 0), traceable (NULL unless its flag is set)
// and the Lod. On success co.guid.dbid is the new row id, then the StretchableInfo row (unless the
// stretch type is STRETCH_NONE) and the properties (WriteProperties) follow. When the identifier
// or the row cannot be inserted (reported), co stays unwritten and nothing more is written for it.
// Returns whether co is written now; after Close nothing is written and the result is false.
bool WriteCompositeObject(SqlWriter& writer, ZR::CompositeObject& co);

} // namespace vx
