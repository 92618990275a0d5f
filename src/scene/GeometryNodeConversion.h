#pragma once
// The conversion of a geometry node into the design.

#include "host/HostMath.h"

namespace ZR {
struct CompositeObject;
}

namespace vx {

class StrongNode;

// Converts node (node transform, in the frame of parentTransform) into target. Marks the design
// root's box as not valid first.
// - Per-object (single false): the node's composite object (GetNodeComposite, own object) placed in
//   target by an instance; nothing when the user cancelled.
// - Single (true): the node's meshes are merged into the goal - target in the frame
//   parentTransform, or with "VNXPart" the composite object of that part in the frame of the
//   instance that places it (made and placed in target for the first node of the part). In a
//   single-object export each piece keeps its rigid placement and the vertices take scale and
//   mirror; otherwise the vertices take everything. Then the children are merged into the same
//   goal in its frame, stopping on cancellation, and a part's box is computed again.
// copy: when the node is converted as a template for a copy, the copy, whose name and lines its
// instance takes (per-object only); null otherwise.
void ConvertGeometryNode(StrongNode& node, ZR::CompositeObject* target, bool single,
    const HostMatrix3& nodeTransform, const HostMatrix3& parentTransform, const StrongNode* copy = nullptr);

} // namespace vx
