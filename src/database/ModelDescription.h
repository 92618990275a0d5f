#pragma once
// The model description of a composite object's own geometry: the XML-like text of its vertex
// buffers, index buffers, materials and subsets, and the names of the buffer files it refers to
// (BufferFiles.h writes them).

#include "database/DesignWrite.h"
#include "database/SqlWriter.h"
#include "design/Model.h"

#include <cstdint>
#include <functional>
#include <string>

namespace vx {

class VMTexture;

// The run values the text and the file names depend on.
struct ModelDescriptionOptions {
    // Content-only file names ("0x<crc>.vtx") when true; names numbered per pair otherwise.
    bool singleObjectActive = true;
    // Metres per host unit, for the source box attributes.
    float scaleFactor = 0.001f;
};

// Gives the name a stage's texture is stored under ("" leaves the stage out). The export stores
// the image as it names it (StoreTexture); a description made outside a database names textures
// as recorded.
using TextureNamer = std::function<std::string(VMTexture& texture)>;

// The texture's own name: how a description outside a database names it.
std::string NameTextureAsRecorded(VMTexture& texture);

// The model description text of model; empty when it has no pairs, or when a placement, size or
// colour it would hold is not finite (reported to the debugger output). Names the pairs' buffer files
// (vertexFile, indexFile, when empty) and numbers render states and vertex data in their Tag
// fields. A pair whose index list equals an earlier pair's takes that pair's index file and
// buffer number; no vertex data is changed. Names and texture names are escaped, never cut.
// nameTexture is asked for each stage texture of the materials written, in the order they appear.
std::string BuildModelDescription(
    ZR::Model& model, const ModelDescriptionOptions& options, const TextureNamer& nameTexture);

// Buffer file names: CRC-32 of channels 1-15 (vertex) or channel 0 (index), printed "0x%08X", as
// "<crc>.vtx" / "<crc>.idx" in single-object mode and "<n><8 hex digits>.vtx" / "0x<crc>_<n>.idx"
// otherwise.
std::string VertexFileName(const VMVertexData& vd, long n, bool singleObjectActive);
std::string IndexFileName(const VMVertexData& vd, long n, bool singleObjectActive);

// value printed with "%#f", trailing zeros and then a trailing '.' removed.
std::string FormatFloat(double value);

// text with &, <, >, ' and " replaced by their XML entities.
std::string EscapeModelText(const std::string& text);

} // namespace vx
