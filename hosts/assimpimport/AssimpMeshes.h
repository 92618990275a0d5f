#pragma once
// The meshes of an imported node as one host triangle mesh.

#include "memoryhost/MemoryMesh.h"

#include <assimp/mesh.h>

#include <cstdint>
#include <memory>
#include <vector>

namespace vx {

// One Assimp mesh of an object: the material id its faces get, and the texture coordinate sets it
// keeps (Assimp set numbers, becoming the host map channels 1 and 2 in this order).
struct AssimpMeshPart {
    const aiMesh* mesh = nullptr;
    std::uint16_t materialId = 0;
    std::vector<unsigned> uvSets;
};

// The triangles of parts as one mesh: vertices and faces one part after the other, faces with
// their part's material id, the file's normals as explicit normals (when any part has none, the
// faces get smoothing group 1 and the host builds the normals), and map channels 1 and 2 from the
// kept coordinate sets (zero where a part lacks one; a channel no part has is left out). Points
// and lines are left out. Throws std::runtime_error for a vertex or normal that is not finite or
// a mesh over the host's 2^31 vertices or faces.
std::unique_ptr<MemoryMesh> BuildMesh(const std::vector<AssimpMeshPart>& parts);

} // namespace vx
