#pragma once
// A geometry row made whole: its model description read, its buffer files found and decoded, and
// every disagreement between the text and the files listed.

#include "vxinfo/DesignContent.h"
#include "vxinfo/ModelText.h"
#include "vxinfo/ReadOnlyDatabase.h"

#include <array>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace vxinfo {

// The Files rows of a design by (geometry luid, file name); the first row where a name repeats.
using FileIndex = std::map<std::pair<Luid, std::string>, const FileRow*>;

// Builds the index of content.files (which must outlive it).
FileIndex IndexFiles(const DesignContent& content);

// One drawable subset: a triangle list with its vertices.
struct DecodedSubset {
    std::vector<std::array<float, 3>> positions;
    std::vector<std::array<float, 3>> normals; // empty or one per position
    std::vector<std::array<float, 2>> texCoords; // empty or one per position
    std::vector<uint32_t> indices; // three per triangle, each < positions.size()
    int64_t material = -1; // index into the model's materials, -1 when none is valid
};

struct DecodedGeometry {
    Luid luid = 0;
    bool modelParsed = false;
    ModelDescription model;
    std::vector<DecodedSubset> subsets; // the sound triangle-list subsets only
    int64_t triangles = 0;
    // What is wrong with the geometry, one line each, without the geometry's name.
    std::vector<std::string> problems;
};

// Reads geometry's model text and buffer files (found in files under the geometry's luid) and
// decodes its triangle-list subsets. Never fails: a subset whose files are missing, of the wrong
// size, with indices out of range or with non-finite coordinates is left out and its fault is
// listed in problems. Subsets of other primitive types are left out silently.
DecodedGeometry DecodeGeometry(
    const ReadOnlyDatabase& db, const GeometryRow& geometry, const FileIndex& files);

} // namespace vxinfo
