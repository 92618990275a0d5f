#pragma once
// The own geometry of a composite object: one Geometries row per distinct model description text,
// with the vertex and index buffer files the text names.

#include "database/DesignWrite.h"

#include "design/CompositeObject.h"

#include <cstdint>

namespace vx {

// Writes the geometry of co's Model, or lets co share one written before, and returns the geometry
// row (also stored as co.data.Model.geomid); -1 when no geometry could be written.
// The text is the model description (BuildModelDescription, its textures stored as it names them); its
// identifier is FromName of the text. Without unique, a geometry written earlier in the run with the same
// identifier and the same text (compared whole) is shared and nothing is written. Otherwise one Geometries
// row (luid of the identifier, co's name, the text) and the buffer files (WriteBufferFiles) are written. The
// identifier is replaced by a new sequential one when a row carries it already (unique, or a
// different text with the same identifier). A geometry written with unique (a part's) is never
// shared by later objects.
// co must have pairs and no geometry yet ("co->data.Model.geomid < 0",
// "!co->data.Model.pairs.IsEmpty()"); a violation is reported and -1 (or the geometry it has)
// returned. A refused Guids or Geometries insert is reported and gives -1, nothing shared.
int64_t WriteGeometry(DesignWrite& write, ZR::CompositeObject& co, bool unique);

} // namespace vx
