#pragma once
// What the node conversion asks of the geometry layer: a node's meshes as triangle lists, one per
// material, and the attachment of such a piece to a composite object's model.

#include "geometry/GeometryPair.h"

#include "base/Array.h"
#include "base/Transform.h"

namespace ZR {
struct Model;
}

namespace vx {

class HostNode;
class VMVertexData;
class VMRenderState;

// Converts the geometry of node (at time 0, in the design frame, relative to the node's pivot)
// and appends one pair per material piece to destination, in the order made. Appends nothing when
// the node has no usable mesh or no faces.
void ConvertNodeGeometry(HostNode& node, Array<GeometryPair>& destination);

// Adds a pair made of vertexData and renderState to model, with the vertices moved by transform.
// Pieces with an unsupported vertex layout, a missing state or data, or a fully transparent
// material attach nothing; equal render states and vertex data are shared within the run.
// When vertexData is the only reference to its data (the caller moved its reference in), that data
// is transformed and kept; otherwise a copy is, and the caller's data stays as it was.
void AttachVertexData(
    ZR::Model& model, VMRef<VMVertexData> vertexData, VMRenderState* renderState, const Transform& transform);

} // namespace vx
