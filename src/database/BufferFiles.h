#pragma once
// The buffer files a model description names: each pair's vertices interleaved and its indices,
// written as Files rows of the geometry.

#include "database/DesignWrite.h"
#include "database/ModelDescription.h"
#include "database/SqlWriter.h"
#include "design/Model.h"

#include <cstdint>

namespace vx {

// Stores geometryLuid as model.geomid and writes, as Files rows of that geometry, each pair's
// vertex buffer file (interleaved channels 1-15) and index buffer file (16-bit indices), each name
// once per geometry (written tracks them for the run). Must follow BuildModelDescription of the
// same model. Returns false when a file could not be written (reported to the debugger output) or
// geometryLuid is below 0 (nothing written).
bool WriteBufferFiles(SqlWriter& writer, ZR::Model& model, int64_t geometryLuid,
    const ModelDescriptionOptions& options, WrittenFiles& written);

} // namespace vx
