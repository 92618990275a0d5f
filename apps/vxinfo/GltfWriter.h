#pragma once
// A design database as a glTF 2.0 binary (GLB): the instances as nodes under one root node, each
// geometry as one mesh (shared by every object that uses it), the materials' colours and the stored
// textures embedded as images.

#include "vxinfo/DesignContent.h"
#include "vxinfo/ReadOnlyDatabase.h"

#include <string>

namespace vxinfo {

struct GltfStats {
    int64_t nodes = 0, meshes = 0, materials = 0, images = 0;
};

// The GLB file of the design in db (rows in content). Node matrices are the stored placements
// (PlacementTransform: instances on their nodes, geometry placements with their scale on the mesh
// nodes); the root node turns the database's frame (z up) into glTF's: (x, y, z) -> (x, z, -y).
// Geometries whose model or buffers are unsound are left out (their meshes are empty and not
// referenced); textures that are not PNG or JPEG are converted to PNG, and left out when they cannot
// be decoded. stats, when given, receives the counts. Never fails.
std::string BuildGlb(const ReadOnlyDatabase& db, const DesignContent& content, GltfStats* stats = nullptr);

} // namespace vxinfo
