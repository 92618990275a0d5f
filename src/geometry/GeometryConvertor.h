#pragma once
// GeometryConvertor: the geometry of one host node as triangle lists, one per material piece, in
// the design frame (metres, y and z exchanged, relative to the node's pivot), at time 0.

#include "geometry/GeometryPair.h"

#include "base/Array.h"
#include "toolkit/VMRef.h"
#include "toolkit/VMVertexData.h"

#include <cstdint>
#include <vector>

namespace vx {

class HostMesh;
class HostNode;

class GeometryConvertor {
public:
    static constexpr int FAILED = -1;
    // Meshes with more faces than this are announced as slow.
    static constexpr int COMPLEX_FACE_COUNT = 20000;

    GeometryConvertor();

    // Clears the parts, extracts the node's mesh, builds its vertex data and splits it by
    // material. Returns 0, or FAILED when the node has no usable mesh (reported) or no faces.
    int Convert(HostNode& node);

    // The unindexed triangle list of mesh: face f owns vertices 3f .. 3f + 2 in corner order, with
    // positions (design frame; relative to node's pivot when node is given), normals from the
    // render vertices when withNormals (transformed by the inverse transpose of the position
    // transform, unit length), and texture coordinate sets 0-7 from map channels 1-8 as (u, 1 - v)
    // when withTexCoords. Also records the faces' material identifiers for SplitByMaterial. Null
    // when the mesh has no faces or more than fit a vertex count.
    VMRef<VMVertexData> BuildVertexData(
        HostMesh& mesh, const HostNode* node, bool withNormals, bool withTexCoords);

    // Fills the parts from source: for a multi/sub-object material with d > 1 sub-materials one
    // piece per sub-material i holding the faces whose material identifier modulo d is i (empty
    // pieces included); otherwise one piece with the material's state, or the wire colour's state
    // for a node without material. The material identifiers are those BuildVertexData recorded
    // for source; when they do not match its faces, one piece of sub-material 0 is made and a
    // warning names the node.
    void SplitByMaterial(HostNode& node, VMVertexData& source);

    const Array<GeometryPair>& Parts() const { return parts_; }

private:
    void AppendPiece(VMRef<VMRenderState> state, VMRef<VMVertexData> vertexData);

    Array<GeometryPair> parts_;
    // Material identifier of each face of the last mesh built.
    std::vector<uint16_t> faceMaterialIds_;
};

} // namespace vx
