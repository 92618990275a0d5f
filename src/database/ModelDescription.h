#pragma once
// The model description of a composite object's own geometry: the XML-like text of its vertex
// buffers, index buffers, materials and subsets, and the vertex and index buffer files that text
// names, written as Files rows of the geometry.

#include "database/SqlWriter.h"
#include "design/Model.h"

#include <cstdint>
#include <set>
#include <string>
#include <utility>

namespace vx {

// The run values the text and the file names depend on.
struct ModelDescriptionOptions {
    // Content-only file names ("0x<crc>.vtx") when true; names numbered per pair otherwise.
    bool singleObjectActive = true;
    // Metres per host unit, for the source box attributes.
    float scaleFactor = 0.001f;
};

// The options of the current run: singleObjectActive of CurrentExporter() and scaleFactor of
// CurrentSceneContext(); the defaults above for whichever is absent.
ModelDescriptionOptions CurrentModelDescriptionOptions();

// The buffer files already written in a run, keyed by (geometry row, file name) kept apart.
class WrittenFiles {
public:
    // Adds (geometry, name); returns false when it was already present.
    bool Add(int64_t geometry, const std::string& name) { return keys_.emplace(geometry, name).second; }
    bool Contains(int64_t geometry, const std::string& name) const
    {
        return keys_.count({geometry, name}) != 0;
    }
    void Clear() { keys_.clear(); }

private:
    std::set<std::pair<int64_t, std::string>> keys_;
};

// The written-files table of the current run, owned by CurrentSceneContext() and destroyed with
// it; a process-wide table when no context exists (tests, tools).
WrittenFiles& CurrentWrittenFiles();

// The model description text of model; empty when it has no pairs, or when a placement, size or
// colour it would hold is not finite (reported to the debugger output). Names the pairs' buffer files
// (vertexFile, indexFile, when empty) and numbers render states and vertex data in their Tag
// fields. A pair whose index list equals an earlier pair's takes that pair's index file and
// buffer number; no vertex data is changed. Names and texture names are escaped, never cut.
std::string WriteModelDescription(ZR::Model& model, const ModelDescriptionOptions& options);
// The same with CurrentModelDescriptionOptions().
std::string WriteModelDescription(ZR::Model& model);

// Stores geometryLuid as model.geomid and writes, as Files rows of that geometry, each pair's
// vertex buffer file (interleaved channels 1-15) and index buffer file (16-bit indices), each name
// once per geometry (written tracks them for the run). Must follow WriteModelDescription of the
// same model. Returns false when a file could not be written (reported to the debugger output) or
// geometryLuid is below 0 (nothing written).
bool WriteBufferFiles(SqlWriter& writer, ZR::Model& model, int64_t geometryLuid,
    const ModelDescriptionOptions& options, WrittenFiles& written);
// The same with CurrentModelDescriptionOptions() and CurrentWrittenFiles().
bool WriteBufferFiles(SqlWriter& writer, ZR::Model& model, int64_t geometryLuid);

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
